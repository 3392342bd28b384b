// The executor: runs one statement of the syntax tree against the catalog.
//
// Errors are thrown as SqlError. A statement is atomic: the executor records
// what it changes in a StatementUndo and rolls it back when the statement
// fails, so a refused statement leaves the database as it was.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "exec/query_memory.h"
#include "parser/ast.h"
#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

// What a statement raises. How far the error reaches (the statement, the
// batch, the transaction) is a property of its number: error_scope().
// Some refusals come as a pair, the second message (4922, 1750, 3727)
// saying that the statement failed because of the first: `followers`.
struct SqlError {
  Error error;
  std::vector<Error> followers;
};

[[noreturn]] void throw_error(int number, std::string message, int severity = 16);
[[noreturn]] void throw_error(const Error& e);

// Per-connection state that outlives a statement.
struct SessionState {
  std::string database;
  SessionSettings settings;
  // The one table of the session with IDENTITY_INSERT ON: database and name.
  std::optional<std::pair<std::string, std::string>> identity_insert;
  std::map<std::string, Value, std::less<>> variables;  // @name, upper-cased
};

// What a statement changed, so that it can be undone when it fails. A
// transaction's undo is a StatementUndo too: it absorbs the undo of each
// statement that completed inside the transaction.
class StatementUndo {
 public:
  // Told of every object a statement is about to change, before it records
  // the change (after it, for a created or dropped object, whose entry then
  // undoes it); throws SqlError to refuse the change. `db` is null when the
  // caller only knows the table.
  using WriteGuard = std::function<void(const Table* table, Database* db, std::string_view name)>;
  void set_guard(WriteGuard guard) { guard_ = std::move(guard); }

  void before_insert(Table* t);                               // rows are appended: remember the count
  void before_change(Table* t);                               // rows updated or deleted: keep a copy
  void before_schema(Table* t);                               // columns or keys change: keep a full copy
  void before_function_change(Database* db, FunctionDef* f);  // grants: keep a copy
  void created_table(Database* db, Table* t);
  void dropped_table(Database* db, std::unique_ptr<Table> t);
  void created_function(Database* db, FunctionDef* f);
  void dropped_function(Database* db, std::unique_ptr<FunctionDef> f);
  // Takes over the entries of a later statement, dropping those that an
  // entry held here already covers (it restores an older state).
  void absorb(StatementUndo&& later);
  void rollback();
  void discard() { entries_.clear(); }  // the changes stay
  bool empty() const { return entries_.empty(); }
  // True when the statement left every object as it found it: no entries,
  // or only insert entries of tables that did not grow (INSERT ... SELECT of
  // no rows). Valid right after the statement, before it is absorbed.
  bool changed_nothing() const;

 private:
  struct Entry {
    enum class Kind { Insert, Change, Schema, FunctionChange, CreateTable, DropTable, CreateFunction, DropFunction };
    explicit Entry(Kind k) : kind(k) {}
    Kind kind;
    Database* db = nullptr;
    Table* table = nullptr;
    size_t row_count = 0;
    std::vector<Row> rows;
    std::unique_ptr<Table> copy;
    FunctionDef* function = nullptr;
    std::unique_ptr<FunctionDef> function_copy;
  };
  Entry* find(Table* t, Entry::Kind kind);
  bool covers(const Entry& later);
  void guard(const Table* t, Database* db, std::string_view name) {
    if (guard_) guard_(t, db, name);
  }
  std::vector<Entry> entries_;
  WriteGuard guard_;
};

// A relation produced by a FROM item or a catalog view: column names and
// types and the rows (owned here, or borrowed from a base table).
struct Relation {
  std::string name;  // table name, for t.column without alias
  std::string alias;
  std::vector<std::string> column_names;
  std::vector<TypeInfo> column_types;
  const std::vector<Row>* rows = nullptr;  // borrowed or &owned
  std::vector<Row> owned;
  Table* table = nullptr;  // base table, when it is one
};

// Name resolution scope of one query level.
struct Scope {
  std::vector<Relation*> sources;
  const Scope* outer = nullptr;
};

struct GroupState;

// The current row of each source of a query level, and the enclosing levels.
struct Frame {
  const std::vector<const Row*>* rows = nullptr;
  const Frame* outer = nullptr;
  const GroupState* group = nullptr;
  const Scope* scope = nullptr;  // the names `rows` answer to
};

struct GroupState {
  std::vector<Value> aggregates;
};

using Tuple = std::vector<const Row*>;

// The FROM clause of one query level after WHERE: its sources and the
// tuples (one row pointer per source; null for the missing side of a LEFT
// JOIN) that passed.
struct FromResult {
  std::vector<std::unique_ptr<Relation>> relations;
  Scope scope;
  std::vector<Tuple> tuples;
  MemoryReservation reservation;  // what the tuples hold of the statement's memory
};

class TransactionControl;

class Executor {
 public:
  Executor(Catalog& catalog, SessionState& session, const EvalContext& ctx, StatementUndo& undo)
      : catalog_(catalog), session_(session), ctx_(ctx), undo_(undo) {}

  // Runs one statement; result sets go to `out`, affected row counts to
  // `rows_affected`. Throws SqlError.
  void run(Statement& s, BatchResult& out);

  Database& current_database();

  // Queries (select.cpp)
  ResultSet run_query(Query& q, const Scope* outer_scope, const Frame* outer_frame);

