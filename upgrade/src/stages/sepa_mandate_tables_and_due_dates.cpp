// Stage II: SEPA mandate tables, due dates and the end of stage II, which
// creates the mandates and then runs stage III.
#include "upgrade/stages.h"

namespace upgrade {

void sepa_mandate_tables_and_due_dates(Tenant& t) {
  pMandatErstellen(t);
  Update1(t);
}

}  // namespace upgrade
