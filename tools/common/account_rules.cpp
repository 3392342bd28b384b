#include "common/account_rules.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <stdexcept>

namespace tools {
namespace {

size_t utf8_length(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

// Byte offset of the character at index `chars`.
size_t utf8_offset(const std::string& text, size_t chars) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (n == chars) return i;
      ++n;
    }
  }
  return text.size();
}

std::string lower_ascii(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool mentions(const std::string& lowered, std::initializer_list<const char*> words) {
  for (const char* word : words) {
    if (lowered.find(word) != std::string::npos) return true;
  }
  return false;
}

Side side_of(const std::string& type) {
  if (type == "INCOME") return Side::Income;
  if (type == "EXPENSE") return Side::Expense;
  if (type == "ASSET" || type == "BANK" || type == "CASH" || type == "RECEIVABLE" || type == "STOCK" ||
      type == "MUTUAL") {
    return Side::Asset;
  }
  return Side::Liability;
}

// What kind of income or expense an account's name tells.
enum class Detail {
  Sales,
  StockChange,
  OwnWork,
  Interest,
  OtherIncome,
  Material,
  Personnel,
  Depreciation,
  OtherExpense
};

Detail detail_of(const std::string& lowered, Side side) {
  if (side == Side::Income) {
    if (mentions(lowered, {"bestandsver"})) return Detail::StockChange;
    if (mentions(lowered, {"aktivierte eigenleistung"})) return Detail::OwnWork;
    if (mentions(lowered, {"zins"})) return Detail::Interest;
    if (mentions(lowered, {"erlös", "erlöse", "umsatz", "verkauf", "eintritt", "einnahme"})) return Detail::Sales;
    return Detail::OtherIncome;
  }
  if (mentions(lowered, {"abschreibung", "afa"})) return Detail::Depreciation;
  if (mentions(lowered, {"lohn", "löhne", "gehalt", "gehälter", "personal", "sozial", "bungsleiter", "trainer",
                         "vergütung", "aufwandsentschädigung", "berufsgenossenschaft", "sportler"})) {
    return Detail::Personnel;
  }
  if (mentions(lowered, {"wareneingang", "wareneinkauf", "material", "einkauf", "bezug", "waren"}))
    return Detail::Material;
  return Detail::OtherExpense;
}

// Detail line numbers of each result category (section + letter), as the
// category tables hold them.
const std::map<std::string, std::map<Detail, int>>& detail_lines() {
  using D = Detail;
  static const std::map<std::string, std::map<Detail, int>> lines = {
      {"IVA", {{D::Sales, 7}, {D::OtherIncome, 8}}},
      {"IVB", {{D::Material, 5}, {D::Personnel, 6}, {D::Depreciation, 7}, {D::OtherExpense, 8}}},
      {"IVC", {{D::Sales, 3}, {D::OtherIncome, 4}}},
      {"IVD", {{D::Material, 1}, {D::Personnel, 2}, {D::Depreciation, 3}, {D::OtherExpense, 4}}},
      {"VA", {{D::Sales, 9}, {D::StockChange, 10}, {D::OwnWork, 11}, {D::OtherIncome, 12}}},
      {"VB", {{D::Material, 9}, {D::Personnel, 10}, {D::Depreciation, 11}}},
      {"VC", {{D::Sales, 5}, {D::StockChange, 6}, {D::OwnWork, 7}, {D::OtherIncome, 8}}},
      {"VD", {{D::Material, 5}, {D::Personnel, 6}, {D::Depreciation, 7}}},
      {"VIA", {{D::Sales, 14}}},
      {"VIB", {{D::Material, 12}, {D::Personnel, 13}, {D::Depreciation, 14}, {D::OtherExpense, 15}}},
      {"VIC", {{D::Sales, 10}}},
      {"VID", {{D::OtherExpense, 8}}},
      {"VIIA", {{D::Sales, 15}, {D::StockChange, 16}, {D::OwnWork, 17}, {D::OtherIncome, 18}, {D::Interest, 19}}},
      {"VIIB", {{D::Material, 16}, {D::Personnel, 17}, {D::Depreciation, 18}}},
      {"VIIC", {{D::Sales, 11}, {D::StockChange, 12}, {D::OwnWork, 13}, {D::OtherIncome, 14}}},
      {"VIID", {{D::Material, 9}, {D::Personnel, 10}, {D::Depreciation, 11}}},
  };
  return lines;
}

// Area digit of KENNZAHL and the category of a profit-and-loss account.
struct Category {
  std::string code;  // empty: not a profit-and-loss account
  int area = 0;
};

Category category_of(int number, Side side, const std::string& lowered) {
  if (side != Side::Income && side != Side::Expense) return {};
  bool income = side == Side::Income;
  int account_class = number / 1000;
  switch (account_class) {
    case 2: return {income ? "IA" : "IB", 0};
    case 3: {
      int range = number / 100 % 10;  // 32..38 -> 2..8
      if (range < 2 || range > 8) return {};
      static const char* kLetters = "AABCDEF";  // 32/33 A, 34 B, ... 38 F
      int area = range <= 3 ? 0 : range - 3;
      return {std::string("II") + kLetters[range - 2] + (income ? "1" : "2"), area};
    }
    case 4: {
      if (income) {
        int nr = mentions(lowered, {"miet", "pacht"})                            ? 3
                 : mentions(lowered, {"zins", "kurs", "dividend", "wertpapier"}) ? 4
                 : mentions(lowered, {"werbung", "werbe", "sponsor"})            ? 5
                                                                                 : 6;
        return {"IIIA" + std::to_string(nr), 1};
      }
      return {std::string("IIIB") + (mentions(lowered, {"abschreibung"}) ? "3" : "4"), 1};
    }
    case 5:
    case 6:
    case 7:
    case 8: {
      static const char* kSections[] = {"IV", "V", "VI", "VII"};
      bool tax_free = mentions(lowered, {"steuerfrei", "ohne ust", "ust-frei"});
      char letter = income ? (tax_free ? 'C' : 'A') : (tax_free ? 'D' : 'B');
      std::string category = std::string(kSections[account_class - 5]) + letter;
      const auto& lines = detail_lines().at(category);
      auto line = lines.find(detail_of(lowered, side));
      return {line == lines.end() ? category : category + std::to_string(line->second), account_class - 3};
    }
    default: return {};
  }
}

std::string balance_kennzahl(int number, Side side) {
  if (number >= 2000) return {};
  if (side == Side::Asset || number < 1000) return number < 600 ? "A1" : "A2";
  if (number < 1180) return "P1";
  if (number < 1300) return "P2";
  return "P3";
}

bool is_four_digit_code(const std::string& code) {
  return code.size() == 4 && std::isdigit(static_cast<unsigned char>(code[0])) &&
         std::isdigit(static_cast<unsigned char>(code[1])) && std::isdigit(static_cast<unsigned char>(code[2])) &&
         std::isdigit(static_cast<unsigned char>(code[3]));
}

AccountRow row_of(const ChartAccount& account, bool main_account) {
  AccountRow row;
  row.number = std::stoi(account.code);
  std::string name = account.name;
  if (name.rfind(account.code + " ", 0) == 0) name = name.substr(account.code.size() + 1);
  row.name = shorten_at_word(name, 40);
  row.side = side_of(account.type);
  row.main_account = main_account;
  row.bank = account.type == "BANK";
  row.tax_rate = stated_tax_rate(name);
  std::string lowered = lower_ascii(name);

  row.start = "ohne Steuer";
  if (row.tax_rate != 0 && row.side == Side::Income) {
    row.start = "MehrwertSteuer";
    row.vat_return_line = row.tax_rate == 19 ? 81 : 86;
  } else if (row.tax_rate != 0 && row.side == Side::Expense) {
    row.start = "VorSteuer";
    row.vat_return_line = 66;
  }
  row.tax_collection = row.tax_rate != 0 && row.number < 2000 && mentions(lowered, {"vorsteuer", "umsatzsteuer"});

  Category category = category_of(row.number, row.side, lowered);
  row.result_category = category.code;
  if (!category.code.empty()) {
    row.kennzahl = std::string(row.side == Side::Income ? "D" : "C") + std::to_string(category.area);
  } else if (row.side == Side::Asset || row.side == Side::Liability) {
    row.kennzahl = balance_kennzahl(row.number, row.side);
  }
  return row;
}

}  // namespace

