#include "common/account_templates.h"

#include <algorithm>

namespace tools {
namespace {

using A = Activity;

const TemplateKind kKinds[] = {
    {"F5KontKulturverein",
     "F5DatKulturverein",
     {A::FixedAssets, A::AssetManagement, A::OtherPrivileged, A::OtherCommercial}},
    {"F5KontKulturvereinUndSportverein",
     "F5DatKulturUndSportverein",
     {A::FixedAssets, A::AssetManagement, A::SportPrivileged, A::OtherPrivileged, A::SportCommercial,
      A::OtherCommercial}},
    {"F5KontMitBezahltenSport",
     "F5DatMitBezahltenSport",
     {A::FixedAssets, A::AssetManagement, A::SportPrivileged, A::SportCommercial, A::OtherCommercial, A::PaidSport}},
    {"F5KontMonosportverein", "F5DatMonosportverein", {A::SportPrivileged}},
    {"F5KontSonstiger", "F5DatSonstiger", {A::FixedAssets, A::AssetManagement, A::OtherPrivileged, A::OtherCommercial}},
    {"F5KontSportvereinMitAnlagevermogen",
     "F5DatSportvereinMitAnlagevermogen",
     {A::FixedAssets, A::AssetManagement, A::SportPrivileged, A::SportCommercial, A::OtherCommercial}},
    {"F5KontSportvereinOhneAnlagevermogen",
     "F5DatSportvereinOhneAnlagevermogen",
     {A::AssetManagement, A::SportPrivileged}},
};

constexpr std::string_view kTaxKeyOrder[] = {"F5DatKulturUndSportverein",
                                             "F5DatKulturverein",
                                             "F5DatMitBezahltenSport",
                                             "F5DatMonosportverein",
                                             "F5DatSonstiger",
                                             "F5DatSportvereinMitAnlagevermogen",
                                             "F5DatSportvereinOhneAnlagevermogen"};

bool has(const TemplateKind& kind, Activity activity) {
  return std::find(kind.activities.begin(), kind.activities.end(), activity) != kind.activities.end();
}

// The activity an account belongs to; nullopt-like `Common` for the accounts
// every template holds, `None` for those no template holds.
enum class Belongs { Common, Activity, None };

Belongs belongs(const AccountRow& row, Activity& activity) {
  int n = row.number;
  if (row.bank || (n >= 920 && n <= 960) || (n >= 1000 && n <= 1179) || row.account_class() == 2 ||
      (n >= 3200 && n <= 3399) || row.tax_collection) {
    return Belongs::Common;
  }
  struct Range {
    int from, to;
    Activity activity;
  };
  static constexpr Range kRanges[] = {
      {10, 599, A::FixedAssets},        {4000, 4999, A::AssetManagement}, {3400, 3499, A::AssetManagement},
      {5000, 5999, A::SportPrivileged}, {3500, 3599, A::SportPrivileged}, {6000, 6999, A::OtherPrivileged},
      {3600, 3699, A::OtherPrivileged}, {7000, 7999, A::SportCommercial}, {3700, 3799, A::SportCommercial},
      {8000, 8999, A::OtherCommercial}, {3800, 3899, A::OtherCommercial}};
  for (const Range& range : kRanges) {
    if (n >= range.from && n <= range.to) {
      activity = range.activity;
      return Belongs::Activity;
    }
  }
  return Belongs::None;
}

bool for_paid_athletes(const AccountRow& row) {
  return row.name.find("bezahlte") != std::string::npos && row.name.find("unbezahlte") == std::string::npos;
}

}  // namespace

std::span<const TemplateKind> template_kinds() { return kKinds; }

std::span<const std::string_view> tax_key_tables() { return kTaxKeyOrder; }

std::vector<AccountRow> template_accounts(const std::vector<AccountRow>& chart, const TemplateKind& kind) {
  std::vector<AccountRow> rows;
  for (const AccountRow& row : chart) {
    if (!row.main_account) continue;
    if (for_paid_athletes(row) && !has(kind, A::PaidSport)) continue;
    Activity activity{};
    Belongs where = belongs(row, activity);
    if (where == Belongs::Common || (where == Belongs::Activity && has(kind, activity))) rows.push_back(row);
  }
  return rows;
}

}  // namespace tools
