// anlage_script: the depreciation table script from its CSV list.
//
//   anlage_script CSV_FILE OUT_FILE
//
// One positional insert into AnlageTabelle per row, in the order of the
// list: "Insert Into AnlageTabelle Select Name='...', Nutzungsdauer=N,
// Fundstelle='...'". Names are the table's key, so a repeated name stops
// the build, as does a useful life that is not a whole number of years.
#include <cstdio>
#include <exception>
#include <set>
#include <string>

#include "common/csv.h"
#include "common/sql_text.h"
#include "common/text_file.h"

namespace {

bool is_whole_number(const std::string& text) {
  return !text.empty() && text.size() <= 3 && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: anlage_script CSV_FILE OUT_FILE\n");
    return 2;
  }
  try {
    tools::CsvTable table = tools::CsvTable::load(argv[1]);
    std::set<std::string> names;
    std::string text;
    for (size_t i = 0; i < table.size(); ++i) {
      const std::string& name = table.at(i, "Name");
      const std::string& years = table.at(i, "Nutzungsdauer");
      if (!names.insert(name).second) throw std::runtime_error("name listed twice: " + name);
      if (!is_whole_number(years)) throw std::runtime_error("useful life of " + name + " is not a number: " + years);
      text += "Insert Into AnlageTabelle Select Name=" + tools::quoted(name) + ", Nutzungsdauer=" + years +
              ", Fundstelle=" + tools::quoted(table.at(i, "Fundstelle")) + "\n";
    }
    tools::write_file_if_changed(argv[2], text);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "anlage_script: %s\n", error.what());
    return 1;
  }
  return 0;
}
