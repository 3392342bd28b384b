#include "steps/template_layouts.h"

namespace upgrade::steps {

std::string column_line(const scripts::LayoutColumn& column) {
  std::string line = "[";
  line += column.name;
  line += "] [";
  line += column.type;
  line += "]";
  if (!column.size.empty()) {
    line += "(";
    line += column.size;
    line += ")";
  }
  if (column.identity) line += " IDENTITY(1,1)";
  line += column.not_null ? " NOT NULL" : " NULL";
  return line;
}

Lines create_statement(std::string_view table, std::span<const scripts::LayoutColumn> layout) {
  Lines lines{"CREATE TABLE dbo." + std::string(table) + " ("};
  for (size_t i = 0; i < layout.size(); ++i)
    lines.push_back(column_line(layout[i]) + (i + 1 < layout.size() ? "," : ""));
  lines.push_back(") ON [PRIMARY]");
  return lines;
}

Lines key_statement(std::string_view table, std::string_view first_key, std::string_view second_key) {
  std::string name(table);
  return {"ALTER TABLE [dbo].[" + name + "]  ADD CONSTRAINT [PK_" + name + "] PRIMARY KEY CLUSTERED (",
          "[" + std::string(first_key) + "] ASC,", "[" + std::string(second_key) + "] ASC",
          ")WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]"};
}

}  // namespace upgrade::steps
