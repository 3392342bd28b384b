// The machine's installed memory, from which the engine sizes its default
// query memory limit.
#pragma once

#include <cstdint>

namespace platform {

// Bytes of physical memory; 0 when the system does not say.
uint64_t physical_memory_bytes();

}  // namespace platform
