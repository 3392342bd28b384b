#include "exec/batch_compile.h"

#include <algorithm>

#include "exec/messages.h"

namespace standin {

namespace {

// A table of the statement, under the name its columns are qualified with.
struct Source {
  std::string qualifier;  // the alias, else the table's name
  const Table* table;
};

// The tables one data statement reads or writes, bound before it runs. The
// statement is left to run time (`deferred`) as soon as one of its sources
// cannot be bound here: a table missing from the catalogue, a view, a
// function, a derived table, another schema.
class StatementBinding {
 public:
  explicit StatementBinding(const Database& db) : db_(db) {}

  bool deferred() const { return deferred_; }
  const std::vector<std::string>& missing() const { return missing_; }

  void add_named(const std::vector<std::string>& names, const std::string& alias);
  void add_from(const TableRef& ref);
  void need_column(const std::vector<std::string>& names);
  void need_in(const Expr& e);
  void need_in(const SelectCore& core);

 private:
  const Database& db_;
  std::vector<Source> sources_;
  std::vector<std::string> missing_;
  bool deferred_ = false;
};

void StatementBinding::add_named(const std::vector<std::string>& names, const std::string& alias) {
  // [db.][schema.]name: only the session's own database and schema are
  // bound here.
  const Table* t = nullptr;
  if (names.size() <= 2 && (names.size() == 1 || names[0].empty() || names_equal(names[0], "dbo")))
    t = db_.find_table(names.back());
  if (!t) {
    deferred_ = true;
    return;
  }
  sources_.push_back(Source{alias.empty() ? names.back() : alias, t});
}

void StatementBinding::add_from(const TableRef& ref) {
  switch (ref.kind) {
    case TableRef::Kind::Named: return add_named(ref.names, ref.alias);
    case TableRef::Kind::Join:
      add_from(*ref.left);
      add_from(*ref.right);
      if (ref.on) need_in(*ref.on);
      return;
    case TableRef::Kind::Function:
    case TableRef::Kind::Derived: deferred_ = true; return;
  }
}

// names: [table.]column; a longer name, or a qualifier that names none of
// the sources, is for the run-time binder to judge.
void StatementBinding::need_column(const std::vector<std::string>& names) {
  if (deferred_ || names.empty() || names.size() > 2) return;
  const std::string& column = names.back();
  bool qualified = names.size() == 2;
  bool qualifier_known = false;
  for (const Source& s : sources_) {
    if (qualified && !names_equal(s.qualifier, names[0])) continue;
    qualifier_known = true;
    if (s.table->find_column(column) >= 0) return;
  }
  if (qualified && !qualifier_known) return;
  auto seen = [&](const std::string& m) { return names_equal(m, column); };
  if (std::none_of(missing_.begin(), missing_.end(), seen)) missing_.push_back(column);
}

// A subquery binds against its own tables first: it is left to run time.
void StatementBinding::need_in(const Expr& e) {
  if (e.kind == ExprKind::Column) need_column(e.names);
  if (e.query) return;
  for (const ExprPtr& a : e.args)
    if (a) need_in(*a);
}

// ORDER BY may name the select list's aliases: it is left to run time.
void StatementBinding::need_in(const SelectCore& core) {
  if (core.nested || core.from.empty()) {
    deferred_ = true;
    return;
  }
  for (const auto& ref : core.from) add_from(*ref);
  for (const SelectItem& item : core.items)
    if (item.expr) need_in(*item.expr);
  if (core.where) need_in(*core.where);
  for (const ExprPtr& g : core.group_by) need_in(*g);
  if (core.having) need_in(*core.having);
}

// The columns of one data statement that its tables lack; empty when it
// binds, or when it is compiled only as it runs.
std::vector<std::string> missing_columns(const Database& db, const Statement& s);

std::vector<std::string> missing_in_query(const Database& db, const Query& q) {
  for (const SelectCore& core : q.cores) {
    StatementBinding binding(db);
    binding.need_in(core);
    if (!binding.deferred() && !binding.missing().empty()) return binding.missing();
  }
  return {};
}

std::vector<std::string> missing_in_change(const Database& db, const Statement& s) {
  StatementBinding binding(db);
  if (s.from.empty())
    binding.add_named(s.target, s.target_alias);
  else
    for (const auto& ref : s.from) binding.add_from(*ref);
  for (const auto& [column, value] : s.assignments) {
    binding.need_column(column);
    if (value) binding.need_in(*value);
  }
  if (s.where) binding.need_in(*s.where);
  return binding.deferred() ? std::vector<std::string>{} : binding.missing();
}

std::vector<std::string> missing_in_insert(const Database& db, const Statement& s) {
  StatementBinding binding(db);
  binding.add_named(s.target, "");
  for (const std::string& column : s.columns) binding.need_column({column});
  if (!binding.deferred() && !binding.missing().empty()) return binding.missing();
  return s.query ? missing_in_query(db, *s.query) : std::vector<std::string>{};
}

std::vector<std::string> missing_columns(const Database& db, const Statement& s) {
  switch (s.kind) {
    case StatementKind::Select: return s.query ? missing_in_query(db, *s.query) : std::vector<std::string>{};
    case StatementKind::Insert: return missing_in_insert(db, s);
    case StatementKind::Update:
    case StatementKind::Delete: return missing_in_change(db, s);
    default: return {};
  }
}

}  // namespace

bool BatchCompiler::check(const Statement& s, std::vector<Error>* errors) {
  if (s.kind == StatementKind::Use) after_use_ = true;
  if (after_use_) return true;
  for (const auto& inner : s.body)
    if (inner && !check(*inner, errors)) return false;
  if (!db_) return true;
  std::vector<std::string> missing = missing_columns(*db_, s);
  for (const std::string& column : missing) {
    errors->push_back(invalid_column_name(column));
    errors->back().line = static_cast<int>(s.line);
  }
  return missing.empty();
}

}  // namespace standin
