#include "schema_steps.h"

namespace upgrade::stage1 {

void add_columns(Tenant& t, std::span<const ColumnAddition> run) {
  for (const ColumnAddition& c : run) {
    if (c.step_before) t.step();
    t.sql.AddField(c.table, c.column, c.type, c.size, c.null_text);
  }
}

bool create_if_missing(Tenant& t, std::string_view table, std::span<const Lines> statements) {
  if (t.sql.TableExists(table)) return false;
  for (const Lines& statement : statements) t.lines(statement, db::Guard::warning());
  return true;
}

}  // namespace upgrade::stage1
