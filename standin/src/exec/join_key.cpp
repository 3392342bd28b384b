#include "exec/join_key.h"

#include <cstdio>

#include "types/compare.h"

namespace standin {

namespace {

// "5", "-12.5": a decimal without trailing zeros, so scales do not matter.
std::string canonical_decimal(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

}  // namespace

KeyFamily key_family(const TypeInfo& t) {
  if (t.is_string()) return KeyFamily::String;
  if (t.is_exact_numeric()) return KeyFamily::Exact;
  if (t.type == Type::Float || t.type == Type::Real) return KeyFamily::Float;
  return KeyFamily::None;
}

std::optional<std::string> join_key(const Value& v) {
  if (v.is_null()) return std::nullopt;
  const TypeInfo& t = v.type();
  if (t.is_string()) return "s" + collate_key(v.string_value());
  if (t.is_integer()) return "e" + std::to_string(v.int_value());
  if (t.is_exact_numeric()) return "e" + canonical_decimal(v.decimal_value().to_string());
  char buf[40];
  double d = v.float_value();
  std::snprintf(buf, sizeof buf, "f%.17g", d == 0 ? 0.0 : d);  // -0 equals 0
  return std::string(buf);
}

}  // namespace standin
