// Stage I: template scripts, path widening and regional sports federations.
#include "upgrade/stages.h"

namespace upgrade {

void template_scripts_and_federations(Tenant&) {}

}  // namespace upgrade
