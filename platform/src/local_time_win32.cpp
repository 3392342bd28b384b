#include "platform/local_time.h"

namespace platform {

std::tm local_time(std::time_t t) {
  std::tm local{};
  if (localtime_s(&local, &t) != 0) return std::tm{};
  return local;
}

}  // namespace platform
