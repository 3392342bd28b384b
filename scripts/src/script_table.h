// The generated catalogue table (script_catalog.cpp in the build folder).
#pragma once

#include <span>

#include "scripts/catalog.h"

namespace scripts::detail {

// Every embedded script in catalogue order.
std::span<const Script> catalog();

}  // namespace scripts::detail
