// Errors carry SQL Server's message numbers, severities and wording, so that
// a client sees the same text as it would from a real server.
#pragma once

#include <string>

#include "standin/standin.h"

namespace standin {

Error make_error(int number, std::string message, int severity = 16, int state = 1);

// Fills *err (when not null) and returns false, so that a failing check can
// be written `return fail(err, 8134, "Divide by zero error encountered.");`.
bool fail(Error* err, int number, std::string message, int severity = 16);

// Msg 8115 for a value that does not fit `type_name` ("int", "numeric",
// "money", "datetime", ...): "Arithmetic overflow error converting
// expression to data type int."
bool fail_overflow(Error* err, std::string_view type_name);

}  // namespace standin
