#include "exec/query_memory.h"

#include <algorithm>
#include <charconv>

#include "exec/executor.h"
#include "platform/physical_memory.h"

namespace standin {

uint64_t QueryMemory::default_limit() {
  static const uint64_t limit = physical_share();
  return limit;
}

uint64_t QueryMemory::physical_share() {
  const uint64_t physical = platform::physical_memory_bytes();
  constexpr uint64_t kFloor = 64ull << 20;
  if (physical == 0) return 1ull << 30;
  return std::max(kFloor, physical / 4);
}

bool QueryMemory::parse_size(std::string_view text, uint64_t* bytes) {
  uint64_t unit = 1;
  if (!text.empty()) {
    char last = static_cast<char>(text.back() & ~0x20);
    unit = last == 'K' ? 1ull << 10 : last == 'M' ? 1ull << 20 : last == 'G' ? 1ull << 30 : 1;
    if (unit != 1) text.remove_suffix(1);
  }
  uint64_t n = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || n == 0) return false;
  if (n > UINT64_MAX / unit) return false;
  *bytes = n * unit;
  return true;
}

void QueryMemory::reserve(uint64_t bytes) {
  if (used_ + bytes > limit_)
    throw_error(701, "There is insufficient system memory in resource pool 'default' to run this query.", 17);
  used_ += bytes;
}

MemoryReservation& MemoryReservation::operator=(MemoryReservation&& o) noexcept {
  if (this != &o) {
    clear();
    memory_ = o.memory_;
    bytes_ = o.bytes_;
    o.bytes_ = 0;
  }
  return *this;
}

}  // namespace standin
