// The stored SQL scripts that the upgrade carries inside the program.
//
// Every script is a fixed, read-only text compiled into the binary. Its text
// is UTF-8 (the database layer converts it for the server); line breaks are
// CR LF, with none after the last line. The data scripts are generated at
// build time from maintained sources (the Bundesbank bank sort code file, the
// SKR 49 chart) and from the CSV lists in data/; the others are written by
// hand in scripts/sql/.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace scripts {

// The two forms in which a script is stored.
//   Memo:    a list of lines; `text` is the lines joined by CR LF.
//   Command: one statement per line, CR LF between the lines.
enum class Kind { Memo, Command };

struct Script {
  std::string_view name;  // e.g. "Memo1", "cmdD_blz1"
  Kind kind;
  std::string_view text;  // memo: its lines joined by CR LF; command: statements one per line, CR LF between lines
  size_t line_count;      // memo: number of lines; command: number of statements
};

// Every script, in catalogue order. The span and the texts live as long as
// the program.
std::span<const Script> all();

// The script called exactly `name` (case-sensitive); nullptr if unknown.
const Script* find(std::string_view name);

}  // namespace scripts
