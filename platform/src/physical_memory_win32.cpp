#include <windows.h>

#include "platform/physical_memory.h"

namespace platform {

uint64_t physical_memory_bytes() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status) == 0) return 0;
  return status.ullTotalPhys;
}

}  // namespace platform
