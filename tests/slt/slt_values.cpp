#include "slt_values.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace slt {

namespace {

double as_double(const standin::Value& v) {
  const standin::TypeInfo& t = v.type();
  if (t.is_integer()) return static_cast<double>(v.int_value());
  if (t.is_exact_numeric()) return v.decimal_value().to_double();
  if (t.is_numeric()) return v.float_value();
  return std::strtod(v.to_display().c_str(), nullptr);
}

std::string printable(std::string s) {
  if (s.empty()) return "(empty)";
  for (char& c : s)
    if (c < ' ' || c > '~') c = '@';
  return s;
}

}  // namespace

std::string format_value(const standin::Value& v, char type) {
  if (v.is_null()) return "NULL";
  if (type == 'I') {
    if (v.type().is_integer()) return std::to_string(v.int_value());
    if (v.type().is_string()) return std::to_string(std::strtoll(v.string_value().c_str(), nullptr, 10));
    return std::to_string(static_cast<long long>(as_double(v)));
  }
  if (type == 'R') {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", as_double(v));
    return buf;
  }
  return printable(v.to_display());
}

std::vector<std::string> format_result(const standin::ResultSet& rs, const std::string& types, Record::Sort sort) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : rs.rows) {
    std::vector<std::string> line;
    for (size_t c = 0; c < row.size(); ++c) line.push_back(format_value(row[c], c < types.size() ? types[c] : 'T'));
    rows.push_back(std::move(line));
  }
  if (sort == Record::Sort::Rows) std::sort(rows.begin(), rows.end());
  std::vector<std::string> values;
  for (auto& row : rows)
    for (auto& v : row) values.push_back(std::move(v));
  if (sort == Record::Sort::Values) std::sort(values.begin(), values.end());
  return values;
}

std::string hash_values(const std::vector<std::string>& values) {
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
  for (const std::string& v : values) {
    EVP_DigestUpdate(ctx, v.data(), v.size());
    EVP_DigestUpdate(ctx, "\n", 1);
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(ctx, digest, &size);
  EVP_MD_CTX_free(ctx);
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < size; ++i) {
    out += hex[digest[i] >> 4];
    out += hex[digest[i] & 15];
  }
  return out;
}

bool matches_expected(const std::vector<std::string>& actual, size_t columns,
                      const std::vector<std::string>& expected) {
  if (expected.size() == 1) {
    const std::string& e = expected[0];
    size_t at = e.find(" values hashing to ");
    if (at != std::string::npos)
      return e.substr(0, at) == std::to_string(actual.size()) && e.substr(at + 19) == hash_values(actual);
  }
  if (expected == actual) return true;
  if (columns < 2 || actual.size() != expected.size() * columns) return false;
  for (size_t r = 0; r < expected.size(); ++r) {
    std::string row;
    for (size_t c = 0; c < columns; ++c) row += (c ? " " : "") + actual[r * columns + c];
    if (row != expected[r]) return false;
  }
  return true;
}

}  // namespace slt
