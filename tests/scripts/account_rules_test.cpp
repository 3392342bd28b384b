// Deriving the account tables' rows from a chart file, and choosing the
// template subsets.
#include "common/account_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/account_templates.h"
#include "common/chart_file.h"

namespace {

using tools::AccountRow;

std::string account(const std::string& id, const std::string& parent, const std::string& code, const std::string& name,
                    const std::string& type, bool placeholder = false) {
  std::string xml = "<gnc:account version=\"2.0.0\">\n  <act:name>" + name + "</act:name>\n  <act:id type=\"new\">" +
                    id + "</act:id>\n  <act:type>" + type + "</act:type>\n  <act:code>" + code + "</act:code>\n";
  if (placeholder) {
    xml +=
        "  <act:slots>\n    <slot>\n      <slot:key>placeholder</slot:key>\n"
        "      <slot:value type=\"string\">true</slot:value>\n    </slot>\n  </act:slots>\n";
  }
  if (!parent.empty()) xml += "  <act:parent type=\"guid\">" + parent + "</act:parent>\n";
  return xml + "</gnc:account>\n";
}

// A small chart in the shape of the SKR 49 file: headings, main accounts,
// sub-accounts, a duplicate code.
std::vector<AccountRow> sample_chart() {
  std::string xml = "<gnc-account-example>\n" + account("root", "", "", "Root Account", "ROOT") +
                    account("h5", "root", "5000-5999", "5000-5999 Zweckbetrieb", "EXPENSE", true) +
                    account("a5670", "h5", "5670", "5670 Verrechnete/aufgeteilte Kosten", "EXPENSE") +
                    account("a5600", "h5", "5600", "5600 Erlöse Sportveranstaltungen 19 % USt", "INCOME") +
                    account("a5601", "a5600", "5601", "5601 Eintrittsgelder steuerfrei", "INCOME") +
                    account("a5602", "h5", "5602", "5602 Löhne und Gehälter", "EXPENSE") +
                    account("a0945", "root", "0945", "0945 Bank", "BANK") +
                    account("a0100", "root", "0100", "0100 Sportplätze", "ASSET") +
                    account("a1776", "root", "1776", "1776 Umsatzsteuer 19%", "LIABILITY") +
                    account("a3220", "root", "3220", "3220 Spenden &amp; Zuwendungen", "INCOME") +
                    account("a3700", "root", "3700", "3700 Ertragsneutrale Ausgaben Sport", "EXPENSE") +
                    account("a4100", "root", "4100", "4100 Mieteinnahmen", "INCOME") +
                    account("a6100", "root", "6100", "6100 Wareneinkauf 7%", "EXPENSE") +
                    account("a7222", "root", "7222", "7222 Vergütungen an bezahlte Sportler", "EXPENSE") +
                    account("dup", "root", "4100", "4100 Zweites Konto gleicher Nummer", "INCOME") +
                    "</gnc-account-example>\n";
  return tools::chart_rows(tools::parse_chart(xml));
}

const AccountRow& row(const std::vector<AccountRow>& rows, int number) {
  auto found = std::find_if(rows.begin(), rows.end(), [&](const AccountRow& r) { return r.number == number; });
  if (found == rows.end()) throw std::runtime_error("no account " + std::to_string(number));
  return *found;
}

TEST(AccountRules, NamesAreShortenedAtAWordBoundaryCountingCharacters) {
  EXPECT_EQ(tools::shorten_at_word("Bank", 40), "Bank");
  std::string forty(40, 'x');
  EXPECT_EQ(tools::shorten_at_word(forty, 40), forty);
  EXPECT_EQ(tools::shorten_at_word("Entgeltlich erworbene Konzessionen, Schutzrechte und Lizenzen", 40),
            "Entgeltlich erworbene Konzessionen");
  // 36 characters of umlauts (72 bytes) and a word: the umlauts count once.
  std::string umlauts;
  for (int i = 0; i < 36; ++i) umlauts += "\u00e4";
  EXPECT_EQ(tools::shorten_at_word(umlauts + " abc", 40), umlauts + " abc");
  EXPECT_EQ(tools::shorten_at_word(umlauts + " abcdef", 40), umlauts);
  EXPECT_EQ(tools::shorten_at_word(std::string(50, 'y'), 40), std::string(40, 'y'));
}

TEST(AccountRules, TaxRateComesFromTheName) {
  EXPECT_EQ(tools::stated_tax_rate("Erlöse 19 % USt"), 19);
  EXPECT_EQ(tools::stated_tax_rate("Abziehbare Vorsteuer 7%"), 7);
  EXPECT_EQ(tools::stated_tax_rate("Umsatzsteuer 17%"), 0);
  EXPECT_EQ(tools::stated_tax_rate("Nettoerlöse 16%"), 0);
  EXPECT_EQ(tools::stated_tax_rate("Spenden"), 0);
}

TEST(AccountRules, SelectsBookableFourDigitAccountsInAscendingOrder) {
  std::vector<AccountRow> rows = sample_chart();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.number < b.number; }));
  EXPECT_EQ(row(rows, 945).name, "Bank");
  EXPECT_EQ(row(rows, 4100).name, "Mieteinnahmen");  // the first of two accounts with one code
  EXPECT_EQ(row(rows, 3220).name, "Spenden & Zuwendungen");
  EXPECT_TRUE(row(rows, 5600).main_account);
  EXPECT_FALSE(row(rows, 5601).main_account);
}

