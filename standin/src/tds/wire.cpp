#include "tds/wire.h"

#include "types/codepage.h"
#include "types/utf8.h"

namespace standin::tds {

std::string_view WireReader::bytes(size_t n) {
  if (n > remaining()) throw ProtocolError("a length points past the end of the message");
  std::string_view s = in_.substr(pos_, n);
  pos_ += n;
  return s;
}

uint8_t WireReader::u8() { return static_cast<uint8_t>(bytes(1)[0]); }

uint16_t WireReader::u16() {
  std::string_view b = bytes(2);
  return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | static_cast<uint8_t>(b[1]) << 8);
}

uint32_t WireReader::u32() {
  uint32_t lo = u16();
  return lo | static_cast<uint32_t>(u16()) << 16;
}

uint64_t WireReader::u64() {
  uint64_t lo = u32();
  return lo | static_cast<uint64_t>(u32()) << 32;
}

uint16_t WireReader::u16_be() {
  std::string_view b = bytes(2);
  return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) << 8 | static_cast<uint8_t>(b[1]));
}

std::string WireReader::utf16(size_t chars) {
  if (chars > remaining() / 2) throw ProtocolError("a text length points past the end of the message");
  return from_utf16le_bytes(bytes(chars * 2));
}

void WireWriter::u16(uint16_t v) {
  u8(static_cast<uint8_t>(v));
  u8(static_cast<uint8_t>(v >> 8));
}

void WireWriter::u32(uint32_t v) {
  u16(static_cast<uint16_t>(v));
  u16(static_cast<uint16_t>(v >> 16));
}

void WireWriter::u64(uint64_t v) {
  u32(static_cast<uint32_t>(v));
  u32(static_cast<uint32_t>(v >> 32));
}

void WireWriter::u16_be(uint16_t v) {
  u8(static_cast<uint8_t>(v >> 8));
  u8(static_cast<uint8_t>(v));
}

namespace {

// The UTF-16LE bytes of at most `max_units` code units of `utf8`, never
// splitting a surrogate pair.
std::string utf16_cut(std::string_view utf8, size_t max_units) {
  std::string wide = to_utf16le_bytes(utf8);
  if (wide.size() <= max_units * 2) return wide;
  size_t keep = max_units * 2;
  uint8_t hi = static_cast<uint8_t>(wide[keep - 1]);
  if (hi >= 0xD8 && hi <= 0xDB) keep -= 2;  // a high surrogate would be left alone
  wide.resize(keep);
  return wide;
}

}  // namespace

void WireWriter::b_varchar(std::string_view utf8) {
  std::string wide = utf16_cut(utf8, 0xFF);
  u8(static_cast<uint8_t>(wide.size() / 2));
  raw(wide);
}

void WireWriter::us_varchar(std::string_view utf8) {
  std::string wide = utf16_cut(utf8, 0xFFFF);
  u16(static_cast<uint16_t>(wide.size() / 2));
  raw(wide);
}

void WireWriter::utf16(std::string_view utf8) { raw(to_utf16le_bytes(utf8)); }

void WireWriter::patch_u16(size_t at, uint16_t v) {
  out_[at] = static_cast<char>(v);
  out_[at + 1] = static_cast<char>(v >> 8);
}

}  // namespace standin::tds
