#include "storage/file_names.h"

#include <cstdio>

#include "storage/crc32c.h"

namespace standin::storage {
namespace {

// Leaves room for ".<generation>.snap" and ".tmp" within the 255 bytes that
// common file systems allow.
constexpr size_t kMaxEscapedLength = 200;

bool kept_as_is(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

std::string escape_database_name(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    if (kept_as_is(c)) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  if (out.empty()) return "%";  // the empty name still needs a file
  if (out.size() > kMaxEscapedLength) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "~%08X", static_cast<unsigned>(crc32c(name)));
    out.resize(kMaxEscapedLength - 9);
    // Do not leave half an escape behind.
    if (out.size() >= 1 && out[out.size() - 1] == '%') out.pop_back();
    if (out.size() >= 2 && out[out.size() - 2] == '%') out.resize(out.size() - 2);
    out += suffix;
  }
  return out;
}

std::string snapshot_file_name(std::string_view database, uint64_t generation) {
  return escape_database_name(database) + "." + std::to_string(generation) + ".snap";
}

std::string journal_file_name(uint64_t generation) { return "journal." + std::to_string(generation) + ".log"; }

}  // namespace standin::storage
