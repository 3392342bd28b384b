// The records of a sqllogictest script: statements that must succeed or
// fail, queries with their expected values, and the controls between them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slt {

struct Record {
  enum class Kind { Statement, Query, HashThreshold, Halt };
  enum class Sort { None, Rows, Values };
  Kind kind = Kind::Statement;
  int line = 0;  // line of the record's first line (after skipif/onlyif)
  std::string sql;
  bool expect_error = false;  // statement error
  std::string types;          // query: one letter per column, I T R
  Sort sort = Sort::None;
  std::vector<std::string> expected;  // query: lines after "----"
  int threshold = 0;                  // hash-threshold
  // skipif/onlyif conditions before the record, as written.
  std::vector<std::string> skip_if, only_if;
};

// Splits the text of a script into records. Throws std::runtime_error on a
// record it does not understand, with its line.
std::vector<Record> parse_script(std::string_view text);

// Whether the record is meant for an engine of that name.
bool applies_to(const Record& r, std::string_view engine);

}  // namespace slt
