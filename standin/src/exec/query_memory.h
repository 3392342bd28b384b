// The memory a statement may hold in intermediate results (joined tuples,
// projected rows, groups). A statement that needs more ends with error 701,
// as SQL Server does when its resource pool is exhausted, instead of taking
// the machine; what it held is released as it unwinds, so the next
// statement runs.
//
// The account is approximate: it counts the containers the executor builds,
// not every allocation, which is enough to stop a runaway join long before
// the process grows past the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace standin {

class QueryMemory {
 public:
  explicit QueryMemory(uint64_t limit = default_limit()) : limit_(limit) {}

  // A quarter of the physical memory, at least 64 MB.
  static uint64_t default_limit();
  // "512M", "2G", "65536": bytes, with an optional K, M or G (powers of
  // 1024). False for anything else, and for zero.
  static bool parse_size(std::string_view text, uint64_t* bytes);

  void set_limit(uint64_t bytes) { limit_ = bytes; }
  uint64_t limit() const { return limit_; }
  uint64_t used() const { return used_; }

  // Throws SqlError 701 when `bytes` more would pass the limit.
  void reserve(uint64_t bytes);
  void release(uint64_t bytes) { used_ = bytes > used_ ? 0 : used_ - bytes; }

 private:
  static uint64_t physical_share();
  uint64_t limit_;
  uint64_t used_ = 0;
};

// Bytes reserved for one container; released when the reservation ends.
class MemoryReservation {
 public:
  MemoryReservation() = default;
  explicit MemoryReservation(QueryMemory& memory) : memory_(&memory) {}
  ~MemoryReservation() { clear(); }
  MemoryReservation(MemoryReservation&& o) noexcept : memory_(o.memory_), bytes_(o.bytes_) { o.bytes_ = 0; }
  MemoryReservation& operator=(MemoryReservation&& o) noexcept;
  MemoryReservation(const MemoryReservation&) = delete;
  MemoryReservation& operator=(const MemoryReservation&) = delete;

  void add(uint64_t bytes) {
    if (!memory_) return;
    memory_->reserve(bytes);
    bytes_ += bytes;
  }
  void clear() {
    if (memory_) memory_->release(bytes_);
    bytes_ = 0;
  }

 private:
  QueryMemory* memory_ = nullptr;
  uint64_t bytes_ = 0;
};

}  // namespace standin
