// How an account of the SKR 49 chart file becomes a row of our account
// tables. The chart file gives each account a four-digit code, a name and a
// kind (asset, bank, income, expense, ...); everything else is derived here,
// by these rules:
//
//  Selection   every account with a four-digit code that is not a heading
//              (placeholder). A code the file lists twice keeps its first
//              account.
//  KONTONR     the code as a number ("0945" -> 945).
//  BEZEICHG    the name without the leading code, shortened to 40
//              characters at the last blank that keeps it within 40 (cut
//              hard at 40 when the first word alone is longer).
//  Tax rate    7 or 19 when the name states "7%"/"7 %" or "19%"/"19 %"
//              (other rates of the file, such as the temporary 16 %, count
//              as none).
//  START       'MehrwertSteuer' for an income account with a rate,
//              'VorSteuer' for an expense account with a rate, else
//              'ohne Steuer'.
//  STSCHL      the rate of an account whose START is not 'ohne Steuer'.
//  KENNZUSTV   line of the VAT return: 81 (income at 19 %), 86 (income at
//              7 %), 66 (input tax on an expense).
//  Steuersammelkonto
//              'J' for a balance-sheet account (class 0 or 1) whose name
//              names input tax or VAT ("Vorsteuer", "Umsatzsteuer") at a
//              rate of 7 or 19 %: the accounts that collect the tax.
//  Bank        'Wahr' for the accounts the file marks as bank accounts,
//              'Falsch' for all others.
//  KennzEUR    the result category (section numeral and line letter) and,
//              where the category has one, the detail line, written
//              together; only for income and expense accounts:
//                class 2 (non-profit area)           I A / I B
//                class 3 (tax-neutral items), by range: 32xx-33xx II A,
//                  34xx II B, 35xx II C, 36xx II D, 37xx II E, 38xx II F,
//                  detail 1 for income, 2 for expense; 39xx (use of the
//                  result) none
//                class 4 (asset management)          III A / III B
//                class 5 (sport, tax-privileged)     IV
//                class 6 (other tax-privileged)      V
//                class 7 (sport, commercial)         VI
//                class 8 (other commercial)          VII
//              In IV to VII income goes to line A and expense to line B,
//              or to C and D when the name marks the account tax-free
//              ("steuerfrei", "ohne USt"). The detail line follows the
//              kind of income or expense the name tells (sales revenue,
//              change in stock, own work capitalised, interest, other
//              income; material, personnel, depreciation, other expense);
//              a kind the category has no line for gives the category
//              alone.
//  BILANZGUV   'Wahr' when KennzEUR is set (a profit-and-loss account).
//  KENNZAHL    profit-and-loss accounts: 'D' (income) or 'C' (expense)
//              and the area: 0 non-profit area, 1 asset management, 2 sport
//              tax-privileged, 3 other tax-privileged, 4 sport commercial,
//              5 other commercial. Balance-sheet accounts: 'A1' fixed
//              assets (0010-0599), 'A2' current assets (0600-0999), 'P1'
//              equity and reserves (1000-1179), 'P2' special items and
//              provisions (1180-1299), 'P3' liabilities (1300-1999). Class 9
//              (statistics) none.
//  VORLABHAB, VORLABSOLL
//              0.00000000 for account 945 'Bank', the chart's main bank
//              account, null for all others.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/chart_file.h"

namespace tools {

enum class Side { Asset, Liability, Income, Expense };

struct AccountRow {
  int number = 0;    // KONTONR
  std::string name;  // BEZEICHG, at most 40 characters
  Side side = Side::Asset;
  bool main_account = false;           // its parent is a heading, not another account
  int tax_rate = 0;                    // 0, 7 or 19
  std::string start;                   // START
  std::optional<int> vat_return_line;  // KENNZUSTV
  bool bank = false;
  bool tax_collection = false;  // Steuersammelkonto 'J'
  std::string kennzahl;         // empty for none
  std::string result_category;  // KennzEUR, empty for none

  bool profit_and_loss() const { return !result_category.empty(); }
  int account_class() const { return number / 1000; }
};

// The rows of the chart, in file order, by the rules above.
std::vector<AccountRow> chart_rows(const std::vector<ChartAccount>& accounts);

// `name` cut to `limit` characters (UTF-8) at a word boundary.
std::string shorten_at_word(const std::string& name, size_t limit);

// 7, 19 or 0: the rate the name states.
int stated_tax_rate(const std::string& name);

}  // namespace tools
