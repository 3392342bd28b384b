// Stage I of the per-tenant sequence: its five blocks in their fixed order.
// It makes 59 progress steps (14, 27, 14, 4 and 0), so that the counter
// stands at 60 when stage II begins.
#pragma once

#include "upgrade/tenant.h"

namespace upgrade {

inline constexpr int kStageOneSteps = 59;

void run_stage_one(Tenant& t);

}  // namespace upgrade
