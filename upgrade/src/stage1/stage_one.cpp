#include "upgrade/stage_one.h"

#include "upgrade/stages.h"

namespace upgrade {

void run_stage_one(Tenant& t) {
  club_settings_and_bank_columns(t);
  profit_and_loss_key_tables(t);
  account_template_tables(t);
  booking_indexes_and_cleanups(t);
  template_scripts_and_federations(t);
}

}  // namespace upgrade
