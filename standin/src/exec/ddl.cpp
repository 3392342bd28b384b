// CREATE/ALTER/DROP TABLE, indexes and keys, inline functions, GRANT.
#include <algorithm>
#include <cctype>

#include "exec/executor.h"
#include "parser/lexer.h"
#include "parser/parser.h"
#include "types/convert.h"
#include "types/type_names.h"

namespace standin {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string canonical_type_name(const std::string& written) {
  std::string n = lower(written);
  if (n == "integer") return "int";
  if (n == "dec") return "decimal";
  if (n == "character") return "char";
  return n;
}

Column make_column(const ColumnDef& d, int ordinal) {
  Column c;
  c.name = d.name;
  Error err;
  if (!parse_type_name(d.type.name, d.type.arg1, d.type.arg2, d.type.max, TypeUse::Column, &c.type, &err)) {
    if (err.number == 2715) err = unknown_column_type_error(ordinal, d.type.name);
    throw_error(err, false);
  }
  c.type_name = canonical_type_name(d.type.name);
  c.identity = d.identity;
  c.seed = d.seed;
  c.increment = d.increment;
  if (c.identity) {
    bool ok = c.type.is_integer() && c.type.type != Type::Bit;
    ok = ok || (c.type.type == Type::Decimal && c.type.scale == 0);
    if (!ok || (d.nullable && *d.nullable))
      throw_error(2749, "Identity column '" + c.name +
                            "' must be of data type int, bigint, smallint, tinyint, or decimal or numeric with "
                            "a scale of 0, and constrained to be nonnullable.");
  }
  c.nullable = d.nullable.value_or(!d.identity && !d.primary_key);
  return c;
}

[[noreturn]] void could_not_create(int number, const std::string& message) {
  // SQL Server follows the first message with 1750; the first one is what
  // clients show.
  throw_error(number, message);
}

void check_new_object_name(const Database& db, const std::string& name) {
  if (db.object_exists(name))
    throw_error(2714, "There is already an object named '" + name + "' in the database.");
}

int next_index_id(const Table& t, bool clustered) {
  if (clustered) return 1;
  int id = 2;
  for (const KeyIndex& k : t.indexes) id = std::max(id, k.index_id + 1);
  return id;
}

void add_key_constraint(Database& db, Table& t, const ConstraintDef& c) {
  bool primary = c.kind == ConstraintDef::Kind::PrimaryKey;
  std::string name = c.name.empty() ? (primary ? "PK__" : "UQ__") + t.name : c.name;
  if (!c.name.empty()) check_new_object_name(db, name);
  if (primary && t.primary_key())
    could_not_create(1779, "Table '" + t.name + "' already has a primary key defined on it.");
  if (c.clustered)
    for (const KeyIndex& k : t.indexes)
      if (k.clustered)
        could_not_create(1902, "Cannot create more than one clustered index on table '" + qualified_table_name(t) +
                                   "'. Drop the existing clustered index '" + k.name + "' before creating another.");
  for (const std::string& col : c.columns) {
    int i = t.find_column(col);
    if (i < 0) could_not_create(1911, "Column name '" + col + "' does not exist in the target table or view.");
    if (primary && t.columns[static_cast<size_t>(i)].nullable)
      could_not_create(8111, "Cannot define PRIMARY KEY constraint on nullable column in table '" + t.name + "'.");
  }
  KeyIndex k;
  k.object_id = db.allocate_object_id();
  k.name = name;
  k.columns = c.columns;
  for (std::string& col : k.columns) col = t.columns[static_cast<size_t>(t.find_column(col))].name;
  k.primary = primary;
  k.unique = true;
  k.clustered = c.clustered;
  k.index_id = next_index_id(t, c.clustered);
  t.indexes.push_back(k);
  t.touch();
  // Existing rows must already be unique.
  std::vector<int> cols = t.column_indexes(k.columns);
  std::unordered_set<std::string> seen;
  for (const Row& r : t.rows)
    if (!seen.insert(row_key(r, cols)).second) {
      std::string value;
      for (size_t i = 0; i < cols.size(); ++i)
        value += (i ? ", " : "") + (r[static_cast<size_t>(cols[i])].is_null() ? std::string("<NULL>") : r[static_cast<size_t>(cols[i])].to_display());
      could_not_create(1505, "The CREATE UNIQUE INDEX statement terminated because a duplicate key was found for "
                             "the object name '" + qualified_table_name(t) + "' and the index name '" + name +
                             "'. The duplicate key value is (" + value + ").");
    }
}

void add_foreign_key(Executor& ex, Database& db, Table& t, const ConstraintDef& c, bool check_existing) {
  std::string name = c.name.empty() ? "FK__" + t.name + "__" + c.ref_table.back() : c.name;
  if (!c.name.empty()) check_new_object_name(db, name);
  Table* parent = db.find_table(c.ref_table.back());
  if (!parent) could_not_create(1767, "Foreign key '" + name + "' references invalid table '" + c.ref_table.back() + "'.");
  std::vector<std::string> ref_cols = c.ref_columns;
  if (ref_cols.empty() && parent->primary_key()) ref_cols = parent->primary_key()->columns;
  for (const std::string& col : c.columns)
    if (t.find_column(col) < 0)
      could_not_create(1769, "Foreign key '" + name + "' references invalid column '" + col + "' in referencing table '" + t.name + "'.");
  for (const std::string& col : ref_cols)
    if (parent->find_column(col) < 0)
      could_not_create(1770, "Foreign key '" + name + "' references invalid column '" + col + "' in referenced table '" + parent->name + "'.");
  if (ref_cols.size() != c.columns.size())
    could_not_create(8139, "Number of referencing columns in foreign key differs from number of referenced columns, table '" + t.name + "'.");
  // The referenced columns must be exactly a primary key or unique key.
  bool keyed = false;
  for (const KeyIndex& k : parent->indexes) {
    if (!k.unique || k.columns.size() != ref_cols.size()) continue;
    bool all = std::all_of(ref_cols.begin(), ref_cols.end(), [&](const std::string& rc) {
      return std::any_of(k.columns.begin(), k.columns.end(), [&](const std::string& kc) { return names_equal(kc, rc); });
    });
    keyed = keyed || all;
  }
  if (!keyed)
    could_not_create(1776, "There are no primary or candidate keys in the referenced table '" + qualified_table_name(*parent) +
                               "' that match the referencing column list in the foreign key '" + name + "'.");
  ForeignKey fk;
  fk.object_id = db.allocate_object_id();
  fk.name = name;
  fk.columns = c.columns;
  fk.ref_table = parent->name;
  fk.ref_columns = ref_cols;
  fk.delete_cascade = c.on_delete_cascade;
  fk.update_cascade = c.on_update_cascade;
  fk.trusted = check_existing;
  t.foreign_keys.push_back(fk);
  if (check_existing) {
    std::vector<size_t> all(t.rows.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    try {
      check_foreign_keys_of(t, db, all, "ALTER TABLE");
    } catch (SqlError& e) {
      e.error.message = "The ALTER TABLE statement conflicted with the FOREIGN KEY constraint \"" + name +
                        "\". " + conflict_place(db, *parent, ref_cols);
      throw;
    }
  }
  (void)ex;
}

// The index or constraint that keeps a column from being altered or dropped.
std::optional<std::string> dependent_object(const Database& db, const Table& t, const std::string& column) {
  for (const KeyIndex& k : t.indexes)
    for (const std::string& c : k.columns)
      if (names_equal(c, column))
        return (k.object_id != 0 ? "The object '" : "The index '") + k.name + "' is dependent on column '" + column + "'.";
  for (const ForeignKey& fk : t.foreign_keys)
    for (const std::string& c : fk.columns)
      if (names_equal(c, column)) return "The object '" + fk.name + "' is dependent on column '" + column + "'.";
  for (const auto& other : db.tables)
    for (const ForeignKey& fk : other->foreign_keys)
      if (names_equal(fk.ref_table, t.name))
        for (const std::string& c : fk.ref_columns)
          if (names_equal(c, column)) return "The object '" + fk.name + "' is dependent on column '" + column + "'.";
  return std::nullopt;
}

}  // namespace

void Executor::run_create_table(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  const std::string& name = s.target.back();
  if (s.target.size() >= 2 && !s.target[s.target.size() - 2].empty() && !names_equal(s.target[s.target.size() - 2], "dbo"))
    throw_error(2760, "The specified schema name \"" + s.target[s.target.size() - 2] +
                          "\" either does not exist or you do not have permission to use it.");
  check_new_object_name(*db, name);
  auto t = std::make_unique<Table>();
  t->name = name;
  t->object_id = db->allocate_object_id();
  t->created = ctx_.now ? ctx_.now() : DateTime{};
  int identities = 0;
  for (size_t i = 0; i < s.column_defs.size(); ++i) {
    const ColumnDef& d = s.column_defs[i];
    if (t->find_column(d.name) >= 0)
      throw_error(2705, "Column names in each table must be unique. Column name '" + d.name + "' in table '" + name +
                            "' is specified more than once.");
    Column c = make_column(d, static_cast<int>(i + 1));
    // A column in the table's primary key is NOT NULL unless declared NULL.
    for (const ConstraintDef& k : s.constraints)
      if (k.kind == ConstraintDef::Kind::PrimaryKey && !d.nullable)
        for (const std::string& kc : k.columns)
          if (names_equal(kc, d.name)) c.nullable = false;
    if (d.default_value) {
      Frame f{};
      Scope empty;
      f.scope = &empty;
      bind(*d.default_value, empty, nullptr);
      c.default_value = eval(*d.default_value, f);
    }
    identities += c.identity;
    if (identities > 1)
      throw_error(2744, "Multiple identity columns specified for table '" + name +
                            "'. Only one identity column per table is allowed.");
    c.column_id = t->next_column_id++;
    t->columns.push_back(std::move(c));
  }
  Table* table = t.get();
  db->tables.push_back(std::move(t));
  undo_.created_table(db, table);
  for (const ColumnDef& d : s.column_defs)
    if (d.primary_key) {
      ConstraintDef k;
      k.columns = {d.name};
      add_key_constraint(*db, *table, k);
    }
  for (const ConstraintDef& c : s.constraints) {
    if (c.kind == ConstraintDef::Kind::PrimaryKey || c.kind == ConstraintDef::Kind::Unique)
      add_key_constraint(*db, *table, c);
    else if (c.kind == ConstraintDef::Kind::ForeignKey)
      add_foreign_key(*this, *db, *table, c, true);
  }
}

void Executor::run_alter_table(Statement& s) {
  Database* db = nullptr;
  Table* tp = resolve_table(s.target, false, &db);
  if (!tp)
    throw_error(4902, "Cannot find the object \"" + s.target.back() +
                          "\" because it does not exist or you do not have permissions.");
  Table& t = *tp;
  undo_.before_schema(&t);

  switch (s.alter) {
    case AlterAction::AddColumns: {
      for (size_t i = 0; i < s.column_defs.size(); ++i) {
        const ColumnDef& d = s.column_defs[i];
        if (t.find_column(d.name) >= 0)
          throw_error(2705, "Column names in each table must be unique. Column name '" + d.name + "' in table '" +
                                t.name + "' is specified more than once.");
        Column c = make_column(d, static_cast<int>(t.columns.size() + 1));
        if (c.identity && t.identity_column() >= 0)
          throw_error(2744, "Multiple identity columns specified for table '" + t.name +
                                "'. Only one identity column per table is allowed.");
        if (d.default_value) {
          Frame f{};
          Scope empty;
          f.scope = &empty;
          bind(*d.default_value, empty, nullptr);
          Value v;
          Error err;
          if (!assign_value(eval(*d.default_value, f), c.type, ctx_, &v, &err)) throw_error(err, false);
          c.default_value = v;
        }
        if (!c.nullable && !c.identity && !c.default_value && !t.rows.empty())
          throw_error(4901,
                      "ALTER TABLE only allows columns to be added that can contain nulls, or have a DEFAULT "
                      "definition specified, or the column being added is an identity or timestamp column, or "
                      "alternatively if none of the previous conditions are satisfied the table must be empty to "
                      "allow addition of this column. Column '" + c.name + "' cannot be added to non-empty table '" +
                          t.name + "' because it does not satisfy these conditions.");
        c.column_id = t.next_column_id++;
        size_t index = t.columns.size();
        t.columns.push_back(c);
        for (Row& r : t.rows) {
          if (c.identity) {
            int64_t next = 0;
            if (!t.next_identity(c, &next))
              throw_error(8115, "Arithmetic overflow error converting IDENTITY to data type " + c.type_name + ".");
            t.identity_current = next;
            t.identity_used = true;
            Value v;
            Error err;
            if (!assign_value(Value::integer(next, Type::BigInt), c.type, ctx_, &v, &err)) throw_error(err, false);
            r.push_back(std::move(v));
          } else if (c.default_value && !c.nullable) {
            r.push_back(*c.default_value);
          } else {
            r.push_back(Value::null(c.type));
          }
        }
        (void)index;
      }
      t.touch();
      for (const ConstraintDef& c : s.constraints) {
        if (c.kind == ConstraintDef::Kind::PrimaryKey || c.kind == ConstraintDef::Kind::Unique)
          add_key_constraint(*db, t, c);
        else if (c.kind == ConstraintDef::Kind::ForeignKey)
          add_foreign_key(*this, *db, t, c, s.with_check.value_or(true));
        else if (c.kind == ConstraintDef::Kind::Default) {
          int col = t.find_column(c.default_column);
          if (col < 0) throw_error(1752, "Column '" + c.default_column + "' in table '" + t.name + "' is invalid for creating a default constraint.");
          check_new_object_name(*db, c.name);
          Frame f{};
          Scope empty;
          f.scope = &empty;
          bind(*c.expr, empty, nullptr);
          t.columns[static_cast<size_t>(col)].default_value = eval(*c.expr, f);
          t.columns[static_cast<size_t>(col)].default_name = c.name;
        }
      }
      return;
    }

    case AlterAction::AlterColumn: {
      const ColumnDef& d = s.column_defs[0];
      int ci = t.find_column(d.name);
      if (ci < 0)
        throw_error(4924, "ALTER TABLE ALTER COLUMN failed because column '" + d.name + "' does not exist in table '" +
                              t.name + "'.");
      Column& old = t.columns[static_cast<size_t>(ci)];
      if (auto dep = dependent_object(*db, t, old.name)) {
        // SQL Server follows this with 4922; the dependency is what clients show.
        throw_error(5074, *dep + " ALTER TABLE ALTER COLUMN " + old.name +
                              " failed because one or more objects access this column.");
      }
      ColumnDef def;
      def.name = old.name;
      def.type = d.type;
      def.nullable = d.nullable;
      Column c = make_column(def, ci + 1);
      // Without a null text the column keeps its nullability, so that a
      // widening never loosens a key-to-be.
      c.nullable = d.nullable.value_or(old.nullable);
      c.identity = old.identity;
      c.seed = old.seed;
      c.increment = old.increment;
      c.column_id = old.column_id;
      c.default_value = old.default_value;
      c.default_name = old.default_name;
      for (Row& r : t.rows) {
        Value v;
        Error err;
        if (!assign_value(r[static_cast<size_t>(ci)], c.type, ctx_, &v, &err)) throw_error(err, false);
        if (v.is_null() && !c.nullable)
          throw_error(515, "Cannot insert the value NULL into column '" + c.name + "', table '" + db->name + ".dbo." +
                               t.name + "'; column does not allow nulls. UPDATE fails.");
        if (v.is_null()) v = Value::null(c.type);
        r[static_cast<size_t>(ci)] = std::move(v);
      }
      old = std::move(c);
      t.touch();
      return;
    }

    case AlterAction::DropConstraint: {
      for (const std::string& name : s.names) {
        auto ki = std::find_if(t.indexes.begin(), t.indexes.end(),
                               [&](const KeyIndex& k) { return k.object_id != 0 && names_equal(k.name, name); });
        if (ki != t.indexes.end()) {
          for (const auto& other : db->tables)
            for (const ForeignKey& fk : other->foreign_keys)
              if (names_equal(fk.ref_table, t.name) && fk.ref_columns.size() == ki->columns.size()) {
                bool same = std::equal(fk.ref_columns.begin(), fk.ref_columns.end(), ki->columns.begin(),
                                       [](const std::string& a, const std::string& b) { return names_equal(a, b); });
                if (!same) continue;
                throw_error(3725, "The constraint '" + ki->name + "' is being referenced by table '" + other->name +
                                      "', foreign key constraint '" + fk.name + "'.");
              }
          t.indexes.erase(ki);
          t.touch();
          continue;
        }
        auto fi = std::find_if(t.foreign_keys.begin(), t.foreign_keys.end(),
                               [&](const ForeignKey& f) { return names_equal(f.name, name); });
        if (fi != t.foreign_keys.end()) {
          t.foreign_keys.erase(fi);
          continue;
        }
        bool found_default = false;
        for (Column& c : t.columns)
          if (!c.default_name.empty() && names_equal(c.default_name, name)) {
            c.default_name.clear();
            c.default_value.reset();
            found_default = true;
          }
        if (found_default) continue;
        // SQL Server follows this with 3727 "Could not drop constraint."
        throw_error(3728, "'" + name + "' is not a constraint.");
      }
      return;
    }

    case AlterAction::DropColumn: {
      for (const std::string& name : s.names) {
        int ci = t.find_column(name);
        if (ci < 0)
          throw_error(4924, "ALTER TABLE DROP COLUMN failed because column '" + name + "' does not exist in table '" +
                                t.name + "'.");
        if (auto dep = dependent_object(*db, t, t.columns[static_cast<size_t>(ci)].name))
          throw_error(5074, *dep + " ALTER TABLE DROP COLUMN " + t.columns[static_cast<size_t>(ci)].name +
                                " failed because one or more objects access this column.");
        if (t.columns.size() == 1)
          throw_error(4923, "ALTER TABLE DROP COLUMN failed because '" + name + "' is the only data column in table '" +
                                t.name + "'. A table must have at least one data column.");
        if (t.columns[static_cast<size_t>(ci)].identity) {
          t.identity_used = false;
          t.identity_current = 0;
        }
        t.columns.erase(t.columns.begin() + ci);
        for (Row& r : t.rows) r.erase(r.begin() + ci);
        t.touch();
      }
      return;
    }
  }
}

void Executor::run_create_index(Statement& s) {
  Database* db = nullptr;
  Table* tp = resolve_table(s.target, false, &db);
  if (!tp)
    throw_error(1088, "Cannot find the object \"" + s.target.back() +
                          "\" because it does not exist or you do not have permissions.");
  Table& t = *tp;
  const std::string& name = s.names[0];
  for (const KeyIndex& k : t.indexes)
    if (names_equal(k.name, name))
      throw_error(1913, "The operation failed because an index or statistics with name '" + name +
                            "' already exists on table '" + qualified_table_name(t) + "'.");
  for (const std::string& c : s.columns)
    if (t.find_column(c) < 0)
      throw_error(1911, "Column name '" + c + "' does not exist in the target table or view.");
  if (s.clustered)
    for (const KeyIndex& k : t.indexes)
      if (k.clustered)
        throw_error(1902, "Cannot create more than one clustered index on table '" + qualified_table_name(t) +
                              "'. Drop the existing clustered index '" + k.name + "' before creating another.");
  undo_.before_schema(&t);
  KeyIndex k;
  k.name = name;
  k.columns = s.columns;
  for (std::string& col : k.columns) col = t.columns[static_cast<size_t>(t.find_column(col))].name;
  k.unique = s.unique;
  k.clustered = s.clustered;
  k.index_id = next_index_id(t, s.clustered);
  t.indexes.push_back(k);
  t.touch();
  if (k.unique) check_unique_keys(t, *db, 0, true);
}

void Executor::run_drop_index(Statement& s) {
  Database* db = nullptr;
  Table* tp = resolve_table(s.target, false, &db);
  KeyIndex* k = tp ? tp->find_index(s.names[0]) : nullptr;
  if (!k || k->object_id != 0)
    throw_error(3703, "Cannot drop the index '" + (tp ? tp->name + "." : std::string()) + s.names[0] +
                          "', because it does not exist or you do not have permission.");
  undo_.before_schema(tp);
  tp->indexes.erase(tp->indexes.begin() + (k - tp->indexes.data()));
  tp->touch();
}

void Executor::run_drop_table(Statement& s) {
  std::vector<std::vector<std::string>> targets{s.target};
  for (const std::string& n : s.names) targets.push_back({n});
  for (const auto& names : targets) {
    Database* db = nullptr;
    Table* t = resolve_table(names, false, &db);
    if (!t) {
      if (s.if_exists) continue;
      throw_error(3701, "Cannot drop the table '" + names.back() +
                            "', because it does not exist or you do not have permission.");
    }
    for (const auto& other : db->tables)
      if (other.get() != t)
        for (const ForeignKey& fk : other->foreign_keys)
          if (names_equal(fk.ref_table, t->name))
            throw_error(3726, "Could not drop object '" + qualified_table_name(*t) +
                                  "' because it is referenced by a FOREIGN KEY constraint.");
    if (session_.identity_insert && names_equal(session_.identity_insert->second, t->name) &&
        names_equal(session_.identity_insert->first, db->name))
      session_.identity_insert.reset();
    undo_.dropped_table(db, db->remove_table(t));
  }
}

void Executor::run_create_function(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  const std::string& name = s.target.back();
  check_new_object_name(*db, name);
  // Compile the body once with NULL arguments, so that a missing table or
  // column refuses the function now, as SQL Server does.
  std::map<std::string, Value, std::less<>> saved = session_.variables;
  for (const auto& [pname, ptype] : s.params) {
    std::string upper = pname;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    TypeInfo type;
    Error err;
    if (!parse_type_name(ptype.name, ptype.arg1, ptype.arg2, ptype.max, TypeUse::Column, &type, &err)) {
      session_.variables = saved;
      throw_error(err, false);
    }
    session_.variables[upper] = Value::null(type);
  }
  try {
    std::unique_ptr<Query> body;
    Error perr;
    if (!parse_query_text(s.option_value, &body, &perr)) throw_error(perr, true);
    run_query(*body, nullptr, nullptr);
  } catch (...) {
    session_.variables = saved;
    throw;
  }
  session_.variables = saved;
  auto f = std::make_unique<FunctionDef>();
  f->object_id = db->allocate_object_id();
  f->name = name;
  f->params = s.params;
  f->body = s.option_value;
  f->source = s.source;
  f->created = ctx_.now ? ctx_.now() : DateTime{};
  FunctionDef* fp = f.get();
  db->functions.push_back(std::move(f));
  undo_.created_function(db, fp);
}

void Executor::run_drop_function(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  FunctionDef* f = db->find_function(s.target.back());
  if (!f) {
    if (s.if_exists) return;
    throw_error(3701, "Cannot drop the function '" + s.target.back() +
                          "', because it does not exist or you do not have permission.");
  }
  auto& fs = db->functions;
  auto it = std::find_if(fs.begin(), fs.end(), [&](const auto& p) { return p.get() == f; });
  std::unique_ptr<FunctionDef> owned = std::move(*it);
  fs.erase(it);
  undo_.dropped_function(db, std::move(owned));
}

void Executor::run_grant(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  FunctionDef* f = db->find_function(s.target.back());
  if (!f && !db->find_table(s.target.back()))
    throw_error(15151, "Cannot find the object '" + s.target.back() +
                           "', because it does not exist or you do not have permission.");
  if (!f) return;
  undo_.before_function_change(db, f);
  for (const std::string& grantee : s.names)
    if (std::none_of(f->execute_grantees.begin(), f->execute_grantees.end(),
                     [&](const std::string& g) { return names_equal(g, grantee); }))
      f->execute_grantees.push_back(grantee);
}

}  // namespace standin
