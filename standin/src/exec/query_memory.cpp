#include "exec/query_memory.h"

#include <unistd.h>

#include <algorithm>

#include "exec/executor.h"

namespace standin {

uint64_t QueryMemory::default_limit() {
  static const uint64_t limit = physical_share();
  return limit;
}

uint64_t QueryMemory::physical_share() {
  long pages = sysconf(_SC_PHYS_PAGES);
  long page_size = sysconf(_SC_PAGESIZE);
  constexpr uint64_t kFloor = 64ull << 20;
  if (pages <= 0 || page_size <= 0) return 1ull << 30;
  return std::max(kFloor, static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size) / 4);
}

void QueryMemory::reserve(uint64_t bytes) {
  if (used_ + bytes > limit_)
    throw_error(701, "There is insufficient system memory in resource pool 'default' to run this query.", true, 17);
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