  // FROM and WHERE of a query level (from_clause.cpp); `from` may be empty
  // (one empty tuple).
  std::unique_ptr<FromResult> evaluate_from(std::vector<std::unique_ptr<TableRef>>& from, Expr* where,
                                            const Scope* outer_scope, const Frame* outer_frame);

  // Expressions (eval.cpp)
  Value eval(const Expr& e, const Frame& f);
  bool eval_predicate(const Expr& e, const Frame& f);  // true only when TRUE (not UNKNOWN)
  // An expression outside any query (VALUES, TOP, DEFAULT, a variable's
  // initial value, IF): bound against no sources and evaluated once.
  Value eval_constant(Expr& e);
  bool eval_constant_predicate(Expr& e);

  // Binding (bind.cpp): resolves column references and functions in place.
  void bind(Expr& e, const Scope& scope, std::vector<Expr*>* aggregates);

  // Relations (relations.cpp)
  std::unique_ptr<Relation> open_relation(const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame);
  void open_named(const TableRef& ref, Relation* rel);
  void open_derived(const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame, Relation* rel);
  void open_function(const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame, Relation* rel);
  void set_function_arguments(const TableRef& ref, const FunctionDef& fn, const Scope* outer_scope,
                              const Frame* outer_frame);
  Table* resolve_table(const std::vector<std::string>& names, bool must_exist, Database** db_out = nullptr);
  Database* resolve_database(const std::vector<std::string>& names, size_t table_parts);
  // Fills `rel` with the rows of the view `names` names; false when it names none (views.cpp).
  bool open_view(const std::vector<std::string>& names, Relation* rel);
  ResultSet run_view_query(Query& query);  // views.cpp

  const EvalContext& ctx() const { return ctx_; }
  SessionState& session() { return session_; }
  Catalog& catalog() { return catalog_; }
  StatementUndo& undo() { return undo_; }
  QueryMemory& memory() { return memory_; }
  void set_transactions(TransactionControl* t) { transactions_ = t; }
  // The WHERE of the query level whose one FROM item is being opened, so
  // that a catalog view can leave out rows WHERE would drop (view_filter.h).
  const Expr* view_filter() const { return view_filter_; }
  void set_view_filter(const Expr* where) { view_filter_ = where; }
  int trancount() const;  // @@TRANCOUNT

  // DML helpers (dml.cpp)
  void insert_rows(Table& t, std::vector<int> target_columns, std::vector<Row> values, Database& db, int64_t* count);

 private:
  void run_select(Statement& s, BatchResult& out);
  void run_insert(Statement& s, BatchResult& out);
  std::vector<int> insert_targets(const Statement& s, const Table& t, const Database& db);
  std::vector<Row> insert_source_rows(Statement& s, const std::vector<int>& targets);
  void run_update(Statement& s, BatchResult& out);
  void run_delete(Statement& s, BatchResult& out);
  void run_truncate(Statement& s);
  void run_create_table(Statement& s);
  void run_alter_table(Statement& s);
  void run_create_index(Statement& s);
  void run_drop_index(Statement& s);
  void run_drop_table(Statement& s);
  void run_create_function(Statement& s);
  void run_drop_function(Statement& s);
  void run_create_view(Statement& s);  // views.cpp
  void run_alter_view(Statement& s);
  void run_drop_view(Statement& s);
  void check_view_definition(Statement& s);
  void run_grant(Statement& s);
  void run_set_option(Statement& s);
  void run_identity_insert(Statement& s);
  void run_create_database(Statement& s);
  void run_drop_database(Statement& s);
  void run_use(Statement& s);
  void run_declare(Statement& s);
  TransactionControl& transactions();

  Catalog& catalog_;
  SessionState& session_;
  const EvalContext& ctx_;
  StatementUndo& undo_;
  TransactionControl* transactions_ = nullptr;
  const Expr* view_filter_ = nullptr;
  QueryMemory memory_;
};

// Catalog views (system_views.cpp): fills `rel` and returns true when
// `names` names one (sysobjects, sys.indexes, INFORMATION_SCHEMA.COLUMNS ...).
bool open_system_view(Executor& ex, const std::vector<std::string>& names, Relation* rel);

// Object id and name functions.
// `type`, when given, is an object type code ('U', 'V', 'IF', ...): an
// object of another type is not found.
std::optional<int32_t> object_id_of(const Database& db, std::string_view name, std::string_view type = {});
std::optional<std::string> object_name_of(const Database& db, int32_t id);
// The name of a system type by its user type id (systypes.xusertype).
std::optional<std::string_view> type_name_of(int32_t user_type_id);
// OBJECT_ID, OBJECT_NAME, DB_NAME, DB_ID, IDENT_CURRENT, COL_LENGTH and TYPE_NAME
// (catalog_functions.cpp); `name` is upper-case, as the binder leaves it.
Value catalog_function(const Catalog& catalog, Database& db, std::string_view name, const std::vector<Value>& args);

// Key and reference checks (constraints.cpp).
void check_unique_keys(Table& t, Database& db, size_t first_new_row, bool all_rows);
void check_foreign_keys_of(Table& t, Database& db, const std::vector<size_t>& rows, const char* statement);
void cascade_delete(Executor& ex, Database& db, Table& parent, const std::vector<Row>& deleted);
void cascade_update(Executor& ex, Database& db, Table& parent, const std::vector<Row>& before,
                    const std::vector<Row>& after);

std::string qualified_table_name(const Table& t);  // "dbo.T"
// "The conflict occurred in database ..., table ...[, column ...]." of message 547.
std::string conflict_place(const Database& db, const Table& t, const std::vector<std::string>& columns);

}  // namespace standin
