// The byte encoding of the tabular data stream: little-endian integers
// (big-endian only in packet headers and the prelogin option table),
// UTF-16LE text, and text prefixed by its length in characters, one byte
// (B_VARCHAR) or two (US_VARCHAR) wide.
//
// WireReader never trusts its input: a read past the end, or a length that
// promises more bytes than are left, throws ProtocolError. A connection
// that catches one ends; the server goes on.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace standin::tds {

// Input that breaks the protocol: the peer's connection is ended.
class ProtocolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class WireReader {
 public:
  explicit WireReader(std::string_view in) : in_(in) {}

  uint8_t u8();
  uint16_t u16();  // little-endian
  uint32_t u32();
  uint64_t u64();
  uint16_t u16_be();
  std::string_view bytes(size_t n);  // points into the input
  void skip(size_t n) { bytes(n); }
  // UTF-16LE text of `chars` characters, as UTF-8.
  std::string utf16(size_t chars);
  std::string b_varchar() { return utf16(u8()); }
  std::string us_varchar() { return utf16(u16()); }

  size_t position() const { return pos_; }
  size_t remaining() const { return in_.size() - pos_; }
  bool at_end() const { return pos_ == in_.size(); }
  std::string_view input() const { return in_; }

 private:
  std::string_view in_;
  size_t pos_ = 0;
};

class WireWriter {
 public:
  void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u16(uint16_t v);
  void u32(uint32_t v);
  void u64(uint64_t v);
  void u16_be(uint16_t v);
  void raw(std::string_view s) { out_.append(s); }
  // Text longer than the prefix can count is cut: names and messages only.
  void b_varchar(std::string_view utf8);
  void us_varchar(std::string_view utf8);
  void utf16(std::string_view utf8);

  size_t size() const { return out_.size(); }
  // Overwrites two little-endian bytes written earlier (a length filled in
  // once the body is known).
  void patch_u16(size_t at, uint16_t v);

  const std::string& bytes() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace standin::tds
