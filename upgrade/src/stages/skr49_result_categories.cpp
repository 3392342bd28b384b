// Stage III: SKR 49 result categories.
#include "upgrade/stages.h"

namespace upgrade {

void skr49_result_categories(Tenant&) {}

}  // namespace upgrade
