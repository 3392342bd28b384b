// skr49_scripts: the SKR 49 chart and the seven template charts of accounts.
//
//   skr49_scripts CHART_FILE OUT_DIR
//
// Reads the SKR 49 chart in the account-example XML format and writes to
// OUT_DIR:
//   cmdSKR49.sql  one positional insert per account into F5SKR49, all 108
//                 columns, booking year 2015, accounts ascending;
//   Memo1.sql     the seven template account tables: for each, a batch that
//                 drops it, one that creates it and one batch per account
//                 (booking year 2010), each batch ended by a GO line;
//   Memo2.sql     the seven template tax-key tables with their ten tax keys.
// How an account's columns are derived is described in
// common/account_rules.h, which accounts a template holds in
// common/account_templates.h.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/account_rules.h"
#include "common/account_templates.h"
#include "common/chart_file.h"
#include "common/sql_text.h"
#include "common/text_file.h"
#include "scripts/account_layout.h"

namespace {

using tools::AccountRow;

std::string text_or_null(const std::string& value) { return value.empty() ? "null" : tools::quoted(value); }

// The value of one column of the SKR 49 chart for `row`.
std::string chart_value(std::string_view column, const AccountRow& row) {
  if (column == "BUCHJAHR") return "2015";
  if (column == "KONTONR") return std::to_string(row.number);
  if (column == "BEZEICHG") return tools::quoted(row.name);
  if (column == "BILANZGUV") return row.profit_and_loss() ? "'Wahr'" : "null";
  if (column == "KENNZAHL") return text_or_null(row.kennzahl);
  if (column == "KTOART") return "'Sachkonto'";
  if (column == "START") return tools::quoted(row.start);
  if (column == "STSCHL") return row.vat_return_line ? std::to_string(row.tax_rate) + ".00" : "null";
  if (column == "KENNZUSTV") return row.vat_return_line ? std::to_string(*row.vat_return_line) : "null";
  if (column == "Bank") return row.bank ? "'Wahr'" : "'Falsch'";
  if (column == "Steuersammelkonto") return row.tax_collection ? "'J'" : "null";
  if (column == "KennzEUR") return text_or_null(row.result_category);
  if ((column == "VORLABHAB" || column == "VORLABSOLL") && row.number == 945) return "0.00000000";
  return "null";
}

std::string chart_script(const std::vector<AccountRow>& rows) {
  std::string text;
  for (const AccountRow& row : rows) {
    std::string line = "Insert Into F5SKR49 Select ";
    bool first = true;
    auto add = [&](const scripts::LayoutColumn& column) {
      if (!first) line += ", ";
      first = false;
      line += std::string(column.name) + "=" + chart_value(column.name, row);
    };
    for (const auto& column : scripts::kAccountColumns) add(column);
    for (const auto& column : scripts::kChartExtraColumns) add(column);
    text += line + "\n";
  }
  return text;
}

// --- templates --------------------------------------------------------------

// "\t[BEZEICHG] [varchar] (40) NULL ,"
std::string create_column_line(const scripts::LayoutColumn& column) {
  std::string line = "\t[" + std::string(column.name) + "] [" + std::string(column.type) + "]";
  if (!column.size.empty()) line += " (" + std::string(column.size) + ")";
  if (column.identity) line += " IDENTITY (1, 1)";
  line += column.not_null ? " NOT NULL ," : " NULL ,";
  return line;
}

void add_drop_batch(std::vector<std::string>& lines, std::string_view table) {
  std::string name(table);
  lines.push_back("IF EXISTS (SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME ='" + name +
                  "') DROP TABLE " + name);
  lines.push_back("GO");
}

void add_create_batch(std::vector<std::string>& lines, std::string_view table,
                      std::span<const scripts::LayoutColumn> columns, std::string_view key1, std::string_view key2) {
  std::string name(table);
  lines.push_back("CREATE TABLE [dbo].[" + name + "] (");
  for (const auto& column : columns) lines.push_back(create_column_line(column));
  lines.push_back("\tCONSTRAINT [PK_" + name + "] PRIMARY KEY  CLUSTERED ");
  lines.push_back("\t(");
  lines.push_back("\t\t[" + std::string(key1) + "],");
  lines.push_back("\t\t[" + std::string(key2) + "]");
  lines.push_back("\t)  ON [PRIMARY] ");
  lines.push_back(") ON [PRIMARY]");
  lines.push_back("GO");
}

bool is_donation_account(const AccountRow& row) {
  return row.side == tools::Side::Income && row.name.find("Spende") != std::string::npos;
}

// The INSERT of one template account: the common columns, with STSCHL and
// KENNZUSTV for an account with tax and Spende for a donation account.
void add_template_insert(std::vector<std::string>& lines, std::string_view table, const AccountRow& row) {
  std::vector<std::pair<std::string, std::string>> values = {{"BUCHJAHR", "2010"},
                                                             {"KONTONR", std::to_string(row.number)},
                                                             {"BEZEICHG", tools::quoted(row.name)},
                                                             {"BILANZGUV", row.profit_and_loss() ? "'Wahr'" : "''"},
                                                             {"KENNZAHL", tools::quoted(row.kennzahl)},
                                                             {"KTOART", "''"},
                                                             {"START", tools::quoted(row.start)}};
  if (row.vat_return_line) values.emplace_back("STSCHL", std::to_string(row.tax_rate));
  values.emplace_back("VERDICHTEN", "''");
  if (row.vat_return_line) values.emplace_back("KENNZUSTV", std::to_string(*row.vat_return_line));
  for (const char* column : {"SPERRE", "VALUTA", "STSCH_U", "KOST_J_N", "KontoArt"}) values.emplace_back(column, "''");
  values.emplace_back("Bank", row.bank ? "'Wahr'" : "'Falsch'");
  for (const char* column : {"Unterkonto", "Bezeich2", "KdLfNr", "KennzGuV", "KennzBilanz", "KennzBWA", "OPS"}) {
    values.emplace_back(column, "''");
  }
  if (is_donation_account(row)) values.emplace_back("Spende", "'J         '");
  values.emplace_back("BenutzerErf", "''");
  values.emplace_back("BenutzerAend", "''");
  values.emplace_back("Steuersammelkonto", row.tax_collection ? "'J'" : "''");
  values.emplace_back("KennzEUR", tools::quoted(row.result_category));

  std::string columns_line = "INSERT INTO [dbo].[" + std::string(table) + "] (";
  std::string values_line = "VALUES (";
  for (size_t i = 0; i < values.size(); ++i) {
    const char* separator = i + 1 < values.size() ? ", " : ")";
    columns_line += "[" + values[i].first + "]" + separator;
    values_line += values[i].second + separator;
  }
  lines.push_back(columns_line);
  lines.push_back(values_line);
  lines.push_back("GO");
}

std::string account_templates_script(const std::vector<AccountRow>& chart) {
  std::vector<std::string> lines;
  for (const tools::TemplateKind& kind : tools::template_kinds()) {
    add_drop_batch(lines, kind.account_table);
    add_create_batch(lines, kind.account_table, scripts::kAccountColumns, "BUCHJAHR", "KONTONR");
    for (const AccountRow& row : tools::template_accounts(chart, kind))
      add_template_insert(lines, kind.account_table, row);
  }
  return tools::join(lines, "\n") + "\n";
}

struct TemplateTaxKey {
  int rate, output_tax_account, input_tax_account;
  char account_class;
};

// The tax keys every template starts with: 7 and 19 % for the account
// classes 4 to 8, each with its output- and input-tax account.
constexpr TemplateTaxKey kTemplateTaxKeys[] = {
    {7, 4298, 4905, '4'},  {7, 5198, 5684, '5'},  {7, 6098, 6374, '6'},  {7, 7848, 7876, '7'},  {7, 8148, 8381, '8'},
    {19, 4299, 4906, '4'}, {19, 5199, 5685, '5'}, {19, 6099, 6375, '6'}, {19, 7849, 7877, '7'}, {19, 8149, 8382, '8'}};

std::string tax_key_templates_script() {
  std::vector<std::string> lines;
  std::string previous;
  for (std::string_view table_view : tools::tax_key_tables()) {
    std::string table(table_view);
    // Only one table of a session may have IDENTITY_INSERT on: end the
    // previous table's before dropping the next.
    if (!previous.empty()) lines.push_back("SET IDENTITY_INSERT [dbo].[" + previous + "] OFF");
    add_drop_batch(lines, table);
    add_create_batch(lines, table, scripts::kTaxKeyColumns, "STEUERSCHL", "LfdNr");
    lines.push_back("SET IDENTITY_INSERT [dbo].[" + table + "] ON");
    int running_number = 0;
    for (const TemplateTaxKey& key : kTemplateTaxKeys) {
      ++running_number;
      lines.push_back("INSERT INTO [dbo].[" + table + "] ([STEUERSCHL], [MWSTKTO], [VORST_KTO], [Klasse], [LfdNr])");
      lines.push_back("VALUES (" + std::to_string(key.rate) + "," + std::to_string(key.output_tax_account) + "," +
                      std::to_string(key.input_tax_account) + ",'" + key.account_class + "'," +
                      std::to_string(running_number) + ")");
      lines.push_back("GO");
    }
    previous = table;
  }
  lines.push_back("SET IDENTITY_INSERT [dbo].[" + previous + "] OFF");
  lines.push_back("GO");
  return tools::join(lines, "\n") + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skr49_scripts CHART_FILE OUT_DIR\n");
    return 2;
  }
  try {
    std::vector<AccountRow> chart = tools::chart_rows(tools::parse_chart(tools::read_file(argv[1])));
    const std::string out_dir = argv[2];
    tools::write_file_if_changed(out_dir + "/cmdSKR49.sql", chart_script(chart));
    tools::write_file_if_changed(out_dir + "/Memo1.sql", account_templates_script(chart));
    tools::write_file_if_changed(out_dir + "/Memo2.sql", tax_key_templates_script());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "skr49_scripts: %s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}
