// ALTER TABLE: one function per action. The whole table is saved for undo
// before any action, so an action that fails halfway leaves nothing behind.
#include <algorithm>

#include "exec/column_dependents.h"
#include "exec/executor.h"
#include "exec/messages.h"
#include "exec/table_definition.h"
#include "types/convert.h"

namespace standin {

namespace {

class TableAlteration {
 public:
  TableAlteration(Executor& ex, Database& db, Table& t) : ex_(ex), db_(db), t_(t) {}

  void add_columns(const Statement& s);
  void alter_column(const ColumnDef& d);
  void drop_constraint(const std::string& name);
  void drop_column(const std::string& name);
  void set_enabled(const std::string& name, bool enable, bool check_rows);
  void set_all_enabled(bool enable, bool check_rows);

 private:
  Column new_column(const ColumnDef& d);
  void fill_new_column(const Column& c, bool with_values);
  void add_constraint(const ConstraintDef& c, bool check_existing);
  void convert_column(int ci, const Column& c);
  void refuse_if_referenced(const KeyIndex& key);
  void check_foreign_key_rows(const ForeignKey& fk);

  Executor& ex_;
  Database& db_;
  Table& t_;
};

Column TableAlteration::new_column(const ColumnDef& d) {
  if (t_.find_column(d.name) >= 0) throw_duplicate_column(d.name, t_.name);
  Column c = make_column(d, static_cast<int>(t_.columns.size() + 1));
  if (c.identity && t_.identity_column() >= 0) throw_second_identity(t_.name);
  if (!c.nullable && !c.identity && !d.default_value && !t_.rows.empty())
    throw_error(4901,
                "ALTER TABLE only allows columns to be added that can contain nulls, or have a DEFAULT "
                "definition specified, or the column being added is an identity or timestamp column, or "
                "alternatively if none of the previous conditions are satisfied the table must be empty to "
                "allow addition of this column. Column '" +
                    c.name + "' cannot be added to non-empty table '" + t_.name +
                    "' because it does not satisfy these conditions.");
  return c;
}

// Existing rows get the next identity values, the default of a NOT NULL
// column or of one added WITH VALUES, or NULL (a nullable column's default
// is not applied to them otherwise).
void TableAlteration::fill_new_column(const Column& c, bool with_values) {
  std::optional<Value> fill;
  if (c.default_constraint && (!c.nullable || with_values)) {
    Value v;
    Error err;
    if (!assign_value(c.default_constraint->value, c.type, ex_.ctx(), &v, &err)) throw_error(err);
    fill = std::move(v);
  }
  for (Row& r : t_.rows) {
    if (c.identity) {
      int64_t next = 0;
      if (!t_.next_identity(c, &next)) throw_identity_overflow(c);
      t_.identity_current = next;
      t_.identity_used = true;
      Value v;
      Error err;
      if (!assign_value(Value::integer(next, Type::BigInt), c.type, ex_.ctx(), &v, &err)) throw_error(err);
      r.push_back(std::move(v));
    } else if (fill) {
      r.push_back(*fill);
    } else {
      r.push_back(Value::null(c.type));
    }
  }
}

void TableAlteration::add_constraint(const ConstraintDef& c, bool check_existing) {
  switch (c.kind) {
    case ConstraintDef::Kind::PrimaryKey:
    case ConstraintDef::Kind::Unique: add_key_constraint(db_, t_, c); return;
    case ConstraintDef::Kind::ForeignKey: add_foreign_key(db_, t_, c, check_existing); return;
    case ConstraintDef::Kind::Default: {
      int col = t_.find_column(c.default_column);
      if (col < 0)
        throw_error(1752, "Column '" + c.default_column + "' in table '" + t_.name +
                              "' is invalid for creating a default constraint.");
      add_default_constraint(db_, t_, col, c.name, *c.expr, ex_.eval_constant(*c.expr));
      return;
    }
    case ConstraintDef::Kind::Check: add_check_constraint(ex_, db_, t_, c, -1, check_existing); return;
  }
}

void TableAlteration::add_columns(const Statement& s) {
  for (const ColumnDef& d : s.column_defs) {
    Column c = new_column(d);
    c.column_id = t_.next_column_id++;
    t_.columns.push_back(c);
    int ci = static_cast<int>(t_.columns.size() - 1);
    if (d.default_value)
      add_default_constraint(db_, t_, ci, d.default_name, *d.default_value, ex_.eval_constant(*d.default_value));
    fill_new_column(t_.columns.back(), d.with_values);
    for (const ConstraintDef& k : d.checks) add_check_constraint(ex_, db_, t_, k, ci, s.with_check.value_or(true));
  }
  t_.touch();
  for (const ConstraintDef& c : s.constraints) add_constraint(c, s.with_check.value_or(true));
}

void TableAlteration::convert_column(int ci, const Column& c) {
  for (Row& r : t_.rows) {
    Value v;
    Error err;
    if (!assign_value(r[static_cast<size_t>(ci)], c.type, ex_.ctx(), &v, &err)) throw_error(err);
    if (v.is_null() && !c.nullable) throw_null_not_allowed(db_, t_, c, "UPDATE");
    if (v.is_null()) v = Value::null(c.type);
    r[static_cast<size_t>(ci)] = std::move(v);
  }
}

void TableAlteration::alter_column(const ColumnDef& d) {
  int ci = t_.find_column(d.name);
  if (ci < 0) throw_alter_missing_column("ALTER COLUMN", d.name, t_.name);
  Column& old = t_.columns[static_cast<size_t>(ci)];
  ColumnDef def;
  def.name = old.name;
  def.type = d.type;
  def.nullable = d.nullable;
  Column c = make_column(def, ci + 1);
  // ALTER COLUMN applies the ANSI null default: without NULL or NOT NULL
  // the column allows nulls, whatever it allowed before.
  c.nullable = d.nullable.value_or(true);
  c.identity = old.identity;
  c.seed = old.seed;
  c.increment = old.increment;
  c.column_id = old.column_id;
  if (auto dep = blocking_dependent(db_, t_, old, &c)) throw_column_has_dependents(*dep, "ALTER COLUMN", old.name);
  c.default_constraint = old.default_constraint;
  convert_column(ci, c);
  old = std::move(c);
  t_.touch();
}

void TableAlteration::refuse_if_referenced(const KeyIndex& key) {
  for (const auto& other : db_.tables)
    for (const ForeignKey& fk : other->foreign_keys) {
      if (!names_equal(fk.ref_table, t_.name) || fk.ref_columns.size() != key.columns.size()) continue;
      bool same = std::equal(fk.ref_columns.begin(), fk.ref_columns.end(), key.columns.begin(),
                             [](const std::string& a, const std::string& b) { return names_equal(a, b); });
      if (same)
        throw_error(3725, "The constraint '" + key.name + "' is being referenced by table '" + other->name +
                              "', foreign key constraint '" + fk.name + "'.");
    }
}

// A constraint name may name a key, a foreign key, a CHECK constraint or a
// default, tried in that order.
void TableAlteration::drop_constraint(const std::string& name) {
  auto ki = std::find_if(t_.indexes.begin(), t_.indexes.end(),
                         [&](const KeyIndex& k) { return k.object_id != 0 && names_equal(k.name, name); });
  if (ki != t_.indexes.end()) {
    refuse_if_referenced(*ki);
    t_.indexes.erase(ki);
    t_.touch();
    return;
  }
  auto fi = std::find_if(t_.foreign_keys.begin(), t_.foreign_keys.end(),
                         [&](const ForeignKey& f) { return names_equal(f.name, name); });
  if (fi != t_.foreign_keys.end()) {
    t_.foreign_keys.erase(fi);
    return;
  }
  auto ci = std::find_if(t_.checks.begin(), t_.checks.end(),
                         [&](const CheckConstraint& k) { return names_equal(k.name, name); });
  if (ci != t_.checks.end()) {
    t_.checks.erase(ci);
    return;
  }
  bool found_default = false;
  for (Column& c : t_.columns)
    if (c.default_constraint && names_equal(c.default_constraint->name, name)) {
      c.default_constraint.reset();
      found_default = true;
    }
  if (!found_default) throw_not_a_constraint(name);
}

void TableAlteration::drop_column(const std::string& name) {
  int ci = t_.find_column(name);
  if (ci < 0) throw_alter_missing_column("DROP COLUMN", name, t_.name);
  const Column& column = t_.columns[static_cast<size_t>(ci)];
  if (auto dep = blocking_dependent(db_, t_, column, nullptr))
    throw_column_has_dependents(*dep, "DROP COLUMN", column.name);
  if (t_.columns.size() == 1)
    throw_error(4923, "ALTER TABLE DROP COLUMN failed because '" + name + "' is the only data column in table '" +
                          t_.name + "'. A table must have at least one data column.");
  if (column.identity) {
    t_.identity_used = false;
    t_.identity_current = 0;
  }
  t_.columns.erase(t_.columns.begin() + ci);
  for (Row& r : t_.rows) r.erase(r.begin() + ci);
  t_.touch();
}

// The rows against one foreign key alone.
void TableAlteration::check_foreign_key_rows(const ForeignKey& fk) {
  std::vector<ForeignKey> all{fk};
  all.swap(t_.foreign_keys);
  std::vector<size_t> rows(t_.rows.size());
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = i;
  try {
    check_foreign_keys_of(t_, db_, rows, "ALTER TABLE");
  } catch (...) {
    all.swap(t_.foreign_keys);
    throw;
  }
  all.swap(t_.foreign_keys);
}

// {CHECK | NOCHECK} CONSTRAINT applies to foreign keys and CHECK
// constraints only. A disabled one is not trusted; enabling it checks the
// rows, and trusts it again, only WITH CHECK.
void TableAlteration::set_enabled(const std::string& name, bool enable, bool check_rows) {
  auto fi = std::find_if(t_.foreign_keys.begin(), t_.foreign_keys.end(),
                         [&](const ForeignKey& f) { return names_equal(f.name, name); });
  auto ki = std::find_if(t_.checks.begin(), t_.checks.end(),
                         [&](const CheckConstraint& k) { return names_equal(k.name, name); });
  if (fi == t_.foreign_keys.end() && ki == t_.checks.end()) {
    bool key = std::any_of(t_.indexes.begin(), t_.indexes.end(),
                           [&](const KeyIndex& k) { return k.object_id != 0 && names_equal(k.name, name); });
    bool bound_default = std::any_of(t_.columns.begin(), t_.columns.end(), [&](const Column& c) {
      return c.default_constraint && names_equal(c.default_constraint->name, name);
    });
    if (key || bound_default)
      throw_error(11415, "Object '" + name +
                             "' cannot be disabled or enabled. This action applies only to foreign key and check "
                             "constraints.");
    throw_error(4917, "Constraint '" + name + "' does not exist.");
  }
  bool& disabled = fi != t_.foreign_keys.end() ? fi->disabled : ki->disabled;
  bool& trusted = fi != t_.foreign_keys.end() ? fi->trusted : ki->trusted;
  disabled = !enable;
  if (!enable) trusted = false;
  if (!check_rows) return;
  if (fi != t_.foreign_keys.end())
    check_foreign_key_rows(*fi);
  else
    check_existing_rows(ex_, db_, t_, *ki);
  trusted = true;
}

void TableAlteration::set_all_enabled(bool enable, bool check_rows) {
  std::vector<std::string> names;
  for (const ForeignKey& f : t_.foreign_keys) names.push_back(f.name);
  for (const CheckConstraint& k : t_.checks) names.push_back(k.name);
  for (const std::string& name : names) set_enabled(name, enable, check_rows);
}

}  // namespace

void Executor::run_alter_table(Statement& s) {
  Database* db = nullptr;
  Table* t = resolve_table(s.target, false, &db);
  if (!t) throw_object_not_found(4902, s.target.back());
  undo_.before_schema(t);
  TableAlteration alteration(*this, *db, *t);
  switch (s.alter) {
    case AlterAction::AddColumns: return alteration.add_columns(s);
    case AlterAction::AlterColumn: return alteration.alter_column(s.column_defs[0]);
    case AlterAction::DropConstraint:
      for (const std::string& name : s.names) alteration.drop_constraint(name);
      return;
    case AlterAction::DropColumn:
      for (const std::string& name : s.names) alteration.drop_column(name);
      return;
    case AlterAction::EnableConstraints:
    case AlterAction::DisableConstraints: {
      bool enable = s.alter == AlterAction::EnableConstraints;
      bool check_rows = enable && s.with_check.value_or(false);
      if (s.names.empty()) return alteration.set_all_enabled(enable, check_rows);
      for (const std::string& name : s.names) alteration.set_enabled(name, enable, check_rows);
      return;
    }
  }
}

}  // namespace standin
