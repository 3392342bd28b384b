#include "db/connection.h"
#include "db/sql_text.h"

namespace db {

int Rowset::column_index(std::string_view name) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (iequals(columns[i], name)) return static_cast<int>(i);
  }
  return -1;
}

std::string Rowset::text(size_t row, std::string_view column) const {
  int index = column_index(column);
  if (index < 0 || row >= rows.size()) return {};
  const auto& value = rows[row][static_cast<size_t>(index)];
  return value ? *value : std::string();
}

}  // namespace db
