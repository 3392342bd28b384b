// The seven template charts of accounts, one per kind of club, each a
// subset of the SKR 49 chart chosen by these rules:
//
//  Every template holds the main accounts (those directly below a heading,
//  not the sub-accounts below another account) of
//    - cash and bank (the chart's cash and bank accounts),
//    - the club's reserves and results carried forward (1000-1179),
//    - the non-profit area (class 2) and its tax-neutral items (3200-3399),
//    - the tax-collection accounts (input tax and VAT at 7 and 19 %).
//  On top of that, by kind:
//    - fixed assets (0010-0599): every kind but the sports club without
//      fixed assets and the single-sport club;
//    - asset management (class 4 and 3400-3499): every kind but the
//      single-sport club;
//    - sport as a tax-privileged activity (class 5 and 3500-3599): the five
//      sports kinds (single-sport, sports club with and without fixed
//      assets, club with paid sport, culture and sports club);
//    - other tax-privileged activities (class 6 and 3600-3699): the culture
//      club, the culture and sports club and the other club;
//    - commercial sport (class 7 and 3700-3799): the sports club with fixed
//      assets, the club with paid sport and the culture and sports club;
//    - other commercial activities (class 8 and 3800-3899): every kind but
//      the single-sport club and the sports club without fixed assets.
//  Accounts for paid athletes (names with "bezahlte", not "unbezahlte") go
//  only to the club with paid sport.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "common/account_rules.h"

namespace tools {

enum class Activity {
  FixedAssets,
  AssetManagement,
  SportPrivileged,
  OtherPrivileged,
  SportCommercial,
  OtherCommercial,
  PaidSport
};

struct TemplateKind {
  std::string_view account_table;  // F5Kont...
  std::string_view tax_key_table;  // F5Dat...
  std::initializer_list<Activity> activities;
};

// In the order the account templates are written (culture club first).
std::span<const TemplateKind> template_kinds();

// The tax-key tables in the order they are written.
std::span<const std::string_view> tax_key_tables();

// The accounts of `chart` that belong into a template of `kind`.
std::vector<AccountRow> template_accounts(const std::vector<AccountRow>& chart, const TemplateKind& kind);

}  // namespace tools
