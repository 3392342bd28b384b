// Stage II: DSA export tables and contract-type names.
#include "upgrade/stages.h"

namespace upgrade {

void dsa_export_tables_and_contract_type_names(Tenant&) {}

}  // namespace upgrade
