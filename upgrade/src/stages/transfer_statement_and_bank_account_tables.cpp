// Stage II: transfer, account-statement and bank-account tables.
#include "upgrade/stages.h"

namespace upgrade {

void transfer_statement_and_bank_account_tables(Tenant&) {}

}  // namespace upgrade
