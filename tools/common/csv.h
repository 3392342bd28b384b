// The CSV lists in data/: comma-separated, fields with a comma or a quote in
// double quotes (a quote inside doubled), UTF-8. Lines starting with '#' are
// comments; the first other line names the columns.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

class CsvTable {
 public:
  // Parses `text`; throws std::runtime_error naming `source` and the line
  // when a row has another number of fields than the header, or a quote is
  // left open.
  static CsvTable parse(std::string_view text, const std::string& source);
  static CsvTable load(const std::string& path);

  size_t size() const { return rows_.size(); }
  const std::vector<std::string>& row(size_t i) const { return rows_[i]; }
  // Index of the column called `name`; throws when there is none.
  size_t column(std::string_view name) const;
  const std::string& at(size_t row, std::string_view column_name) const { return rows_[row][column(column_name)]; }

 private:
  std::string source_;
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
};

// The fields of one CSV line. Throws std::runtime_error on an open quote.
std::vector<std::string> split_csv_line(std::string_view line);

}  // namespace tools
