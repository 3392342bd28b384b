#include "common/csv.h"

#include "common/text_file.h"

namespace tools {

std::vector<std::string> split_csv_line(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted) throw std::runtime_error("unterminated quote");
  return fields;
}

CsvTable CsvTable::parse(std::string_view text, const std::string& source) {
  CsvTable table;
  table.source_ = source;
  size_t line_number = 0;
  for (std::string_view line : split_lines(text)) {
    ++line_number;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    try {
      fields = split_csv_line(line);
    } catch (const std::runtime_error& error) {
      throw std::runtime_error(source + ":" + std::to_string(line_number) + ": " + error.what());
    }
    if (table.header_.empty()) {
      table.header_ = std::move(fields);
      continue;
    }
    if (fields.size() != table.header_.size()) {
      throw std::runtime_error(source + ":" + std::to_string(line_number) + ": " + std::to_string(fields.size()) +
                               " fields, expected " + std::to_string(table.header_.size()));
    }
    table.rows_.push_back(std::move(fields));
  }
  if (table.header_.empty()) throw std::runtime_error(source + ": no header line");
  return table;
}

CsvTable CsvTable::load(const std::string& path) { return parse(read_file(path), path); }

size_t CsvTable::column(std::string_view name) const {
  for (size_t i = 0; i < header_.size(); ++i) {
    if (header_[i] == name) return i;
  }
  throw std::runtime_error(source_ + ": no column " + std::string(name));
}

}  // namespace tools
