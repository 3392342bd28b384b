// Running a script the way standin-sql does: batch by batch, result sets to
// one stream, errors to another.
#pragma once

#include <ostream>
#include <string_view>

#include "standin/standin.h"

namespace standin::client {

// Splits `script` at GO lines and executes each batch on `session`. Result
// sets go to `out` (a blank line between two of them), errors to `err` with
// their line counted in the script. Returns false when a batch failed; with
// `stop_on_error` the batches after the first failed one do not run.
bool run_script(Session& session, std::string_view script, std::ostream& out, std::ostream& err, bool stop_on_error);

}  // namespace standin::client
