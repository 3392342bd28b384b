// The blocks of the per-tenant sequence, in their fixed order. Stage I runs
// its five blocks; stage II follows directly; its last block creates the SEPA
// mandates and, as its last step, runs stage III (Update1). Each block lives
// in a file of its own under src/stage1/, src/stage2/ and src/stage3/.
#pragma once

#include "upgrade/tenant.h"

namespace upgrade {

// Stage I
void club_settings_and_bank_columns(Tenant& t);
void profit_and_loss_key_tables(Tenant& t);
void account_template_tables(Tenant& t);
void booking_indexes_and_cleanups(Tenant& t);
void template_scripts_and_federations(Tenant& t);

// Stage II
void contact_creditor_and_invoice_columns(Tenant& t);
void transfer_statement_and_bank_account_tables(Tenant& t);
void help_version_sepa_log_and_online_accounts(Tenant& t);
void bank_directory_and_online_banking(Tenant& t);
void dsa_export_tables_and_contract_type_names(Tenant& t);
void sepa_mandate_tables_and_due_dates(Tenant& t);  // ends with pMandatErstellen and Update1
void pMandatErstellen(Tenant& t);

// Stage III
void Update1(Tenant& t);
void sports_keys_due_date_function_and_widenings(Tenant& t);
void fixed_assets_letters_export_log_and_rights(Tenant& t);
void skr49_result_categories(Tenant& t);
void skr49_chart_and_reference_reloads(Tenant& t);

// Stages I and II (and through them stage III) on the current tenant.
void run_stages(Tenant& t);

}  // namespace upgrade
