#include "workloads.h"

#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "scripts/catalog.h"
#include "sqlite_dialect.h"
#include "table_layouts.h"

namespace bench {
namespace {

// The first `count` statements of the scripts, read in the order given (the
// bank directory is split over three scripts whose sizes depend on the
// edition of the Bundesbank file).
std::vector<std::string_view> first_statements(std::initializer_list<std::string_view> script_names, size_t count) {
  std::vector<std::string_view> lines;
  for (std::string_view name : script_names) {
    const scripts::Script* script = scripts::find(name);
    if (!script) throw std::runtime_error("no stored script " + std::string(name));
    std::string_view text = script->text;
    while (!text.empty() && lines.size() < count) {
      size_t end = text.find("\r\n");
      lines.push_back(text.substr(0, end));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
    }
  }
  if (lines.size() < count) throw std::runtime_error("the stored scripts are too short");
  return lines;
}

// The engine's scripts put one statement per line; SQLite wants semicolons.
Workload make_workload(std::string title, std::string table, std::initializer_list<std::string_view> script_names,
                       size_t count, std::string tsql_setup, std::string sqlite_setup) {
  Workload w{std::move(title), std::move(table), std::move(tsql_setup), {}, std::move(sqlite_setup), {}, 0};
  for (std::string_view statement : first_statements(script_names, count)) {
    w.tsql_script.append(statement).append("\r\n");
    w.sqlite_script += positional_insert_for_sqlite(statement) + ";\r\n";
    ++w.statements;
  }
  return w;
}

}  // namespace

Workload bank_code_inserts() {
  return make_workload("(a) bank-code inserts into D_blz", "D_blz", {"cmdD_blz1", "cmdD_blz2"}, 6000,
                       bank_directory_ddl_tsql(), bank_directory_ddl_sqlite());
}

Workload chart_positional_inserts() {
  return make_workload("(b) positional inserts of 108 values into F5SKR49", "F5SKR49", {"cmdSKR49"}, 1000,
                       skr49_chart_ddl_tsql(), skr49_chart_ddl_sqlite());
}

}  // namespace bench
