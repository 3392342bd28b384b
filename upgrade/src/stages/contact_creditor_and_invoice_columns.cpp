// Stage II: contact, creditor and invoice-line columns.
#include "upgrade/stages.h"

namespace upgrade {

void contact_creditor_and_invoice_columns(Tenant&) {}

}  // namespace upgrade
