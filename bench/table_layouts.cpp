#include "table_layouts.h"

#include <string_view>
#include <utility>
#include <vector>

namespace bench {
namespace {

using Columns = std::vector<std::pair<std::string_view, std::string_view>>;

const Columns& bank_directory_columns() {
  static const Columns columns = {
      {"BLZ", "varchar(8) NOT NULL"},
      {"LfdNr", "int NULL"},
      {"BANK", "varchar(255) NULL"},
      {"ORT", "varchar(255) NULL"},
      {"Merkmal", "integer NULL"},
      {"Bezeichnung", "VARCHAR(255) NULL"},
      {"PAN", "VARCHAR(10) NULL"},
      {"PLZ", "VARCHAR(10) NULL"},
      {"BIC", "VARCHAR(80) NULL"},
      {"Pr_Ziff", "VARCHAR(10) NULL"},
      {"Datensatznummer", "VARCHAR(10) NULL"},
      {"AendKz", "CHAR(1) NULL"},
      {"BLZ_Loe", "integer NULL"},
      {"NACHFOLGE_BLZ", "VARCHAR(20) NULL"},
      {"Postfach", "VARCHAR(20) NULL"},
      {"Bundesland", "VARCHAR(50) NULL"},
      {"Email", "VARCHAR(255) NULL"},
      {"Telefon", "VARCHAR(80) NULL"},
      {"FAx", "VARCHAR(80) NULL"},
      {"Homepage", "VARCHAR(255) NULL"},
      {"Land", "VARCHAR(4) NULL"},
      {"Kennzeichen", "VARCHAR(20) NULL"},
      {"Sektor", "VARCHAR(50) NULL"},
      {"Strasse", "VARCHAR(255) NULL"},
  };
  return columns;
}

// The account layout in declared order, then the two chart columns. A table
// of data, one row per column: its length says nothing about its weight.
// NOLINTNEXTLINE(readability-function-size)
const Columns& skr49_columns() {
  static const Columns columns = [] {
    constexpr std::string_view kAmount = "numeric(19, 8) NULL";
    Columns c = {{"BUCHJAHR", "smallint NOT NULL"},
                 {"KONTONR", "int NOT NULL"},
                 {"BEZEICHG", "varchar(40) NULL"},
                 {"ABHABEN", kAmount},
                 {"ABSOLL", kAmount},
                 {"JAHRUMSH", kAmount},
                 {"JAHRUMSS", kAmount},
                 {"BILANZGUV", "varchar(8) NULL"},
                 {"KENNZAHL", "varchar(10) NULL"},
                 {"KTOART", "varchar(40) NULL"},
                 {"START", "varchar(20) NULL"},
                 {"STSCHL", "smallint NULL"},
                 {"KREDKONTO", "int NULL"},
                 {"DEBITKTO", "int NULL"}};
    static const char* const kMonthTurnover[] = {
        "MOUMSHJAN", "MOUMSSJAN", "MOUMSHFEB",  "MOUMSSFEB",  "MOUMSHMÄRZ", "MOUMSSMÄRZ", "MOUMSHAPRIL", "MOUMSSAPRIL",
        "MOUMSHMAI", "MOUMSSMAI", "MOUMSHJUNI", "MOUMSSJUNI", "MOUMSHJULI", "MOUMSSJULI", "MOUMSHAUG",   "MOUMSSAUG",
        "MOUMSHSEP", "MOUMSSSEP", "MOUMSHOKT",  "MOUMSSOKT",  "MOUMSHNOV",  "MOUMSSNOV",  "MOUMSHDEZ",   "MOUMSSDEZ"};
    for (const char* name : kMonthTurnover) c.emplace_back(name, kAmount);
    Columns middle = {{"VERDICHTEN", "varchar(6) NULL"},
                      {"KENNZUSTV", "smallint NULL"},
                      {"SEITENZAHL", "smallint NULL"},
                      {"SPERRE", "varchar(6) NULL"},
                      {"FÄLLIGKEIT1", "smallint NULL"},
                      {"SKONTO1_", kAmount},
                      {"FÄLLIGKEIT2", "smallint NULL"},
                      {"SKONTO2_", kAmount},
                      {"FÄLLIGKEIT3", "smallint NULL"},
                      {"HAUPTKONTO", kAmount},
                      {"VORLABHAB", kAmount},
                      {"VORLABSOLL", kAmount},
                      {"SEITENANZLE", kAmount},
                      {"VALUTA", "varchar(3) NULL"},
                      {"PlanJahrSoll", kAmount},
                      {"PlanJahrHaben", kAmount}};
    c.insert(c.end(), middle.begin(), middle.end());
    static const char* const kPlanMonths[] = {"Jan",  "Feb", "Maerz", "April", "Mai", "Juni",
                                              "Juli", "Aug", "Sep",   "Okt",   "Nov", "Dez"};
    static std::vector<std::string> plan_names;
    for (const char* month : kPlanMonths) {
      plan_names.push_back(std::string("PlanSoll") + month);
      plan_names.push_back(std::string("PlanHaben") + month);
    }
    for (const auto& name : plan_names) c.emplace_back(name, kAmount);
    Columns tail = {{"STSCH_U", "varchar(1) NULL"},
                    {"KONTO_WGEWI", kAmount},
                    {"KONTO_WVERL", kAmount},
                    {"KOST_J_N", "varchar(6) NULL"},
                    {"KontoArt", "varchar(40) NULL"},
                    {"Bank", "varchar(6) NULL"},
                    {"Unterkonto", "varchar(1) NULL"},
                    {"HauptKto", "int NULL"},
                    {"Bezeich2", "varchar(40) NULL"},
                    {"KdLfNr", "varchar(30) NULL"},
                    {"KennzGuV", "varchar(10) NULL"},
                    {"KennzBilanz", "varchar(10) NULL"},
                    {"KennzBWA", "varchar(10) NULL"},
                    {"HHRest", kAmount},
                    {"OPS", "varchar(1) NULL"},
                    {"Spende", "char(10) NULL"},
                    {"KennzEU", "char(10) NULL"},
                    {"BenutzerErf", "varchar(20) NULL"},
                    {"BenutzerAend", "varchar(20) NULL"},
                    {"DatumErf", "datetime NULL"},
                    {"DatumAend", "datetime NULL"},
                    {"Kassenstand", "numeric(18, 8) NULL"},
                    {"Anfangsbestand", "numeric(18, 8) NULL"},
                    {"AktBelegNr", "numeric(18, 8) NULL"},
                    {"KB", "char(1) NULL"},
                    {"EINAUS", "char(1) NULL"},
                    {"Steuersammelkonto", "varchar(1) NULL"},
                    {"KennzEUR", "varchar(7) NULL"},
                    {"KoSt", "int NULL"},
                    {"DatevAuto", "char(1) NULL"}};
    c.insert(c.end(), tail.begin(), tail.end());
    return c;
  }();
  return columns;
}

std::string column_list(const Columns& columns) {
  std::string out;
  for (const auto& [name, type] : columns) {
    out += "  [" + std::string(name) + "] " + std::string(type) + ",\n";
  }
  return out;
}

}  // namespace

std::string bank_directory_ddl_tsql() {
  return "CREATE TABLE D_blz (\n" + column_list(bank_directory_columns()) +
         "  ID int IDENTITY(1,1) NOT NULL,\n"
         "  CONSTRAINT PK_D_BLZ PRIMARY KEY CLUSTERED (BLZ, ID)\n)";
}

std::string bank_directory_ddl_sqlite() {
  return "CREATE TABLE D_blz (\n" + column_list(bank_directory_columns()) +
         "  ID INTEGER PRIMARY KEY\n);\n"
         "CREATE UNIQUE INDEX PK_D_BLZ ON D_blz (BLZ, ID);";
}

std::string skr49_chart_ddl_tsql() {
  return "CREATE TABLE F5SKR49 (\n" + column_list(skr49_columns()) +
         "  CONSTRAINT PK_F5SKR49 PRIMARY KEY CLUSTERED (BUCHJAHR, KONTONR)\n)";
}

std::string skr49_chart_ddl_sqlite() {
  return "CREATE TABLE F5SKR49 (\n" + column_list(skr49_columns()) +
         "  PRIMARY KEY (BUCHJAHR, KONTONR)\n) WITHOUT ROWID;";
}

}  // namespace bench
