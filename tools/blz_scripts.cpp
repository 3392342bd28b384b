// blz_scripts: the bank directory scripts from a Bundesbank bank sort code
// file.
//
//   blz_scripts BLZ_FILE OUT_DIR
//
// Writes OUT_DIR/cmdD_blz1.sql, cmdD_blz2.sql and cmdD_blz3.sql: one insert
// per record, in the order of the file (ascending bank codes, the owner of
// a code before its branches), split at record boundaries into three parts
// of nearly equal statement counts. The records of one bank code may fall
// into two parts; the load runs all three, so nothing is lost.
//
// A record that does not parse stops the build with its line number: a
// silently skipped bank would be worse than a failed build.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/bank_record.h"
#include "common/text_file.h"

namespace {

constexpr int kParts = 3;

std::vector<std::string> statements_of(const std::string& path) {
  std::string content = tools::read_file(path);
  std::vector<std::string> statements;
  size_t line_number = 0;
  for (std::string_view line : tools::split_lines(content)) {
    ++line_number;
    if (line.empty()) continue;  // a blank line at the end of some editions
    try {
      statements.push_back(tools::bank_insert_statement(tools::parse_bank_record(line)));
    } catch (const tools::BadRecord& error) {
      throw std::runtime_error(path + ":" + std::to_string(line_number) + ": " + error.what());
    }
  }
  if (statements.empty()) throw std::runtime_error(path + ": no records");
  return statements;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: blz_scripts BLZ_FILE OUT_DIR\n");
    return 2;
  }
  try {
    std::vector<std::string> statements = statements_of(argv[1]);
    const std::string out_dir = argv[2];
    size_t begin = 0;
    for (int part = 1; part <= kParts; ++part) {
      size_t end = statements.size() * part / kParts;
      std::string text;
      for (size_t i = begin; i < end; ++i) text += statements[i] + "\n";
      tools::write_file_if_changed(out_dir + "/cmdD_blz" + std::to_string(part) + ".sql", text);
      begin = end;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "blz_scripts: %s\n", error.what());
    return 1;
  }
  return 0;
}
