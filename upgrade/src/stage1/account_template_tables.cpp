// Stage I, third block: the fourteen chart-of-accounts and tax-key template
// tables, one per kind of club, created empty with their keys when missing.
// Their rows come from the template scripts at the end of stage I, which
// replace these tables whole.
#include "steps/template_layouts.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

// In the order of the club kinds: single-sport, sports without and with
// fixed assets, paid sport, cultural, cultural and sports, other. The
// cultural-and-sports tax-key table has always had the shorter name.
constexpr std::string_view kAccountTemplates[] = {
    "F5KontMonosportverein",
    "F5KontSportvereinOhneAnlagevermogen",
    "F5KontSportvereinMitAnlagevermogen",
    "F5KontMitBezahltenSport",
    "F5KontKulturverein",
    "F5KontKulturvereinUndSportverein",
    "F5KontSonstiger",
};

constexpr std::string_view kTaxKeyTemplates[] = {
    "F5DatMonosportverein",
    "F5DatSportvereinOhneAnlagevermogen",
    "F5DatSportvereinMitAnlagevermogen",
    "F5DatMitBezahltenSport",
    "F5DatKulturverein",
    "F5DatKulturUndSportverein",
    "F5DatSonstiger",
};

void ensure_template(Tenant& t, std::string_view table, std::span<const scripts::LayoutColumn> layout,
                     std::string_view first_key, std::string_view second_key) {
  const steps::Lines statements[] = {steps::create_statement(table, layout),
                                     steps::key_statement(table, first_key, second_key)};
  steps::create_if_missing(t, table, statements);
  t.step();
}

}  // namespace

void account_template_tables(Tenant& t) {
  for (std::string_view table : kAccountTemplates)
    ensure_template(t, table, scripts::kAccountColumns, "BUCHJAHR", "KONTONR");
  for (std::string_view table : kTaxKeyTemplates)
    ensure_template(t, table, scripts::kTaxKeyColumns, "STEUERSCHL", "LfdNr");
}

}  // namespace upgrade
