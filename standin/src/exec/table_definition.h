// Pieces of a table's definition shared by CREATE TABLE, ALTER TABLE and
// CREATE INDEX (ddl.cpp): columns from their definitions, keys, foreign
// keys, defaults and CHECK constraints.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "parser/ast.h"

namespace standin {

class Executor;

// The column a definition describes; `ordinal` is its 1-based place, which
// the message of an unknown type names. Throws SqlError.
Column make_column(const ColumnDef& d, int ordinal);

// Binds a DEFAULT constraint to column `ci` of `t`: named `name`, or
// DF__table__colum__xxxxxxxx when unnamed; `value` is `expr` evaluated.
// Throws 1781 when the column already has one, 2714 for a taken name.
void add_default_constraint(Database& db, Table& t, int ci, const std::string& name, const Expr& expr, Value value);

// The definition text of a default whose value is `value` ("((0))", "('N')").
std::string value_definition(const Value& value);
// A string value as a literal: 'it''s', N'...' for a Unicode one.
std::string quoted_literal(const Value& v);
// The name SQL Server gives an unnamed constraint: `prefix` ("DF", "CK"),
// the table, the column when the constraint is bound to one, and the
// constraint's object id in hex: DF__table__colum__0A1B2C3D.
std::string generated_constraint_name(std::string_view prefix, const Table& t, const Column* c, int32_t object_id);

// Throws 2714 when the database already has an object of that name.
void check_new_object_name(const Database& db, const std::string& name);

// A PRIMARY KEY or UNIQUE constraint; the rows already there must be unique.
void add_key_constraint(Database& db, Table& t, const ConstraintDef& c);

// A FOREIGN KEY; `check_existing` (WITH CHECK) checks the rows already there
// and marks the key trusted.
void add_foreign_key(Database& db, Table& t, const ConstraintDef& c, bool check_existing);

// CHECK constraints (check_constraints.cpp). `column`, for a constraint
// written in a column's definition, is that column's place in `t`; such a
// constraint may read no other column (8141). `check_existing` (WITH CHECK)
// checks the rows already there and marks the constraint trusted.
void add_check_constraint(Executor& ex, Database& db, Table& t, const ConstraintDef& c, int column,
                          bool check_existing);
// Throws 547 (an ALTER TABLE statement's) for the first row of `t` that `k`
// finds FALSE.
void check_existing_rows(Executor& ex, const Database& db, const Table& t, const CheckConstraint& k);
// Throws 547 for the first of `rows` that an enabled CHECK constraint of `t`
// finds FALSE (UNKNOWN passes); `statement` is INSERT, UPDATE or ALTER TABLE.
void check_constraints_of(Executor& ex, const Database& db, const Table& t, const std::vector<size_t>& rows,
                          const char* statement);

}  // namespace standin
