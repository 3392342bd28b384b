// Stage I: chart-of-accounts template tables.
#include "upgrade/stages.h"

namespace upgrade {

void account_template_tables(Tenant&) {}

}  // namespace upgrade
