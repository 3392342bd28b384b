#include "client/output_format.h"

namespace standin::client {

std::string format_result_set(const ResultSet& result) {
  std::string out;
  for (size_t i = 0; i < result.columns.size(); ++i) {
    if (i > 0) out.push_back('\t');
    out += result.columns[i].name;
  }
  out.push_back('\n');
  for (const auto& row : result.rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out.push_back('\t');
      out += row[i].is_null() ? std::string("NULL") : row[i].to_display();
    }
    out.push_back('\n');
  }
  return out;
}

}  // namespace standin::client
