// The order of the per-tenant blocks. Stage II follows stage I directly; its
// last block ends with the mandate creation and stage III.
#include "upgrade/stage_one.h"
#include "upgrade/stages.h"

namespace upgrade {

void run_stages(Tenant& t) {
  run_stage_one(t);

  contact_creditor_and_invoice_columns(t);
  transfer_statement_and_bank_account_tables(t);
  help_version_sepa_log_and_online_accounts(t);
  bank_directory_and_online_banking(t);
  dsa_export_tables_and_contract_type_names(t);
  sepa_mandate_tables_and_due_dates(t);
}

void Update1(Tenant& t) {
  sports_keys_due_date_function_and_widenings(t);
  fixed_assets_letters_export_log_and_rights(t);
  skr49_result_categories(t);
  skr49_chart_and_reference_reloads(t);
}

}  // namespace upgrade
