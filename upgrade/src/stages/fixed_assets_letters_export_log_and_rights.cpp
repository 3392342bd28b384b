// Stage III: fixed assets, letter settings, export log, user rights.
#include "upgrade/stages.h"

namespace upgrade {

void fixed_assets_letters_export_log_and_rights(Tenant&) {}

}  // namespace upgrade
