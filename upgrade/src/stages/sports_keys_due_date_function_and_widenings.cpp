// Stage III: sports and federation keys, the due-date function, widenings.
#include "upgrade/stages.h"

namespace upgrade {

void sports_keys_due_date_function_and_widenings(Tenant&) {}

}  // namespace upgrade
