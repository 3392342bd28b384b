// Pieces of a table's definition shared by CREATE TABLE, ALTER TABLE and
// CREATE INDEX (ddl.cpp): columns from their definitions, keys, foreign
// keys, and the objects that tie a column down.
#pragma once

#include <optional>
#include <string>

#include "catalog/catalog.h"
#include "parser/ast.h"

namespace standin {

// The column a definition describes; `ordinal` is its 1-based place, which
// the message of an unknown type names. Throws SqlError.
Column make_column(const ColumnDef& d, int ordinal);

// Binds a DEFAULT constraint to column `ci` of `t`: named `name`, or
// DF__table__colum__xxxxxxxx when unnamed; `value` is `expr` evaluated.
// Throws 1781 when the column already has one, 2714 for a taken name.
void add_default_constraint(Database& db, Table& t, int ci, const std::string& name, const Expr& expr, Value value);

// The definition text of a default whose value is `value` ("((0))", "('N')"),
// and the name SQL Server gives an unnamed one.
std::string value_definition(const Value& value);
std::string generated_default_name(const Table& t, const Column& c, int32_t object_id);

// Throws 2714 when the database already has an object of that name.
void check_new_object_name(const Database& db, const std::string& name);

// A PRIMARY KEY or UNIQUE constraint; the rows already there must be unique.
void add_key_constraint(Database& db, Table& t, const ConstraintDef& c);

// A FOREIGN KEY; `check_existing` (WITH CHECK) checks the rows already there
// and marks the key trusted.
void add_foreign_key(Database& db, Table& t, const ConstraintDef& c, bool check_existing);

// The message naming the key, index or foreign key that keeps `column` from
// being altered or dropped, if one does.
std::optional<std::string> dependent_object(const Database& db, const Table& t, const std::string& column);

}  // namespace standin
