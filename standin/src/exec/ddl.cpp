// CREATE/DROP TABLE, indexes and keys, inline functions, GRANT. ALTER TABLE
// is alter_table.cpp; both build tables from table_definition.h.
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "exec/executor.h"
#include "exec/messages.h"
#include "exec/table_definition.h"
#include "parser/lexer.h"
#include "parser/object_permissions.h"
#include "parser/parser.h"
#include "types/ascii.h"
#include "types/convert.h"
#include "types/type_names.h"

namespace standin {

namespace {

std::string canonical_type_name(const std::string& written) {
  std::string n = ascii_lowered(written);
  if (n == "integer") return "int";
  if (n == "dec") return "decimal";
  if (n == "character") return "char";
  return n;
}

// The text sys.default_constraints shows: the expression in parentheses,
// a number in a second pair of its own, as SQL Server stores it
// (DEFAULT 0 -> ((0)), DEFAULT 'N' -> ('N'), DEFAULT getdate() -> (getdate())).
std::string default_definition(const Expr& e, const Value& value) {
  const Expr* literal = &e;
  std::string sign;
  if (e.kind == ExprKind::Negate && !e.args.empty() && e.args[0]->kind == ExprKind::Literal) {
    literal = e.args[0].get();
    sign = "-";
  }
  if (literal->kind == ExprKind::Literal) {
    const Value& v = literal->value;
    if (v.is_null()) return "(NULL)";
    if (v.type().is_string()) return "(" + quoted_literal(v) + ")";
    return "((" + sign + v.to_display() + "))";
  }
  if (e.kind == ExprKind::Function && e.args.empty()) return "(" + ascii_lowered(e.op) + "())";
  return value_definition(value);
}

int next_index_id(const Table& t, bool clustered) {
  if (clustered) return 1;
  int id = 2;
  for (const KeyIndex& k : t.indexes) id = std::max(id, k.index_id + 1);
  return id;
}

}  // namespace

Column make_column(const ColumnDef& d, int ordinal) {
  Column c;
  c.name = d.name;
  Error err;
  if (!parse_type_name(d.type.name, d.type.arg1, d.type.arg2, d.type.max, TypeUse::Column, &c.type, &err)) {
    if (err.number == 2715) err = unknown_column_type_error(ordinal, d.type.name);
    throw_error(err);
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

std::string quoted_literal(const Value& v) {
  std::string out = v.type().is_unicode() ? "N'" : "'";
  for (char ch : v.string_value()) {
    out += ch;
    if (ch == '\'') out += '\'';
  }
  return out + "'";
}

std::string value_definition(const Value& value) {
  if (value.is_null()) return "(NULL)";
  return value.type().is_string() ? "(" + quoted_literal(value) + ")" : "((" + value.to_display() + "))";
}

// SQL Server keeps the first nine characters of the table's name and the
// first five of the column's, then the object id in hex.
std::string generated_constraint_name(std::string_view prefix, const Table& t, const Column* c, int32_t object_id) {
  std::array<char, 9> hex{};
  std::snprintf(hex.data(), hex.size(), "%08X", static_cast<uint32_t>(object_id));
  std::string name = std::string(prefix) + "__" + t.name.substr(0, 9) + "__";
  if (c) name += c->name.substr(0, 5) + "__";
  return name + hex.data();
}

void add_default_constraint(Database& db, Table& t, int ci, const std::string& name, const Expr& expr, Value value) {
  Column& c = t.columns[static_cast<size_t>(ci)];
  if (c.default_constraint) throw_could_not_create(1781, "Column already has a DEFAULT bound to it.");
  if (!name.empty()) check_new_object_name(db, name);
  DefaultConstraint d;
  d.object_id = db.allocate_object_id();
  d.system_named = name.empty();
  d.name = d.system_named ? generated_constraint_name("DF", t, &c, d.object_id) : name;
  d.definition = default_definition(expr, value);
  d.value = std::move(value);
  c.default_constraint = std::move(d);
}

void check_new_object_name(const Database& db, const std::string& name) {
  if (db.object_exists(name)) throw_error(2714, "There is already an object named '" + name + "' in the database.");
}

void add_key_constraint(Database& db, Table& t, const ConstraintDef& c) {
  bool primary = c.kind == ConstraintDef::Kind::PrimaryKey;
  std::string name = c.name.empty() ? (primary ? "PK__" : "UQ__") + t.name : c.name;
  if (!c.name.empty()) check_new_object_name(db, name);
  if (primary && t.primary_key())
    throw_could_not_create(1779, "Table '" + t.name + "' already has a primary key defined on it.");
  if (c.clustered)
    for (const KeyIndex& k : t.indexes)
      if (k.clustered)
        throw_could_not_create(1902, "Cannot create more than one clustered index on table '" +
                                         qualified_table_name(t) + "'. Drop the existing clustered index '" + k.name +
                                         "' before creating another.");
  for (const std::string& col : c.columns) {
    int i = t.find_column(col);
    if (i < 0) throw_could_not_create(1911, "Column name '" + col + "' does not exist in the target table or view.");
    if (primary && t.columns[static_cast<size_t>(i)].nullable)
      throw_could_not_create(8111,
                             "Cannot define PRIMARY KEY constraint on nullable column in table '" + t.name + "'.");
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
        value += (i ? ", " : "") + (r[static_cast<size_t>(cols[i])].is_null()
                                        ? std::string("<NULL>")
                                        : r[static_cast<size_t>(cols[i])].to_display());
      throw_could_not_create(1505,
                             "The CREATE UNIQUE INDEX statement terminated because a duplicate key was found for "
                             "the object name '" +
                                 qualified_table_name(t) + "' and the index name '" + name +
                                 "'. The duplicate key value is (" + value + ").");
    }
}

void add_foreign_key(Database& db, Table& t, const ConstraintDef& c, bool check_existing) {
  std::string name = c.name.empty() ? "FK__" + t.name + "__" + c.ref_table.back() : c.name;
  if (!c.name.empty()) check_new_object_name(db, name);
  Table* parent = db.find_table(c.ref_table.back());
  if (!parent)
    throw_could_not_create(1767, "Foreign key '" + name + "' references invalid table '" + c.ref_table.back() + "'.");
  std::vector<std::string> ref_cols = c.ref_columns;
  if (ref_cols.empty() && parent->primary_key()) ref_cols = parent->primary_key()->columns;
  for (const std::string& col : c.columns)
    if (t.find_column(col) < 0)
      throw_could_not_create(1769, "Foreign key '" + name + "' references invalid column '" + col +
                                       "' in referencing table '" + t.name + "'.");
  for (const std::string& col : ref_cols)
    if (parent->find_column(col) < 0)
      throw_could_not_create(1770, "Foreign key '" + name + "' references invalid column '" + col +
                                       "' in referenced table '" + parent->name + "'.");
  if (ref_cols.size() != c.columns.size())
    throw_could_not_create(
        8139, "Number of referencing columns in foreign key differs from number of referenced columns, table '" +
                  t.name + "'.");
  // The referenced columns must be exactly a primary key or unique key.
  bool keyed = false;
  for (const KeyIndex& k : parent->indexes) {
    if (!k.unique || k.columns.size() != ref_cols.size()) continue;
    bool all = std::all_of(ref_cols.begin(), ref_cols.end(), [&](const std::string& rc) {
      return std::any_of(k.columns.begin(), k.columns.end(),
                         [&](const std::string& kc) { return names_equal(kc, rc); });
    });
    keyed = keyed || all;
  }
  if (!keyed)
    throw_could_not_create(1776, "There are no primary or candidate keys in the referenced table '" +
                                     qualified_table_name(*parent) +
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
      e.error.message = "The ALTER TABLE statement conflicted with the FOREIGN KEY constraint \"" + name + "\". " +
                        conflict_place(db, *parent, ref_cols);
      throw;
    }
  }
}

void Executor::run_create_table(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  const std::string& name = s.target.back();
  if (s.target.size() >= 2 && !s.target[s.target.size() - 2].empty() &&
      !names_equal(s.target[s.target.size() - 2], "dbo"))
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
    if (t->find_column(d.name) >= 0) throw_duplicate_column(d.name, name);
    Column c = make_column(d, static_cast<int>(i + 1));
    // A column in the table's primary key is NOT NULL unless declared NULL.
    for (const ConstraintDef& k : s.constraints)
      if (k.kind == ConstraintDef::Kind::PrimaryKey && !d.nullable)
        for (const std::string& kc : k.columns)
          if (names_equal(kc, d.name)) c.nullable = false;
    identities += c.identity;
    if (identities > 1) throw_second_identity(name);
    c.column_id = t->next_column_id++;
    t->columns.push_back(std::move(c));
  }
  Table* table = t.get();
  db->tables.push_back(std::move(t));
  undo_.created_table(db, table);
  for (size_t i = 0; i < s.column_defs.size(); ++i) {
    const ColumnDef& d = s.column_defs[i];
    if (d.default_value)
      add_default_constraint(*db, *table, static_cast<int>(i), d.default_name, *d.default_value,
                             eval_constant(*d.default_value));
  }
  for (const ColumnDef& d : s.column_defs)
    if (d.primary_key) {
      ConstraintDef k;
      k.columns = {d.name};
      add_key_constraint(*db, *table, k);
    }
  for (size_t i = 0; i < s.column_defs.size(); ++i)
    for (const ConstraintDef& c : s.column_defs[i].checks)
      add_check_constraint(*this, *db, *table, c, static_cast<int>(i), true);
  for (const ConstraintDef& c : s.constraints) {
    if (c.kind == ConstraintDef::Kind::PrimaryKey || c.kind == ConstraintDef::Kind::Unique)
      add_key_constraint(*db, *table, c);
    else if (c.kind == ConstraintDef::Kind::ForeignKey)
      add_foreign_key(*db, *table, c, true);
    else if (c.kind == ConstraintDef::Kind::Check)
      add_check_constraint(*this, *db, *table, c, -1, true);
  }
}

void Executor::run_create_index(Statement& s) {
  Database* db = nullptr;
  Table* tp = resolve_table(s.target, false, &db);
  if (!tp) throw_object_not_found(1088, s.target.back());
  Table& t = *tp;
  const std::string& name = s.names[0];
  for (const KeyIndex& k : t.indexes)
    if (names_equal(k.name, name))
      throw_error(1913, "The operation failed because an index or statistics with name '" + name +
                            "' already exists on table '" + qualified_table_name(t) + "'.");
  for (const std::string& c : s.columns)
    if (t.find_column(c) < 0) throw_error(1911, "Column name '" + c + "' does not exist in the target table or view.");
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
      throw_cannot_drop("table", names.back());
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
    std::string upper = ascii_uppered(pname);
    TypeInfo type;
    Error err;
    if (!parse_type_name(ptype.name, ptype.arg1, ptype.arg2, ptype.max, TypeUse::Column, &type, &err)) {
      session_.variables = saved;
      throw_error(err);
    }
    session_.variables[upper] = Value::null(type);
  }
  try {
    std::unique_ptr<Query> body;
    Error perr;
    if (!parse_query_text(s.option_value, &body, &perr)) throw_error(perr);
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
    throw_cannot_drop("function", s.target.back());
  }
  auto& fs = db->functions;
  auto it = std::find_if(fs.begin(), fs.end(), [&](const auto& p) { return p.get() == f; });
  std::unique_ptr<FunctionDef> owned = std::move(*it);
  fs.erase(it);
  undo_.dropped_function(db, std::move(owned));
}

