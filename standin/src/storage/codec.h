// Writer and Reader: the byte encoding of everything the data directory
// stores inside its files (catalog snapshots, journal records, file headers).
//
// Integers are little-endian: fixed-width (u32, u64) where a reader must find
// them at a known place, LEB128 varints elsewhere, zig-zag varints for signed
// numbers so that small negative numbers stay short. A string is its byte
// length as a varint followed by the bytes.
//
// Reader never trusts its input: every method returns false on input that is
// short or malformed (and leaves the output unspecified), never reads out of
// bounds and never throws. A false return is sticky: later calls fail too, so
// a caller may check once at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "standin/value.h"

namespace standin::storage {

class Writer {
 public:
  void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u32(uint32_t v);  // fixed 4 bytes
  void u64(uint64_t v);  // fixed 8 bytes
  void varint(uint64_t v);
  void svarint(int64_t v);
  void str(std::string_view s);  // varint length, then the bytes
  void raw(std::string_view s) { out_.append(s); }
  void reserve(size_t bytes) { out_.reserve(bytes); }
  void type(const TypeInfo& t);
  void value(const Value& v);

  const std::string& bytes() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  void varint128(unsigned __int128 v);
  void svarint128(__int128 v);

  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  bool u8(uint8_t* v);
  bool u32(uint32_t* v);
  bool u64(uint64_t* v);
  bool varint(uint64_t* v);
  bool svarint(int64_t* v);
  bool str(std::string* s);
  bool str_view(std::string_view* s);  // points into the input
  bool raw(size_t n, std::string_view* s);
  bool type(TypeInfo* t);
  bool value(Value* v);

  bool ok() const { return ok_; }
  bool at_end() const { return ok_ && pos_ == in_.size(); }
  size_t position() const { return pos_; }
  size_t remaining() const { return in_.size() - pos_; }

 private:
  bool fail() { return ok_ = false; }
  bool varint128(unsigned __int128* v, int max_bytes);
  bool svarint128(__int128* v);
  bool value_payload(const TypeInfo& t, Value* v);

  std::string_view in_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace standin::storage
