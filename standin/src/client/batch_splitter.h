// Splitting a script into batches at GO lines, the way sqlcmd does.
//
// GO is not T-SQL: the client cuts the script at every line that holds only
// the word GO (any letter case, blanks and tabs around it, a CR of a CR LF
// line ending included) and sends each piece as one command text. A GO line
// inside a block comment or a string literal that spans lines does not cut.
// Pieces holding only blanks and line breaks are not sent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin::client {

struct Batch {
  std::string text;    // the lines of the batch, line endings kept
  int first_line = 1;  // line number of its first line in the script
};

std::vector<Batch> split_batches(std::string_view script);

// Whether `line` (without its line feed) is a batch separator.
bool is_go_line(std::string_view line);

}  // namespace standin::client