namespace {

// The kind GRANT sees an object as: a function here is inline table-valued,
// which has a table's permissions and not EXECUTE.
std::optional<GrantableKind> grantable_kind(const Database& db, std::string_view name) {
  if (db.find_table(name)) return GrantableKind::Table;
  if (db.find_view(name)) return GrantableKind::View;
  if (db.find_function(name)) return GrantableKind::InlineFunction;
  return std::nullopt;
}

std::vector<std::string> split_permissions(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t comma = list.find(','); comma != std::string::npos; comma = list.find(',', start)) {
    out.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  out.push_back(list.substr(start));
  return out;
}

}  // namespace

// Only public is a principal here: the engine has no users or roles.
void Executor::run_grant(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  std::optional<GrantableKind> kind = grantable_kind(*db, s.target.back());
  if (!kind)
    throw_error(15151, "Cannot find the object '" + s.target.back() +
                           "', because it does not exist or you do not have permission.");
  std::vector<const ObjectPermission*> permissions;
  for (const std::string& name : split_permissions(s.option)) {
    const ObjectPermission* p = find_object_permission(name);
    if (!p || !p->applies_to(*kind))
      throw_error(4606, "Granted or revoked privilege " + ascii_uppered(name) + " is not compatible with object.");
    permissions.push_back(p);
  }
  for (const std::string& grantee : s.names)
    if (!iequals(grantee, "public"))
      throw_error(15151,
                  "Cannot find the user '" + grantee + "', because it does not exist or you do not have permission.");
  std::vector<ObjectGrant>* grants = nullptr;
  if (Table* t = db->find_table(s.target.back())) {
    undo_.before_schema(t);
    grants = &t->grants;
  } else {
    FunctionDef* f = *kind == GrantableKind::View ? db->find_view(s.target.back()) : db->find_function(s.target.back());
    undo_.before_function_change(db, f);
    grants = &f->grants;
  }
  for (const ObjectPermission* p : permissions) {
    ObjectGrant grant{std::string(p->type), "public"};
    if (std::find(grants->begin(), grants->end(), grant) == grants->end()) grants->push_back(std::move(grant));
  }
}

}  // namespace standin
