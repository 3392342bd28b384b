// Stage II: bank directory and online-banking tables.
#include "upgrade/stages.h"

namespace upgrade {

void bank_directory_and_online_banking(Tenant&) {}

}  // namespace upgrade
