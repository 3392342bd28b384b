// The syntax tree of a command text. The parser builds it; the binder fills
// the resolution fields (marked "bound"); the executor walks it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "standin/value.h"

namespace standin {

struct Query;
struct ScalarFunction;

// A type as written in a statement: name and up to two arguments.
struct TypeSpec {
  std::string name;
  std::optional<int> arg1, arg2;
  bool max = false;
};

enum class ExprKind {
  Literal,
  Column,    // names: [db.][schema.][table.]column
  Variable,  // @name
  Negate,    // unary minus
  Plus,      // unary plus: changes nothing
  BitNot,
  Arith,    // + - * / % (op)
  Compare,  // = <> < > <= >= (op)
  And,
  Or,
  Not,
  IsNull,   // negated: IS NOT NULL
  Like,     // negated: NOT LIKE
  InList,   // negated: NOT IN
  InQuery,  // negated: NOT IN (subquery)
  Exists,
  Between,    // negated: NOT BETWEEN
  Case,       // args: [operand] when, then, ..., [else]; has_operand, has_else
  Function,   // name(args)
  Cast,       // CAST(arg AS type) / CONVERT(type, arg[, style])
  Aggregate,  // COUNT/SUM/MIN/MAX/AVG; star for COUNT(*)
  Subquery,   // scalar subquery
  DatePart,   // the first argument of DATEADD/DATEDIFF/DATEPART
};

struct Expr {
  ExprKind kind = ExprKind::Literal;
  uint32_t line = 1;
  std::string op;                  // operator text or function/aggregate name
  std::vector<std::string> names;  // Column / Variable
  Value value;                     // Literal
  std::vector<std::unique_ptr<Expr>> args;
  std::unique_ptr<Query> query;         // InQuery, Exists, Subquery
  std::unique_ptr<TypeSpec> cast_type;  // Cast: the target type
  int style = -1;                       // Convert style
  bool negated = false;
  bool distinct = false;                       // Aggregate
  bool star = false;                           // COUNT(*)
  bool has_operand = false, has_else = false;  // Case

  // bound
  int depth = -1;  // Column: 0 = this query's row, 1 = outer, ...
  int source = -1;
  int column = -1;
  int slot = -1;  // Aggregate: index into the group's results
  const ScalarFunction* function = nullptr;
  TypeInfo result_type;

  // From a pool of equal blocks (expr_pool.cpp).
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size);
};
using ExprPtr = std::unique_ptr<Expr>;

enum class JoinType { Cross, Inner, Left };

struct TableRef {
  enum class Kind { Named, Function, Derived, Join } kind = Kind::Named;
  std::vector<std::string> names;  // Named/Function: [db.][schema.]name
  std::string alias;
  std::vector<ExprPtr> args;              // Function
  std::unique_ptr<Query> query;           // Derived
  std::unique_ptr<TableRef> left, right;  // Join
  JoinType join = JoinType::Inner;
  ExprPtr on;
  uint32_t line = 1;
};

struct SelectItem {
  ExprPtr expr;       // null for * and t.*
  std::string alias;  // AS alias, alias = expr, or expr alias
  bool star = false;
  std::string star_qualifier;  // t in t.*
};

