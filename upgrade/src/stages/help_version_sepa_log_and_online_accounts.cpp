// Stage II: help catalogue, version marker, SEPA log and online-account tables.
#include "upgrade/stages.h"

namespace upgrade {

void help_version_sepa_log_and_online_accounts(Tenant&) {}

}  // namespace upgrade
