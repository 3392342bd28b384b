#include "steps/schema_steps.h"

#include <stdexcept>
#include <string>

#include "scripts/catalog.h"

namespace upgrade::steps {

void add_columns(Tenant& t, std::span<const ColumnAddition> run) {
  for (const ColumnAddition& c : run) {
    if (c.step_before) t.step();
    t.sql.AddField(c.table, c.column, c.type, c.size, c.null_text);
  }
}

void exec_each(Tenant& t, std::span<const char* const> statements, db::Guard guard) {
  for (const char* statement : statements) t.exec(statement, guard);
}

void change_types(Tenant& t, std::span<const TypeChange> changes, db::Guard guard) {
  for (const TypeChange& c : changes)
    t.sql.AlterColumnType(c.table, c.column, c.new_type, c.statement, db::Channel::Single, guard);
}

bool create_if_missing(Tenant& t, std::string_view table, std::span<const Lines> statements, db::Guard guard,
                       const std::function<void()>& fill) {
  if (t.sql.TableExists(table)) return false;
  t.atomically([&] {
    for (const Lines& statement : statements) t.lines(statement, guard);
    if (fill) fill();
  });
  return true;
}

std::string_view stored_script(std::string_view name) {
  const scripts::Script* script = scripts::find(name);
  if (!script) throw std::logic_error("stored script missing: " + std::string(name));
  return script->text;
}

}  // namespace upgrade::steps