TEST(AccountRules, DerivesTaxColumnsFromRateAndSide) {
  std::vector<AccountRow> rows = sample_chart();
  EXPECT_EQ(row(rows, 5600).start, "MehrwertSteuer");
  EXPECT_EQ(row(rows, 5600).vat_return_line, 81);
  EXPECT_EQ(row(rows, 6100).start, "VorSteuer");
  EXPECT_EQ(row(rows, 6100).vat_return_line, 66);
  EXPECT_EQ(row(rows, 6100).tax_rate, 7);
  EXPECT_EQ(row(rows, 5670).start, "ohne Steuer");
  EXPECT_FALSE(row(rows, 5670).vat_return_line);
  // The VAT account collects tax; it is a balance-sheet account, so no START.
  EXPECT_TRUE(row(rows, 1776).tax_collection);
  EXPECT_EQ(row(rows, 1776).start, "ohne Steuer");
  EXPECT_FALSE(row(rows, 5600).tax_collection);
  EXPECT_TRUE(row(rows, 945).bank);
  EXPECT_FALSE(row(rows, 100).bank);
}

TEST(AccountRules, ResultCategoriesFollowClassSideAndName) {
  std::vector<AccountRow> rows = sample_chart();
  EXPECT_EQ(row(rows, 5670).result_category, "IVB8");  // other expense, sport, tax-liable
  EXPECT_EQ(row(rows, 5670).kennzahl, "C2");
  EXPECT_EQ(row(rows, 5600).result_category, "IVA7");  // sales revenue
  EXPECT_EQ(row(rows, 5600).kennzahl, "D2");
  EXPECT_EQ(row(rows, 5601).result_category, "IVC3");  // tax-free sales revenue
  EXPECT_EQ(row(rows, 5602).result_category, "IVB6");  // personnel
  EXPECT_EQ(row(rows, 6100).result_category, "VB9");   // material
  EXPECT_EQ(row(rows, 3220).result_category, "IIA1");
  EXPECT_EQ(row(rows, 3700).result_category, "IIE2");
  EXPECT_EQ(row(rows, 4100).result_category, "IIIA3");  // rent
  EXPECT_EQ(row(rows, 4100).kennzahl, "D1");
  EXPECT_EQ(row(rows, 100).result_category, "");
  EXPECT_EQ(row(rows, 100).kennzahl, "A1");
  EXPECT_EQ(row(rows, 1776).kennzahl, "P3");
}

TEST(AccountTemplates, EachKindGetsTheAccountsOfItsActivities) {
  std::vector<AccountRow> chart = sample_chart();
  auto numbers_of = [&](std::string_view table) {
    for (const tools::TemplateKind& kind : tools::template_kinds()) {
      if (kind.account_table != table) continue;
      std::vector<int> numbers;
      for (const AccountRow& r : tools::template_accounts(chart, kind)) numbers.push_back(r.number);
      return numbers;
    }
    throw std::runtime_error("unknown template");
  };
  // Sub-account 5601 is in none; paid athletes (7222) only with paid sport.
  EXPECT_EQ(numbers_of("F5KontMonosportverein"), (std::vector<int>{945, 1776, 3220, 5600, 5602, 5670}));
  EXPECT_EQ(numbers_of("F5KontKulturverein"), (std::vector<int>{100, 945, 1776, 3220, 4100, 6100}));
  EXPECT_EQ(numbers_of("F5KontMitBezahltenSport"),
            (std::vector<int>{100, 945, 1776, 3220, 3700, 4100, 5600, 5602, 5670, 7222}));
  EXPECT_EQ(numbers_of("F5KontSportvereinMitAnlagevermogen"),
            (std::vector<int>{100, 945, 1776, 3220, 3700, 4100, 5600, 5602, 5670}));
  EXPECT_EQ(tools::template_kinds().size(), 7u);
  EXPECT_EQ(tools::tax_key_tables().size(), 7u);
}

}  // namespace
