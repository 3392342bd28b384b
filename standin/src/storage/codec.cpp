#include "storage/codec.h"

namespace standin::storage {

// ---- Writer -------------------------------------------------------------

void Writer::u32(uint32_t v) {
  for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
}

void Writer::u64(uint64_t v) {
  for (int i = 0; i < 8; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
}

void Writer::varint(uint64_t v) { varint128(v); }

void Writer::svarint(int64_t v) { svarint128(v); }

void Writer::varint128(unsigned __int128 v) {
  while (v >= 0x80) {
    u8(static_cast<uint8_t>(v) | 0x80);
    v >>= 7;
  }
  u8(static_cast<uint8_t>(v));
}

// Zig-zag: 0, -1, 1, -2, ... map to 0, 1, 2, 3, ...
void Writer::svarint128(__int128 v) {
  auto u = static_cast<unsigned __int128>(v);
  varint128((u << 1) ^ (v < 0 ? ~static_cast<unsigned __int128>(0) : 0));
}

void Writer::str(std::string_view s) {
  varint(s.size());
  out_.append(s);
}

// ---- Reader -------------------------------------------------------------

bool Reader::u8(uint8_t* v) {
  if (!ok_ || pos_ >= in_.size()) return fail();
  *v = static_cast<uint8_t>(in_[pos_++]);
  return true;
}

bool Reader::u32(uint32_t* v) {
  uint64_t w = 0;
  uint8_t b = 0;
  for (int i = 0; i < 4; ++i) {
    if (!u8(&b)) return false;
    w |= uint64_t(b) << (8 * i);
  }
  *v = static_cast<uint32_t>(w);
  return true;
}

bool Reader::u64(uint64_t* v) {
  uint64_t w = 0;
  uint8_t b = 0;
  for (int i = 0; i < 8; ++i) {
    if (!u8(&b)) return false;
    w |= uint64_t(b) << (8 * i);
  }
  *v = w;
  return true;
}

// max_bytes bounds the encoding so that no shift exceeds the width: 10 bytes
// carry 64 bits, 19 bytes carry 128.
bool Reader::varint128(unsigned __int128* v, int max_bytes) {
  unsigned __int128 result = 0;
  uint8_t b = 0;
  for (int i = 0; i < max_bytes; ++i) {
    if (!u8(&b)) return false;
    result |= static_cast<unsigned __int128>(b & 0x7F) << (7 * i);
    if ((b & 0x80) == 0) {
      *v = result;
      return true;
    }
  }
  return fail();
}

bool Reader::varint(uint64_t* v) {
  unsigned __int128 w = 0;
  if (!varint128(&w, 10) || (w >> 64) != 0) return fail();
  *v = static_cast<uint64_t>(w);
  return true;
}

bool Reader::svarint128(__int128* v) {
  unsigned __int128 u = 0;
  if (!varint128(&u, 19)) return false;
  *v = static_cast<__int128>((u >> 1) ^ (~(u & 1) + 1));
  return true;
}

bool Reader::svarint(int64_t* v) {
  uint64_t u = 0;
  if (!varint(&u)) return false;
  *v = static_cast<int64_t>((u >> 1) ^ (~(u & 1) + 1));
  return true;
}

bool Reader::raw(size_t n, std::string_view* s) {
  if (!ok_ || n > remaining()) return fail();
  *s = in_.substr(pos_, n);
  pos_ += n;
  return true;
}

bool Reader::str_view(std::string_view* s) {
  uint64_t n = 0;
  if (!varint(&n)) return false;
  if (n > remaining()) return fail();
  return raw(static_cast<size_t>(n), s);
}

bool Reader::str(std::string* s) {
  std::string_view view;
  if (!str_view(&view)) return false;
  s->assign(view);
  return true;
}

}  // namespace standin::storage
