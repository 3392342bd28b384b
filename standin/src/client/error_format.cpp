#include "client/output_format.h"

namespace standin::client {

std::string format_error(const Error& error, int batch_first_line) {
  return "Msg " + std::to_string(error.number) + ", Level " + std::to_string(error.severity) + ", State " +
         std::to_string(error.state) + ", Line " + std::to_string(error.line + batch_first_line - 1) + "\n" +
         error.message + "\n";
}

}  // namespace standin::client
