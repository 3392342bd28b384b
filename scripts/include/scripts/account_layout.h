// The column layouts of the chart-of-accounts tables: the 106-column
// account row of F5Kont and of the template account tables, the two columns
// the SKR 49 chart table has after them, and the 8-column tax-key row of
// F5Dat and the template tax-key tables. The script generators (at build
// time) and the upgrade (which creates the same tables) both read them here.
#pragma once

#include <string_view>

namespace scripts {

struct LayoutColumn {
  std::string_view name;
  std::string_view type;  // smallint, int, varchar, numeric, char, datetime
  std::string_view size;  // "40", "19, 8" or empty
  bool not_null = false;
  bool identity = false;
};

// The 106 columns of an account table, in table order.
inline constexpr LayoutColumn kAccountColumns[] = {
    {"BUCHJAHR", "smallint", "", true},
    {"KONTONR", "int", "", true},
    {"BEZEICHG", "varchar", "40", false},
    {"ABHABEN", "numeric", "19, 8", false},
    {"ABSOLL", "numeric", "19, 8", false},
    {"JAHRUMSH", "numeric", "19, 8", false},
    {"JAHRUMSS", "numeric", "19, 8", false},
    {"BILANZGUV", "varchar", "8", false},
    {"KENNZAHL", "varchar", "10", false},
    {"KTOART", "varchar", "40", false},
    {"START", "varchar", "20", false},
    {"STSCHL", "smallint", "", false},
    {"KREDKONTO", "int", "", false},
    {"DEBITKTO", "int", "", false},
    {"MOUMSHJAN", "numeric", "19, 8", false},
    {"MOUMSSJAN", "numeric", "19, 8", false},
    {"MOUMSHFEB", "numeric", "19, 8", false},
    {"MOUMSSFEB", "numeric", "19, 8", false},
    {"MOUMSHMÄRZ", "numeric", "19, 8", false},
    {"MOUMSSMÄRZ", "numeric", "19, 8", false},
    {"MOUMSHAPRIL", "numeric", "19, 8", false},
    {"MOUMSSAPRIL", "numeric", "19, 8", false},
    {"MOUMSHMAI", "numeric", "19, 8", false},
    {"MOUMSSMAI", "numeric", "19, 8", false},
    {"MOUMSHJUNI", "numeric", "19, 8", false},
    {"MOUMSSJUNI", "numeric", "19, 8", false},
    {"MOUMSHJULI", "numeric", "19, 8", false},
    {"MOUMSSJULI", "numeric", "19, 8", false},
    {"MOUMSHAUG", "numeric", "19, 8", false},
    {"MOUMSSAUG", "numeric", "19, 8", false},
    {"MOUMSHSEP", "numeric", "19, 8", false},
    {"MOUMSSSEP", "numeric", "19, 8", false},
    {"MOUMSHOKT", "numeric", "19, 8", false},
    {"MOUMSSOKT", "numeric", "19, 8", false},
    {"MOUMSHNOV", "numeric", "19, 8", false},
    {"MOUMSSNOV", "numeric", "19, 8", false},
    {"MOUMSHDEZ", "numeric", "19, 8", false},
    {"MOUMSSDEZ", "numeric", "19, 8", false},
    {"VERDICHTEN", "varchar", "6", false},
    {"KENNZUSTV", "smallint", "", false},
    {"SEITENZAHL", "smallint", "", false},
    {"SPERRE", "varchar", "6", false},
    {"FÄLLIGKEIT1", "smallint", "", false},
    {"SKONTO1_", "numeric", "19, 8", false},
    {"FÄLLIGKEIT2", "smallint", "", false},
    {"SKONTO2_", "numeric", "19, 8", false},
    {"FÄLLIGKEIT3", "smallint", "", false},
    {"HAUPTKONTO", "numeric", "19, 8", false},
    {"VORLABHAB", "numeric", "19, 8", false},
    {"VORLABSOLL", "numeric", "19, 8", false},
    {"SEITENANZLE", "numeric", "19, 8", false},
    {"VALUTA", "varchar", "3", false},
    {"PlanJahrSoll", "numeric", "19, 8", false},
    {"PlanJahrHaben", "numeric", "19, 8", false},
    {"PlanSollJan", "numeric", "19, 8", false},
    {"PlanHabenJan", "numeric", "19, 8", false},
    {"PlanSollFeb", "numeric", "19, 8", false},
    {"PlanHabenFeb", "numeric", "19, 8", false},
    {"PlanSollMaerz", "numeric", "19, 8", false},
    {"PlanHabenMaerz", "numeric", "19, 8", false},
    {"PlanSollApril", "numeric", "19, 8", false},
    {"PlanHabenApril", "numeric", "19, 8", false},
    {"PlanSollMai", "numeric", "19, 8", false},
    {"PlanHabenMai", "numeric", "19, 8", false},
    {"PlanSollJuni", "numeric", "19, 8", false},
    {"PlanHabenJuni", "numeric", "19, 8", false},
    {"PlanSollJuli", "numeric", "19, 8", false},
    {"PlanHabenJuli", "numeric", "19, 8", false},
    {"PlanSollAug", "numeric", "19, 8", false},
    {"PlanHabenAug", "numeric", "19, 8", false},
    {"PlanSollSep", "numeric", "19, 8", false},
    {"PlanHabenSep", "numeric", "19, 8", false},
    {"PlanSollOkt", "numeric", "19, 8", false},
    {"PlanHabenOkt", "numeric", "19, 8", false},
    {"PlanSollNov", "numeric", "19, 8", false},
    {"PlanHabenNov", "numeric", "19, 8", false},
    {"PlanSollDez", "numeric", "19, 8", false},
    {"PlanHabenDez", "numeric", "19, 8", false},
    {"STSCH_U", "varchar", "1", false},
    {"KONTO_WGEWI", "numeric", "19, 8", false},
    {"KONTO_WVERL", "numeric", "19, 8", false},
    {"KOST_J_N", "varchar", "6", false},
    {"KontoArt", "varchar", "40", false},
    {"Bank", "varchar", "6", false},
    {"Unterkonto", "varchar", "1", false},
    {"HauptKto", "int", "", false},
    {"Bezeich2", "varchar", "40", false},
    {"KdLfNr", "varchar", "30", false},
    {"KennzGuV", "varchar", "10", false},
    {"KennzBilanz", "varchar", "10", false},
    {"KennzBWA", "varchar", "10", false},
    {"HHRest", "numeric", "19, 8", false},
    {"OPS", "varchar", "1", false},
    {"Spende", "char", "10", false},
    {"KennzEU", "char", "10", false},
    {"BenutzerErf", "varchar", "20", false},
    {"BenutzerAend", "varchar", "20", false},
    {"DatumErf", "datetime", "", false},
    {"DatumAend", "datetime", "", false},
    {"Kassenstand", "numeric", "18, 8", false},
    {"Anfangsbestand", "numeric", "18, 8", false},
    {"AktBelegNr", "numeric", "18, 8", false},
    {"KB", "char", "1", false},
    {"EINAUS", "char", "1", false},
    {"Steuersammelkonto", "varchar", "1", false},
    {"KennzEUR", "varchar", "7", false},
};

// KoSt and DatevAuto, which the SKR 49 chart table has after the 106.
inline constexpr LayoutColumn kChartExtraColumns[] = {
    {"KoSt", "int", "", false},
    {"DatevAuto", "char", "1", false},
};

// The 8 columns of a tax-key table, in table order: LfdNr is the running
// number that makes (STEUERSCHL, LfdNr) unique.
inline constexpr LayoutColumn kTaxKeyColumns[] = {
    {"STEUERSCHL", "smallint", "", true}, {"MWSTKTO", "int", "", false},        {"VORST_KTO", "int", "", false},
    {"BFG_BASIS", "smallint", "", false}, {"BFB_GGKTO", "smallint", "", false}, {"BEG", "varchar", "5", false},
    {"Klasse", "char", "1", false},       {"LfdNr", "int", "", true, true},
};

}  // namespace scripts
