// Stage III: SKR 49 chart tables and reference-data reloads.
#include "upgrade/stages.h"

namespace upgrade {

void skr49_chart_and_reference_reloads(Tenant&) {}

}  // namespace upgrade
