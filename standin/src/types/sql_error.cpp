#include "types/sql_error.h"

#include <utility>

namespace standin {

Error make_error(int number, std::string message, int severity, int state) {
  Error e;
  e.number = number;
  e.severity = severity;
  e.state = state;
  e.message = std::move(message);
  return e;
}

bool fail(Error* err, int number, std::string message, int severity) {
  if (err) *err = make_error(number, std::move(message), severity);
  return false;
}

bool fail_overflow(Error* err, std::string_view type_name) {
  return fail(err, 8115,
              "Arithmetic overflow error converting expression to data type " + std::string(type_name) + ".");
}

}  // namespace standin
