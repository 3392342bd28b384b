// Stage II: SEPA mandate creation for direct-debit members.
#include "upgrade/stages.h"

namespace upgrade {

void pMandatErstellen(Tenant&) {}

}  // namespace upgrade