std::string shorten_at_word(const std::string& name, size_t limit) {
  if (utf8_length(name) <= limit) return name;
  std::string head = name.substr(0, utf8_offset(name, limit + 1));  // limit + 1 characters
  size_t blank = head.rfind(' ');
  std::string cut =
      blank != std::string::npos && blank > 0 ? head.substr(0, blank) : name.substr(0, utf8_offset(name, limit));
  while (!cut.empty() && (cut.back() == ' ' || cut.back() == ',' || cut.back() == '-' || cut.back() == '/'))
    cut.pop_back();
  return cut;
}

int stated_tax_rate(const std::string& name) {
  for (int rate : {19, 7}) {
    for (const std::string& form : {std::to_string(rate) + "%", std::to_string(rate) + " %"}) {
      size_t at = name.find(form);
      while (at != std::string::npos) {
        if (at == 0 || !std::isdigit(static_cast<unsigned char>(name[at - 1]))) return rate;
        at = name.find(form, at + 1);
      }
    }
  }
  return 0;
}

std::vector<AccountRow> chart_rows(const std::vector<ChartAccount>& accounts) {
  std::map<std::string, const ChartAccount*> by_id;
  for (const ChartAccount& account : accounts) by_id[account.id] = &account;
  std::vector<AccountRow> rows;
  std::set<std::string> seen;
  for (const ChartAccount& account : accounts) {
    if (account.placeholder || !is_four_digit_code(account.code)) continue;
    if (!seen.insert(account.code).second) continue;
    auto parent = by_id.find(account.parent_id);
    bool main_account = parent == by_id.end() || !is_four_digit_code(parent->second->code);
    rows.push_back(row_of(account, main_account));
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const AccountRow& a, const AccountRow& b) { return a.number < b.number; });
  if (rows.empty()) throw std::runtime_error("the chart holds no accounts with a four-digit code");
  return rows;
}

}  // namespace tools