struct SelectCore {
  // A parenthesised query that combines several (SELECT ... UNION SELECT ...)
  // and stands as one term of this query; the other fields are then unused.
  std::unique_ptr<Query> nested;
  bool distinct = false;
  ExprPtr top;
  bool top_percent = false;
  std::vector<SelectItem> items;
  std::vector<std::unique_ptr<TableRef>> from;
  ExprPtr where;
  std::vector<ExprPtr> group_by;
  ExprPtr having;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

// How two query terms combine. INTERSECT binds tighter than the others,
// which apply from left to right.
enum class SetOp { UnionAll, Union, Except, Intersect };

struct Query {
  std::vector<SelectCore> cores;
  std::vector<SetOp> ops;  // between cores[i] and cores[i+1]
  std::vector<OrderItem> order_by;
};

struct ConstraintDef {
  enum class Kind { PrimaryKey, Unique, ForeignKey, Check, Default } kind = Kind::PrimaryKey;
  std::string name;
  bool clustered = true;
  std::vector<std::string> columns;
  std::vector<std::string> ref_table;  // name parts
  std::vector<std::string> ref_columns;
  bool on_delete_cascade = false, on_update_cascade = false;
  ExprPtr expr;  // Check/Default
  std::string default_column;
  uint32_t line = 1;
};

struct ColumnDef {
  std::string name;
  TypeSpec type;
  std::optional<bool> nullable;  // unset: the server's default (NULL)
  bool identity = false;
  int64_t seed = 1, increment = 1;
  bool primary_key = false;  // inline PRIMARY KEY
  ExprPtr default_value;
  std::string default_name;           // CONSTRAINT name DEFAULT ...; empty: a generated name
  bool with_values = false;           // ADD ... DEFAULT v WITH VALUES: existing rows get v
  std::vector<ConstraintDef> checks;  // column-level CHECK constraints, named or not
  uint32_t line = 1;
};

enum class StatementKind {
  Select,
  Insert,
  Update,
  Delete,
  CreateTable,
  AlterTable,
  CreateIndex,
  DropTable,
  DropIndex,
  CreateFunction,
  DropFunction,
  CreateView,
  AlterView,
  DropView,
  Grant,
  SetOption,
  SetIdentityInsert,
  If,
  Block,  // BEGIN ... END
  CreateDatabase,
  DropDatabase,
  Use,
  Truncate,
  Print,
  Declare,
  BeginTransaction,
  CommitTransaction,
  RollbackTransaction,
};

// EnableConstraints / DisableConstraints: [WITH CHECK | WITH NOCHECK]
// {CHECK | NOCHECK} CONSTRAINT {ALL | name, ...}; `names` empty for ALL.
enum class AlterAction { AddColumns, AlterColumn, DropConstraint, DropColumn, EnableConstraints, DisableConstraints };

struct Statement {
  StatementKind kind = StatementKind::Select;
  uint32_t line = 1;
  uint32_t offset = 0, end_offset = 0;  // source span within the command text

  std::vector<std::string> target;  // table / function / index / database name parts
  std::string target_alias;
  std::unique_ptr<Query> query;  // Select, Insert ... SELECT, CreateFunction body

  // Insert
  std::vector<std::string> columns;
  std::vector<std::vector<ExprPtr>> values;  // VALUES rows
  bool default_values = false;

  // Update
  std::vector<std::pair<std::vector<std::string>, ExprPtr>> assignments;
  std::vector<std::unique_ptr<TableRef>> from;
  ExprPtr where;
  ExprPtr top;

  // Create/Alter table
  std::vector<ColumnDef> column_defs;
  std::vector<ConstraintDef> constraints;
  AlterAction alter = AlterAction::AddColumns;
  std::optional<bool> with_check;  // WITH CHECK / WITH NOCHECK
  std::vector<std::string> names;  // DROP CONSTRAINT/COLUMN names, DROP TABLE list

  // Create index
  std::vector<std::vector<std::string>> index_table;
  bool unique = false, clustered = false;

  // Create function
  std::vector<std::pair<std::string, TypeSpec>> params;
  std::string source;  // the statement's text (functions keep it)

  // Set
  std::string option;
  bool on = false;
  std::string option_value;

  bool if_exists = false;

  // If / Block
  ExprPtr condition;
  std::vector<std::unique_ptr<Statement>> body;  // If: then [, else]; Block: statements
  bool has_else = false;

  // Declare
  std::vector<std::tuple<std::string, TypeSpec, ExprPtr>> declarations;
};
using StatementPtr = std::unique_ptr<Statement>;

}  // namespace standin
