// The catalog: databases, their tables (columns, rows, keys, indexes) and
// inline table-valued functions. Every object of a database carries an
// object id, as SQL Server's catalog views show them. Names are looked up
// under the server collation: case-insensitive, trailing blanks ignored.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "parser/ast.h"
#include "standin/value.h"

namespace standin {

using Row = std::vector<Value>;

bool names_equal(std::string_view a, std::string_view b);

// A multi-part name as written, parts joined by dots: "db.dbo.t".
std::string dotted_name(const std::vector<std::string>& parts);

// A DEFAULT constraint: an object of its own (sysobjects xtype 'D ') bound
// to one column, which has at most one.
struct DefaultConstraint {
  int32_t object_id = 0;
  std::string name;
  std::string definition;  // as sys.default_constraints shows it: "((0))", "('N')"
  Value value;             // the expression's value, converted to the column's type on use
  bool system_named = false;
};

struct Column {
  std::string name;
  TypeInfo type;
  std::string type_name;  // as the catalog shows it: "int", "varchar", "sysname"
  bool nullable = true;
  bool identity = false;
  int64_t seed = 1, increment = 1;
  int32_t column_id = 0;  // syscolumns.colid: 1-based, never reused
  std::optional<DefaultConstraint> default_constraint;
};

// A primary key or unique constraint, or a plain index. Key columns by name,
// so that they follow renames and survive the table being rebuilt.
struct KeyIndex {
  int32_t object_id = 0;  // the constraint's object id (0 for a plain index)
  int32_t index_id = 0;   // 1 = clustered, 2.. = nonclustered
  std::string name;
  std::vector<std::string> columns;
  bool primary = false;
  bool unique = false;
  bool clustered = false;
};

// A CHECK constraint: an object of its own (sysobjects xtype 'C '). Its
// expression is kept as the definition text SQL Server shows, "([a]>(0))",
// and compiled where it is checked. `columns` are the columns it reads, by
// name; one that reads a single column is bound to it (`column_id`).
struct CheckConstraint {
  int32_t object_id = 0;
  std::string name;
  std::string definition;
  std::vector<std::string> columns;
  int32_t column_id = 0;  // sys.check_constraints.parent_column_id; 0: table-level
  bool trusted = true;    // every row checked: created or re-enabled WITH CHECK
  bool disabled = false;  // NOCHECK CONSTRAINT
  bool system_named = false;
};

struct ForeignKey {
  int32_t object_id = 0;
  std::string name;
  std::vector<std::string> columns;
  std::string ref_table;
  std::vector<std::string> ref_columns;
  bool delete_cascade = false;
  bool update_cascade = false;
  bool trusted = true;    // created WITH CHECK
  bool disabled = false;  // NOCHECK CONSTRAINT: not enforced
};

// A permission granted on a table, view or function: the code
// sys.database_permissions shows as its type ("SL  ", blank-padded to four)
// and the principal it is granted to. It lives and dies with its object.
struct ObjectGrant {
  std::string type;
  std::string grantee;
  bool operator==(const ObjectGrant&) const = default;
};

struct Table {
  int32_t object_id = 0;
  std::string name;
  std::vector<Column> columns;
  std::vector<Row> rows;
  std::vector<KeyIndex> indexes;  // primary key, unique constraints, plain indexes
  std::vector<ForeignKey> foreign_keys;
  std::vector<CheckConstraint> checks;
  std::vector<ObjectGrant> grants;
  int32_t next_column_id = 1;
  int64_t identity_current = 0;  // last identity value handed out
  bool identity_used = false;    // false until the first identity value
  DateTime created;

  // Unique-key sets kept between statements, so that a script of many
  // single-row inserts checks each row against a set instead of rescanning
  // the table. Valid while `generation` matches and rows were only appended.
  struct KeyCache {
    uint64_t generation = 0;
    size_t rows = 0;
    std::vector<std::unordered_set<std::string>> keys;  // per entry of `indexes`
  };
  uint64_t generation = 1;  // bumped by every change other than appending rows
  std::shared_ptr<KeyCache> key_cache;

  void touch();  // rows or keys changed otherwise than by appending

  int find_column(std::string_view name) const;  // -1 when missing
  int identity_column() const;                   // -1 when none
  // The identity value the next row gets from column `c` (the seed, then
  // the last value plus the increment); false when it leaves bigint's range.
  bool next_identity(const Column& c, int64_t* next) const;
  const KeyIndex* primary_key() const;
  KeyIndex* find_index(std::string_view name);
  std::vector<int> column_indexes(const std::vector<std::string>& names) const;
};

// An inline table-valued function, or a view: a stored query without
// parameters that is read like a table. Both keep their query as text and
// compile it where they are used.
struct FunctionDef {
  int32_t object_id = 0;
  std::string name;
  bool view = false;
  std::vector<std::string> view_columns;  // a view's column list, when CREATE VIEW names them
  std::vector<std::pair<std::string, TypeSpec>> params;
  std::string body;    // the RETURN query's text
  std::string source;  // the whole CREATE FUNCTION text
  std::vector<ObjectGrant> grants;
  DateTime created;
};

struct Database {
  std::string name;
  int32_t dbid = 0;
  std::vector<std::unique_ptr<Table>> tables;           // in creation order
  std::vector<std::unique_ptr<FunctionDef>> functions;  // and views
  int32_t next_object_id = 245575913;                   // object ids look like SQL Server's
  DateTime created;

  Table* find_table(std::string_view name) const;
  FunctionDef* find_function(std::string_view name) const;  // functions only
  FunctionDef* find_view(std::string_view name) const;
  // Any schema-scoped object of that name: table, constraint, function.
  bool object_exists(std::string_view name) const;
  int32_t allocate_object_id() { return next_object_id += 16; }

  // Scripts insert into one table many times in a row: the last table found
  // is tried first.
  mutable size_t last_found = 0;
  std::unique_ptr<Table> remove_table(const Table* t);

  // A server backed by a data directory keeps only the databases in use in
  // memory. An unloaded database has its name, id and creation date; its
  // objects are read from its snapshot when it is next looked up.
  bool loaded = true;
  // The committed snapshot holds the database as it is: it may be unloaded
  // without losing anything. False for a database that has no snapshot yet.
  bool saved = false;
  uint64_t last_used = 0;  // when a session last ran a command text in it
  // Drops the objects, keeping name, id and creation date.
  void unload();
};

struct Catalog {
  std::vector<std::unique_ptr<Database>> databases;
  int32_t next_dbid = 1;
  // Reads an unloaded database's objects; set by a server with a data
  // directory. Throws OpenError when the snapshot cannot be read.
  std::function<void(Database&)> load;

  // The database of that name, loaded; null when there is none.
  Database* find(std::string_view name) const;
  // The same without loading it: an unloaded database has no objects.
  Database* peek(std::string_view name) const;
  Database* create(std::string name);
  Database* database_of(const Table* t) const;  // null when no database holds `t`
};

// The key of a row under the server collation, for uniqueness checks: equal
// keys exactly when the key values compare equal.
std::string row_key(const Row& row, const std::vector<int>& columns);

}  // namespace standin
