// How standin-sql prints what a batch produced: result sets as
// tab-separated values under one header line, errors in sqlcmd's form.
#pragma once

#include <string>

#include "standin/standin.h"

namespace standin::client {

// The header line of column names, then one line per row; every line ends
// in a line feed. NULL prints as NULL, other values as Value::to_display()
// shows them. Tabs and line breaks inside values are printed as they are.
std::string format_result_set(const ResultSet& result);

// "Msg 208, Level 16, State 1, Line 3" and the message on the next line.
// The line is counted in the script: the error's line within its batch plus
// the lines in front of the batch (`batch_first_line` - 1).
std::string format_error(const Error& error, int batch_first_line);

}  // namespace standin::client
