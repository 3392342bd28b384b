// Stage I: profit-and-loss key tables and monthly cost-centre columns.
#include "upgrade/stages.h"

namespace upgrade {

void profit_and_loss_key_tables(Tenant&) {}

}  // namespace upgrade
