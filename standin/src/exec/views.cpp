// Views: CREATE, ALTER and DROP VIEW, and reading a view in a FROM clause.
// A view keeps its query as text, as functions do, and runs it where it is
// read; it sees neither the query that reads it nor the session's variables.
#include <algorithm>

#include "exec/executor.h"
#include "exec/messages.h"
#include "parser/parser.h"

namespace standin {

namespace {

std::unique_ptr<Query> parse_view_query(const std::string& text) {
  std::unique_ptr<Query> query;
  Error err;
  if (!parse_query_text(text, &query, &err)) throw_error(err);
  return query;
}

// The view's column names: its column list, else the names of its query's
// columns, each given and unique.
std::vector<std::string> view_column_names(const std::string& view, const std::vector<std::string>& listed,
                                           const std::vector<ColumnInfo>& columns) {
  if (!listed.empty() && listed.size() != columns.size())
    throw_error(listed.size() < columns.size() ? 8158 : 8159, "'" + view + "' has " +
                                                                  (listed.size() < columns.size() ? "more" : "fewer") +
                                                                  " columns than were specified in the column list.");
  std::vector<std::string> names = listed;
  if (names.empty())
    for (size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].name.empty())
        throw_error(4511, "Create View or Function failed because no column name was specified for column " +
                              std::to_string(i + 1) + ".");
      names.push_back(columns[i].name);
    }
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (names_equal(names[i], names[j]))
        throw_error(4506, "Column names in each view or function must be unique. Column name '" + names[i] +
                              "' in view or function '" + view + "' is specified more than once.");
  return names;
}

}  // namespace

// A view's query sees none of the session's variables; they are back when
// it ends, however it ends.
ResultSet Executor::run_view_query(Query& query) {
  std::map<std::string, Value, std::less<>> saved = std::move(session_.variables);
  session_.variables.clear();
  ResultSet rs;
  try {
    rs = run_query(query, nullptr, nullptr);
  } catch (...) {
    session_.variables = std::move(saved);
    throw;
  }
  session_.variables = std::move(saved);
  return rs;
}

// Runs the view's query once, so that a missing table or column, or a column
// without a name, refuses the view now, as SQL Server does.
void Executor::check_view_definition(Statement& s) {
  std::unique_ptr<Query> query = parse_view_query(s.option_value);
  ResultSet rs = run_view_query(*query);
  view_column_names(s.target.back(), s.columns, rs.columns);
}

void Executor::run_create_view(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  const std::string& name = s.target.back();
  if (db->object_exists(name)) throw_error(2714, "There is already an object named '" + name + "' in the database.");
  check_view_definition(s);
  auto v = std::make_unique<FunctionDef>();
  v->object_id = db->allocate_object_id();
  v->name = name;
  v->view = true;
  v->view_columns = s.columns;
  v->body = s.option_value;
  v->source = s.source;
  v->created = ctx_.now ? ctx_.now() : DateTime{};
  FunctionDef* vp = v.get();
  db->functions.push_back(std::move(v));
  undo_.created_function(db, vp);
}

void Executor::run_alter_view(Statement& s) {
  Database* db = resolve_database(s.target, std::min<size_t>(s.target.size(), 2));
  FunctionDef* v = db->find_view(s.target.back());
  if (!v) throw_invalid_object_name(dotted_name(s.target));
  check_view_definition(s);
  undo_.before_function_change(db, v);
  v->view_columns = s.columns;
  v->body = s.option_value;
  v->source = s.source;
}

void Executor::run_drop_view(Statement& s) {
  std::vector<std::vector<std::string>> targets{s.target};
  for (const std::string& more : s.names) targets.push_back({more});
  for (const auto& target : targets) {
    Database* db = resolve_database(target, std::min<size_t>(target.size(), 2));
    FunctionDef* v = db->find_view(target.back());
    if (!v) {
      if (s.if_exists) continue;
      if (db->find_table(target.back()))
        throw_error(3705, "Cannot use DROP VIEW with '" + target.back() + "' because '" + target.back() +
                              "' is a table. Use DROP TABLE.");
      throw_error(3701, "Cannot drop the view '" + target.back() +
                            "', because it does not exist or you do not have permission.");
    }
    auto& fs = db->functions;
    auto it = std::find_if(fs.begin(), fs.end(), [&](const auto& p) { return p.get() == v; });
    std::unique_ptr<FunctionDef> owned = std::move(*it);
    fs.erase(it);
    undo_.dropped_function(db, std::move(owned));
  }
}

bool Executor::open_view(const std::vector<std::string>& names, Relation* rel) {
  if (names.size() >= 2 && !names[names.size() - 2].empty() && !names_equal(names[names.size() - 2], "dbo"))
    return false;
  Database* db = resolve_database(names, std::min<size_t>(names.size(), 2));
  const FunctionDef* v = db->find_view(names.back());
  if (!v) return false;
  std::unique_ptr<Query> query = parse_view_query(v->body);
  ResultSet rs = run_view_query(*query);
  rel->column_names = view_column_names(v->name, v->view_columns, rs.columns);
  for (const ColumnInfo& c : rs.columns) rel->column_types.push_back(c.type);
  rel->name = v->name;
  rel->owned = std::move(rs.rows);
  rel->rows = &rel->owned;
  return true;
}

}  // namespace standin
