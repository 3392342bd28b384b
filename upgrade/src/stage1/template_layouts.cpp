#include "template_layouts.h"

namespace upgrade::stage1 {
namespace {

constexpr bool NOT_NULL = true;
constexpr bool NULLABLE = false;

// The account row of F5Kont as the templates carry it, with the columns
// that stage I adds to F5Kont at the end.
constexpr TemplateColumn kAccountLayout[] = {
    {"BUCHJAHR", "smallint", "", NOT_NULL},
    {"KONTONR", "int", "", NOT_NULL},
    {"BEZEICHG", "varchar", "40", NULLABLE},
    {"ABHABEN", "numeric", "19, 8", NULLABLE},
    {"ABSOLL", "numeric", "19, 8", NULLABLE},
    {"JAHRUMSH", "numeric", "19, 8", NULLABLE},
    {"JAHRUMSS", "numeric", "19, 8", NULLABLE},
    {"BILANZGUV", "varchar", "8", NULLABLE},
    {"KENNZAHL", "varchar", "10", NULLABLE},
    {"KTOART", "varchar", "40", NULLABLE},
    {"START", "varchar", "20", NULLABLE},
    {"STSCHL", "smallint", "", NULLABLE},
    {"KREDKONTO", "int", "", NULLABLE},
    {"DEBITKTO", "int", "", NULLABLE},
    {"MOUMSHJAN", "numeric", "19, 8", NULLABLE},
    {"MOUMSSJAN", "numeric", "19, 8", NULLABLE},
    {"MOUMSHFEB", "numeric", "19, 8", NULLABLE},
    {"MOUMSSFEB", "numeric", "19, 8", NULLABLE},
    {"MOUMSHMÄRZ", "numeric", "19, 8", NULLABLE},
    {"MOUMSSMÄRZ", "numeric", "19, 8", NULLABLE},
    {"MOUMSHAPRIL", "numeric", "19, 8", NULLABLE},
    {"MOUMSSAPRIL", "numeric", "19, 8", NULLABLE},
    {"MOUMSHMAI", "numeric", "19, 8", NULLABLE},
    {"MOUMSSMAI", "numeric", "19, 8", NULLABLE},
    {"MOUMSHJUNI", "numeric", "19, 8", NULLABLE},
    {"MOUMSSJUNI", "numeric", "19, 8", NULLABLE},
    {"MOUMSHJULI", "numeric", "19, 8", NULLABLE},
    {"MOUMSSJULI", "numeric", "19, 8", NULLABLE},
    {"MOUMSHAUG", "numeric", "19, 8", NULLABLE},
    {"MOUMSSAUG", "numeric", "19, 8", NULLABLE},
    {"MOUMSHSEP", "numeric", "19, 8", NULLABLE},
    {"MOUMSSSEP", "numeric", "19, 8", NULLABLE},
    {"MOUMSHOKT", "numeric", "19, 8", NULLABLE},
    {"MOUMSSOKT", "numeric", "19, 8", NULLABLE},
    {"MOUMSHNOV", "numeric", "19, 8", NULLABLE},
    {"MOUMSSNOV", "numeric", "19, 8", NULLABLE},
    {"MOUMSHDEZ", "numeric", "19, 8", NULLABLE},
    {"MOUMSSDEZ", "numeric", "19, 8", NULLABLE},
    {"VERDICHTEN", "varchar", "6", NULLABLE},
    {"KENNZUSTV", "smallint", "", NULLABLE},
    {"SEITENZAHL", "smallint", "", NULLABLE},
    {"SPERRE", "varchar", "6", NULLABLE},
    {"FÄLLIGKEIT1", "smallint", "", NULLABLE},
    {"SKONTO1_", "numeric", "19, 8", NULLABLE},
    {"FÄLLIGKEIT2", "smallint", "", NULLABLE},
    {"SKONTO2_", "numeric", "19, 8", NULLABLE},
    {"FÄLLIGKEIT3", "smallint", "", NULLABLE},
    {"HAUPTKONTO", "numeric", "19, 8", NULLABLE},
    {"VORLABHAB", "numeric", "19, 8", NULLABLE},
    {"VORLABSOLL", "numeric", "19, 8", NULLABLE},
    {"SEITENANZLE", "numeric", "19, 8", NULLABLE},
    {"VALUTA", "varchar", "3", NULLABLE},
    {"PlanJahrSoll", "numeric", "19, 8", NULLABLE},
    {"PlanJahrHaben", "numeric", "19, 8", NULLABLE},
    {"PlanSollJan", "numeric", "19, 8", NULLABLE},
    {"PlanHabenJan", "numeric", "19, 8", NULLABLE},
    {"PlanSollFeb", "numeric", "19, 8", NULLABLE},
    {"PlanHabenFeb", "numeric", "19, 8", NULLABLE},
    {"PlanSollMaerz", "numeric", "19, 8", NULLABLE},
    {"PlanHabenMaerz", "numeric", "19, 8", NULLABLE},
    {"PlanSollApril", "numeric", "19, 8", NULLABLE},
    {"PlanHabenApril", "numeric", "19, 8", NULLABLE},
    {"PlanSollMai", "numeric", "19, 8", NULLABLE},
    {"PlanHabenMai", "numeric", "19, 8", NULLABLE},
    {"PlanSollJuni", "numeric", "19, 8", NULLABLE},
    {"PlanHabenJuni", "numeric", "19, 8", NULLABLE},
    {"PlanSollJuli", "numeric", "19, 8", NULLABLE},
    {"PlanHabenJuli", "numeric", "19, 8", NULLABLE},
    {"PlanSollAug", "numeric", "19, 8", NULLABLE},
    {"PlanHabenAug", "numeric", "19, 8", NULLABLE},
    {"PlanSollSep", "numeric", "19, 8", NULLABLE},
    {"PlanHabenSep", "numeric", "19, 8", NULLABLE},
    {"PlanSollOkt", "numeric", "19, 8", NULLABLE},
    {"PlanHabenOkt", "numeric", "19, 8", NULLABLE},
    {"PlanSollNov", "numeric", "19, 8", NULLABLE},
    {"PlanHabenNov", "numeric", "19, 8", NULLABLE},
    {"PlanSollDez", "numeric", "19, 8", NULLABLE},
    {"PlanHabenDez", "numeric", "19, 8", NULLABLE},
    {"STSCH_U", "varchar", "1", NULLABLE},
    {"KONTO_WGEWI", "numeric", "19, 8", NULLABLE},
    {"KONTO_WVERL", "numeric", "19, 8", NULLABLE},
    {"KOST_J_N", "varchar", "6", NULLABLE},
    {"KontoArt", "varchar", "40", NULLABLE},
    {"Bank", "varchar", "6", NULLABLE},
    {"Unterkonto", "varchar", "1", NULLABLE},
    {"HauptKto", "int", "", NULLABLE},
    {"Bezeich2", "varchar", "40", NULLABLE},
    {"KdLfNr", "varchar", "30", NULLABLE},
    {"KennzGuV", "varchar", "10", NULLABLE},
    {"KennzBilanz", "varchar", "10", NULLABLE},
    {"KennzBWA", "varchar", "10", NULLABLE},
    {"HHRest", "numeric", "19, 8", NULLABLE},
    {"OPS", "varchar", "1", NULLABLE},
    {"Spende", "char", "10", NULLABLE},
    {"KennzEU", "char", "10", NULLABLE},
    {"BenutzerErf", "varchar", "20", NULLABLE},
    {"BenutzerAend", "varchar", "20", NULLABLE},
    {"DatumErf", "datetime", "", NULLABLE},
    {"DatumAend", "datetime", "", NULLABLE},
    {"Kassenstand", "numeric", "18, 8", NULLABLE},
    {"Anfangsbestand", "numeric", "18, 8", NULLABLE},
    {"AktBelegNr", "numeric", "18, 8", NULLABLE},
    {"KB", "char", "1", NULLABLE},
    {"EINAUS", "char", "1", NULLABLE},
    {"Steuersammelkonto", "varchar", "1", NULLABLE},
    {"KennzEUR", "varchar", "7", NULLABLE},
};

// The tax-key row of F5Dat after its key conversion: LfdNr is the running
// number that makes (STEUERSCHL, LfdNr) unique.
constexpr TemplateColumn kTaxKeyLayout[] = {
    {"STEUERSCHL", "smallint", "", NOT_NULL},
    {"MWSTKTO", "int", "", NULLABLE},
    {"VORST_KTO", "int", "", NULLABLE},
    {"BFG_BASIS", "smallint", "", NULLABLE},
    {"BFB_GGKTO", "smallint", "", NULLABLE},
    {"BEG", "varchar", "5", NULLABLE},
    {"Klasse", "char", "1", NULLABLE},
    {"LfdNr", "int", "", NOT_NULL},
};

}  // namespace

std::span<const TemplateColumn> account_layout() { return kAccountLayout; }
std::span<const TemplateColumn> tax_key_layout() { return kTaxKeyLayout; }

std::string column_line(const TemplateColumn& column) {
  std::string line = "[";
  line += column.name;
  line += "] [";
  line += column.type;
  line += "]";
  if (!column.size.empty()) {
    line += "(";
    line += column.size;
    line += ")";
  }
  if (column.name == "LfdNr") line += " IDENTITY(1,1)";
  line += column.not_null ? " NOT NULL" : " NULL";
  return line;
}

Lines create_statement(std::string_view table, std::span<const TemplateColumn> layout) {
  Lines lines{"CREATE TABLE dbo." + std::string(table) + " ("};
  for (size_t i = 0; i < layout.size(); ++i)
    lines.push_back(column_line(layout[i]) + (i + 1 < layout.size() ? "," : ""));
  lines.push_back(") ON [PRIMARY]");
  return lines;
}

Lines key_statement(std::string_view table, std::string_view first_key,
                    std::string_view second_key) {
  std::string name(table);
  return {"ALTER TABLE [dbo].[" + name + "]  ADD CONSTRAINT [PK_" + name +
              "] PRIMARY KEY CLUSTERED (",
          "[" + std::string(first_key) + "] ASC,", "[" + std::string(second_key) + "] ASC",
          ")WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]"};
}

}  // namespace upgrade::stage1
