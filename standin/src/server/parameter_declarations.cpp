#include "server/parameter_declarations.h"

#include <cctype>

namespace standin::server {

namespace {

bool name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

std::string leading_name(std::string_view declaration) {
  size_t at = 0;
  while (at < declaration.size() && std::isspace(static_cast<unsigned char>(declaration[at]))) ++at;
  if (at >= declaration.size() || declaration[at] != '@') return {};
  size_t end = at + 1;
  while (end < declaration.size() && name_char(declaration[end])) ++end;
  return std::string(declaration.substr(at, end - at));
}

}  // namespace

std::vector<std::string> declared_parameter_names(std::string_view declarations) {
  std::vector<std::string> names;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i <= declarations.size(); ++i) {
    char c = i < declarations.size() ? declarations[i] : ',';
    if (c == '(')
      ++depth;
    else if (c == ')' && depth > 0)
      --depth;
    else if (c == ',' && depth == 0) {
      std::string name = leading_name(declarations.substr(start, i - start));
      if (!name.empty()) names.push_back(std::move(name));
      start = i + 1;
    }
  }
  return names;
}

}  // namespace standin::server
