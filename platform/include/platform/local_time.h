// The workstation's local time, the one thing of <ctime> whose thread-safe
// form differs between the systems (localtime_r / localtime_s).
#pragma once

#include <ctime>

namespace platform {

// The broken-down local time of `t`; all zeros when the system cannot
// convert it (a time before 1970 on Windows).
std::tm local_time(std::time_t t);

}  // namespace platform
