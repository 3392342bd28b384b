#include "exec/column_dependents.h"

#include <algorithm>
#include <vector>

namespace standin {

namespace {

bool names_column(const std::vector<std::string>& columns, const std::string& column) {
  return std::any_of(columns.begin(), columns.end(), [&](const std::string& c) { return names_equal(c, column); });
}

bool variable_length(Type t) { return t == Type::VarChar || t == Type::NVarChar || t == Type::VarBinary; }

// A length of max is longer than any other.
bool not_shorter(int32_t old_length, int32_t new_length) {
  if (new_length == TypeInfo::kMax) return true;
  return old_length != TypeInfo::kMax && new_length >= old_length;
}

// The data type of a column in an index may not change, unless it is
// varchar, nvarchar or varbinary and the new size is not smaller.
bool index_allows(const TypeInfo& before, const TypeInfo& after) {
  if (before == after) return true;
  return before.type == after.type && variable_length(before.type) && not_shorter(before.length, after.length);
}

// A column in a CHECK or UNIQUE constraint may only change the length of
// its variable-length type.
bool constraint_allows(const TypeInfo& before, const TypeInfo& after) {
  return before.type == after.type && variable_length(before.type) && before.precision == after.precision &&
         before.scale == after.scale;
}

// A column bound to a default may change its length, precision or scale,
// not its type.
bool default_allows(const TypeInfo& before, const TypeInfo& after) { return before.type == after.type; }

std::string object_text(const std::string& name, const std::string& column) {
  return "The object '" + name + "' is dependent on column '" + column + "'.";
}

// Keys, unique constraints and plain indexes; a plain index is named as an
// index, not as an object.
std::optional<std::string> blocking_index(const Table& t, const Column& column, const Column* altered) {
  for (const KeyIndex& k : t.indexes) {
    if (!names_column(k.columns, column.name)) continue;
    bool allowed = altered && !k.primary && index_allows(column.type, altered->type) &&
                   (k.object_id == 0 || constraint_allows(column.type, altered->type));
    if (allowed) continue;
    if (k.object_id == 0) return "The index '" + k.name + "' is dependent on column '" + column.name + "'.";
    return object_text(k.name, column.name);
  }
  return std::nullopt;
}

// A foreign key on either side blocks every change.
std::optional<std::string> blocking_foreign_key(const Database& db, const Table& t, const Column& column) {
  for (const ForeignKey& fk : t.foreign_keys)
    if (names_column(fk.columns, column.name)) return object_text(fk.name, column.name);
  for (const auto& other : db.tables)
    for (const ForeignKey& fk : other->foreign_keys)
      if (names_equal(fk.ref_table, t.name) && names_column(fk.ref_columns, column.name))
        return object_text(fk.name, column.name);
  return std::nullopt;
}

}  // namespace

// ALTER TABLE, "ALTER COLUMN" and "DROP COLUMN"
// (https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql).
// The engine has no computed columns, so the rule on columns used in one
// has nothing to find.
std::optional<std::string> blocking_dependent(const Database& db, const Table& t, const Column& column,
                                              const Column* altered) {
  if (auto index = blocking_index(t, column, altered)) return index;
  if (auto fk = blocking_foreign_key(db, t, column)) return fk;
  for (const CheckConstraint& k : t.checks)
    if (names_column(k.columns, column.name) && !(altered && constraint_allows(column.type, altered->type)))
      return object_text(k.name, column.name);
  if (column.default_constraint && !(altered && default_allows(column.type, altered->type)))
    return object_text(column.default_constraint->name, column.name);
  return std::nullopt;
}

}  // namespace standin
