// Sources of a FROM clause: base tables, catalog views, derived tables and
// inline table-valued functions. Also the resolution of multi-part names.
#include "exec/executor.h"
#include "exec/messages.h"
#include "parser/lexer.h"
#include "parser/parser.h"
#include "types/convert.h"
#include "types/type_names.h"

namespace standin {

namespace {

bool is_schema_ok(const std::string& schema) { return schema.empty() || names_equal(schema, "dbo"); }

}  // namespace

Database* Executor::resolve_database(const std::vector<std::string>& names, size_t table_parts) {
  // names: [server.][db.][schema.]object; `table_parts` counts schema and object.
  if (names.size() > table_parts) {
    const std::string& db = names[names.size() - table_parts - 1];
    if (db.empty()) return &current_database();
    Database* d = catalog_.find(db);
    if (!d) throw_error(2702, "Database '" + db + "' does not exist.");
    return d;
  }
  return &current_database();
}

Table* Executor::resolve_table(const std::vector<std::string>& names, bool must_exist, Database** db_out) {
  Database* db = resolve_database(names, std::min<size_t>(names.size(), 2));
  if (db_out) *db_out = db;
  if (names.size() >= 2 && !is_schema_ok(names[names.size() - 2])) {
    if (must_exist) throw_invalid_object_name(dotted_name(names));
    return nullptr;
  }
  Table* t = db->find_table(names.back());
  if (!t && must_exist) throw_invalid_object_name(dotted_name(names));
  return t;
}

std::unique_ptr<Relation> Executor::open_relation(const TableRef& ref, const Scope* outer_scope,
                                                  const Frame* outer_frame) {
  auto rel = std::make_unique<Relation>();
  rel->alias = ref.alias;
  switch (ref.kind) {
    case TableRef::Kind::Named: open_named(ref, rel.get()); return rel;
    case TableRef::Kind::Derived: open_derived(ref, outer_scope, outer_frame, rel.get()); return rel;
    case TableRef::Kind::Function: open_function(ref, outer_scope, outer_frame, rel.get()); return rel;
    case TableRef::Kind::Join: break;
  }
  throw_error(102, "Incorrect syntax near 'JOIN'.", 15);
}

namespace {

// A relation that owns the rows of a result set it was made from.
void take_result(ResultSet rs, Relation* rel) {
  for (auto& c : rs.columns) {
    rel->column_names.push_back(c.name);
    rel->column_types.push_back(c.type);
  }
  rel->owned = std::move(rs.rows);
  rel->rows = &rel->owned;
}

}  // namespace

// A catalog view, a view or a table, in that order.
void Executor::open_named(const TableRef& ref, Relation* rel) {
  rel->name = ref.names.back();
  if (open_system_view(*this, ref.names, rel)) {
    rel->rows = &rel->owned;
    return;
  }
  if (open_view(ref.names, rel)) return;
  Table* t = resolve_table(ref.names, true);
  rel->table = t;
  rel->name = t->name;
  for (const Column& c : t->columns) {
    rel->column_names.push_back(c.name);
    rel->column_types.push_back(c.type);
  }
  rel->rows = &t->rows;
}

void Executor::open_derived(const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame, Relation* rel) {
  ResultSet rs = run_query(*ref.query, outer_scope, outer_frame);
  for (size_t i = 0; i < rs.columns.size(); ++i)
    if (rs.columns[i].name.empty())
      throw_error(8155,
                  "No column name was specified for column " + std::to_string(i + 1) + " of '" + ref.alias + "'.");
  take_result(std::move(rs), rel);
  rel->name = ref.alias;
}

// A table-valued function: its parameters are set as variables while its
// query runs, and the session's variables are back when it ends.
void Executor::open_function(const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame, Relation* rel) {
  Database* db = resolve_database(ref.names, std::min<size_t>(ref.names.size(), 2));
  FunctionDef* fn = db->find_function(ref.names.back());
  if (!fn) throw_invalid_object_name(dotted_name(ref.names));
  if (ref.args.size() != fn->params.size())
    throw_error(ref.args.size() < fn->params.size() ? 313 : 8144,
                ref.args.size() < fn->params.size()
                    ? "An insufficient number of arguments were supplied for the procedure or function " +
                          dotted_name(ref.names) + "."
                    : "Procedure or function " + fn->name + " has too many arguments specified.");
  std::map<std::string, Value, std::less<>> saved = session_.variables;
  ResultSet rs;
  try {
    set_function_arguments(ref, *fn, outer_scope, outer_frame);
    std::unique_ptr<Query> body;
    Error perr;
    if (!parse_query_text(fn->body, &body, &perr)) throw_error(perr);
    rs = run_query(*body, nullptr, nullptr);
  } catch (...) {
    session_.variables = std::move(saved);
    throw;
  }
  session_.variables = std::move(saved);
  take_result(std::move(rs), rel);
  rel->name = fn->name;
}

// Each argument converted to its parameter's type. Arguments see the
// enclosing query, not this level's other sources.
void Executor::set_function_arguments(const TableRef& ref, const FunctionDef& fn, const Scope* outer_scope,
                                      const Frame* outer_frame) {
  Frame f{nullptr, outer_frame, nullptr, outer_scope};
  for (size_t i = 0; i < ref.args.size(); ++i) {
    Expr& a = *ref.args[i];
    Scope empty;
    empty.outer = outer_scope;
    bind(a, empty, nullptr);
    Value v = eval(a, f);
    TypeInfo type;
    Error err;
    const TypeSpec& ts = fn.params[i].second;
    if (!parse_type_name(ts.name, ts.arg1, ts.arg2, ts.max, TypeUse::Column, &type, &err)) throw_error(err);
    Value converted;
    if (!assign_value(v, type, ctx_, &converted, &err)) throw_error(err);
    session_.variables[ascii_uppered(fn.params[i].first)] = converted;
  }
}

}  // namespace standin
