// Stage III: the result categories of the SKR 49 chart. GuVKennz49 holds the
// sections of the club's result statement (Roman numeral and line letter),
// GuVKennz49D their detail lines; the KennzEUR code of an SKR 49 account
// points into them. The standard set is loaded whenever one of two marker
// categories is missing; after that the application owns the rows.
#include <iterator>
#include <string>
#include <string_view>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::Lines;

const Lines kGuVKennz49[] = {
    {"CREATE TABLE dbo.GuVKennz49 (", "RimNr varchar (4) NOT NULL,", "Kennz Varchar (1) NOT NULL,",
     "Bezeichnung varchar (120) NOT NULL)"},
    {"ALTER TABLE [dbo].[GuVKennz49]  ADD", "CONSTRAINT [PK_GuVKennz49] PRIMARY KEY CLUSTERED",
     "([RimNr],[Kennz]) ON [PRIMARY]"},
};

// Deleting a category takes its detail lines with it (ON DELETE CASCADE).
const Lines kGuVKennz49D[] = {
    {"CREATE TABLE dbo.GuVKennz49D (", "RimNr varchar (4) NOT NULL,", "Kennz Varchar (1) NOT NULL,", "Nr int NOT NULL,",
     "Bezeichnung varchar (120) NOT NULL,", "EA char (1) NULL)"},
    {"ALTER TABLE [dbo].[GuVKennz49D]  ADD", "CONSTRAINT [PK_GuVKennz49D] PRIMARY KEY CLUSTERED",
     "([Nr], [RimNr], [Kennz]) ON [PRIMARY]"},
    {"ALTER TABLE [dbo].[GuVKennz49D]  WITH CHECK ADD  CONSTRAINT [FK_GuVKennz49D_GuVKennz49] FOREIGN KEY([RimNr],[Kennz])",
     "REFERENCES [dbo].[GuVKennz49] ([RimNr],[Kennz]) ON UPDATE CASCADE ON DELETE CASCADE"},
};

struct Category {
  const char* rim_nr;
  const char* kennz;
  const char* bezeichnung;
};

// Section I (income and expenses of the whole club) is added separately
// with the chart tables.
constexpr Category kCategories[] = {
    {"II", "A", "Ideeller Bereich"},
    {"II", "B", "Vermögensverwaltung"},
    {"II", "C", "Zweckbetriebe Sport"},
    {"II", "D", "Sonstige Zweckbetriebe"},
    {"II", "E", "Geschäftsbetriebe Sport"},
    {"II", "F", "Sonstige wirtschaftliche Geschäftsbetriebe"},
    {"III", "A", "Einnahmen"},
    {"III", "B", "Ausgaben"},
    {"IV", "A", "Zweckbetrieb Sport 1 (Ust-pflichtig) - Kontenklasse 5 Einnahmen/Erträge"},
    {"IV", "B", "Zweckbetrieb Sport 1 (Ust-pflichtig) - Kontenklasse 5 Ausgaben/Aufwendungen"},
    {"IV", "C", "Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 5 Einnahmen/Erträge"},
    {"IV", "D", "Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 5 Ausgaben/Aufwendungen"},
    {"V", "A", "Sonstige Zweckbetriebe 1 (Ust-pflichtig) - Kontenklasse 6 Einnahmen/Erträge"},
    {"V", "B", "Sonstige Zweckbetriebe 1 (Ust-pflichtig) - Kontenklasse 6 Ausgaben/Aufwendungen"},
    {"V", "C", "Sonstige Zweckbetriebe 2 (Ust-frei) - Kontenklasse 6 Einnahmen/Erträge"},
    {"V", "D", "Sonstige Zweckbetriebe 2 (Ust-frei) - Kontenklasse 6 Ausgaben/Aufwendungen"},
    {"VI", "A", "Geschäftsbetriebe Sport - Kontenklasse 7 Einnahmen/Erträge"},
    {"VI", "B", "Geschäftsbetriebe Sport - Kontenklasse 7 Ausgaben/Aufwendungen"},
    {"VI", "C", "Geschäftsbetriebe Nebentätigkeiten Sport - Kontenklasse 7 Einnahmen/Erträge"},
    {"VI", "D", "Geschäftsbetriebe Nebentätigkeiten Sport - Kontenklasse 7 Ausgaben/Aufwendungen"},
    {"VII", "A", "Sonstige Geschäftsbetriebe 1 - Kontenklasse 8 Einnahmen/Erträge"},
    {"VII", "B", "Sonstige Geschäftsbetriebe 1 - Kontenklasse 8 Ausgaben/Aufwendungen"},
    {"VII", "C", "Sonstige Geschäftsbetriebe 2 - Kontenklasse 8 Einnahmen/Erträge"},
    {"VII", "D", "Sonstige Geschäftsbetriebe 2 - Kontenklasse 8 Ausgaben/Aufwendungen"},
};

struct DetailLine {
  const char* rim_nr;
  const char* kennz;
  int nr;
  const char* bezeichnung;
  const char* ea;  // E income, A expense
};

// In load order. Numbers run on across the categories of one letter, so
// several lines share a number; the key tells them apart by category. The
// two II/B lines after VII/A 19 repeat the keys of the first two lines of
// the list; the first line of a key is the one that stays.
constexpr DetailLine kDetailLines[] = {
    {"II", "B", 1, "Schenkungen", "E"},
    {"II", "B", 2, "Erbschaften/Vermächtnisse", "E"},
    {"II", "B", 3, "Spenden", "E"},
    {"II", "B", 4, "Sonstige steuerneutrale Einnahmen", "E"},
    {"II", "B", 5, "Gezahlte, hingegebene Spenden", "A"},
    {"II", "B", 6, "Sonstige nicht abziehbare Ausgaben", "A"},
    {"III", "A", 3, "Miet- und Pachterträge", "E"},
    {"III", "A", 4, "Zins- und Kurserträgen", "E"},
    {"III", "A", 5, "Erträge Werbung", "E"},
    {"III", "A", 6, "Sonstige ertragsteuerfreie Einnahmen", "E"},
    {"IV", "A", 7, "Umsatzerlöse", "E"},
    {"IV", "A", 8, "Sonstige Erträge", "E"},
    {"V", "A", 9, "Umsatzerlöse", "E"},
    {"V", "A", 10, "Bestandsveränderung", "E"},
    {"V", "A", 11, "Andere aktivierte Eigenleistungen", "E"},
    {"V", "A", 12, "Sonstige betriebliche Erträge", "E"},
    {"V", "A", 13, "Einnahmen aus Umsatzerlösen", "E"},
    {"VI", "A", 14, "Umsatzerlöse", "E"},
    {"VII", "A", 15, "Umsatzerlöse", "E"},
    {"VII", "A", 16, "Bestandsveränderung", "E"},
    {"VII", "A", 17, "Andere aktivierte Eigenleistungen", "E"},
    {"VII", "A", 18, "Sonstige betriebliche Erträge", "E"},
    {"VII", "A", 19, "Sonstige Zinsen und ähnliche Einnahmen", "E"},
    {"II", "B", 1, "Steuerneutrale Einnahmen", "E"},
    {"II", "B", 2, "Nicht abziehbare Ausgaben", "A"},
    {"III", "B", 3, "Abschreibungen", "A"},
    {"III", "B", 4, "Sonstige Ausgaben", "A"},
    {"IV", "B", 5, "Materialaufwand", "A"},
    {"IV", "B", 6, "Personalaufwand", "A"},
    {"IV", "B", 7, "Abschreibungen", "A"},
    {"IV", "B", 8, "Sonstige betriebliche Aufwendungen", "A"},
    {"V", "B", 9, "Materialaufwand", "A"},
    {"V", "B", 10, "Personalaufwand", "A"},
    {"V", "B", 11, "Abschreibungen", "A"},
    {"VI", "B", 12, "Materialaufwand", "A"},
    {"VI", "B", 13, "Personalaufwand", "A"},
    {"VI", "B", 14, "Abschreibungen", "A"},
    {"VI", "B", 15, "Sonstige betriebliche Aufwendungen", "A"},
    {"VII", "B", 16, "Materialaufwand", "A"},
    {"VII", "B", 17, "Personalaufwand", "A"},
    {"VII", "B", 18, "Abschreibungen", "A"},
    {"II", "C", 1, "Steuerneutrale Einnahmen", "E"},
    {"II", "C", 2, "Nicht abziehbare Ausgaben", "A"},
    {"IV", "C", 3, "Umsatzerlöse", "E"},
    {"IV", "C", 4, "Sonstige Erträge", "E"},
    {"V", "C", 5, "Umsatzerlöse", "E"},
    {"V", "C", 6, "Bestandsveränderung", "E"},
    {"V", "C", 7, "Andere aktivierte Eigenleistungen", "E"},
    {"V", "C", 8, "Sonstige betriebliche Erträge", "E"},
    {"V", "C", 9, "Einnahmen aus Umsatzerlösen", "E"},
    {"VI", "C", 10, "Umsatzerlöse", "E"},
    {"VII", "C", 11, "Umsatzerlöse", "E"},
    {"VII", "C", 12, "Bestandsveränderung", "E"},
    {"VII", "C", 13, "Andere aktivierte Eigenleistungen", "E"},
    {"VII", "C", 14, "Sonstige betriebliche Erträge", "E"},
    {"II", "D", 1, "Steuerneutrale Einnahmen", "E"},
    {"II", "D", 2, "Nicht abziehbare Ausgaben", "A"},
    {"IV", "D", 1, "Materialaufwand", "A"},
    {"IV", "D", 2, "Personalaufwand", "A"},
    {"IV", "D", 3, "Abschreibungen", "A"},
    {"IV", "D", 4, "Sonstige betriebliche Aufwendungen", "A"},
    {"V", "D", 5, "Materialaufwand", "A"},
    {"V", "D", 6, "Personalaufwand", "A"},
    {"V", "D", 7, "Abschreibungen", "A"},
    {"VI", "D", 8, "Sonstige betriebliche Aufwendungen", "A"},
    {"VII", "D", 9, "Materialaufwand", "A"},
    {"VII", "D", 10, "Personalaufwand", "A"},
    {"VII", "D", 11, "Abschreibungen", "A"},
    {"II", "E", 1, "Steuerneutrale Einnahmen", "E"},
    {"II", "E", 2, "Nicht abziehbare Ausgaben", "A"},
};

// An earlier release wrote these two categories with the account class of
// the neighbouring section; they belong to class 5.
const Lines kNameCorrections[] = {
    {"UPDATE GuVKennz49 SET Bezeichnung=", "'Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 5 Einnahmen/Erträge'",
     " WHERE Bezeichnung= 'Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 6 Einnahmen/Erträge'"},
    {"UPDATE GuVKennz49 SET Bezeichnung=", "'Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 5 Ausgaben/Aufwendungen'",
     " WHERE Bezeichnung= 'Zweckbetriebe Sport 2 (Ust-frei) - Kontenklasse 6 Ausgaben/Aufwendungen'"},
};

Lines insert_statement(const Category& c) {
  std::string values = "VALUES ('";
  values += c.rim_nr;
  values += "','";
  values += c.kennz;
  values += "','";
  values += c.bezeichnung;
  values += "')";
  return {"INSERT INTO GuVKennz49 (RimNr, Kennz, Bezeichnung)", values};
}

Lines insert_statement(const DetailLine& d) {
  std::string values = "VALUES ('";
  values += d.rim_nr;
  values += "','";
  values += d.kennz;
  values += "',";
  values += std::to_string(d.nr);
  values += ",'";
  values += d.bezeichnung;
  values += "','";
  values += d.ea;
  values += "')";
  return {"INSERT INTO GuVKennz49D (RimNr, Kennz, Nr, Bezeichnung, EA)", values};
}

// The earlier line of the list that has the key (Nr, RimNr, Kennz) of
// line `i`, or nullptr.
const DetailLine* earlier_holder(size_t i) {
  const DetailLine& d = kDetailLines[i];
  for (size_t j = 0; j < i; ++j) {
    const DetailLine& e = kDetailLines[j];
    if (e.nr == d.nr && std::string_view(e.rim_nr) == d.rim_nr && std::string_view(e.kennz) == d.kennz) return &e;
  }
  return nullptr;
}

// Both marker categories must be there, else the set counts as incomplete.
bool categories_complete(Tenant& t) {
  bool complete = true;
  if (!t.sql.RowsExist("SELECT * FROM GuVKennz49 WHERE Bezeichnung='Sonstige Zweckbetriebe'")) complete = false;
  if (!t.sql.RowsExist("SELECT * FROM GuVKennz49 WHERE Bezeichnung='Ideeller Bereich'")) complete = false;
  return complete;
}

void reload_categories(Tenant& t) {
  t.exec("DELETE FROM  dbo.GuVKennz49", db::Guard::warning());
  // The detail table is created only further down, so on a database's first
  // upgrade there is nothing to empty; sending the delete there would only
  // show the user a missing-table error.
  if (t.sql.TableExists("GuVKennz49D"))
    t.exec("DELETE FROM  dbo.GuVKennz49D", db::Guard::warning());
  else
    t.sql.runner().skip(db::Channel::Single, "DELETE FROM  dbo.GuVKennz49D: the table does not exist yet",
                        db::Guard::warning());
  for (const Category& c : kCategories) t.lines(insert_statement(c), db::Guard::warning());
}

void load_detail_lines(Tenant& t) {
  for (size_t i = 0; i < std::size(kDetailLines); ++i) {
    const DetailLine& d = kDetailLines[i];
    // A repeated key would be refused by the primary key on every database;
    // the line that came first keeps it.
    if (const DetailLine* holder = earlier_holder(i)) {
      Lines statement = insert_statement(d);
      t.sql.runner().skip(
          db::Channel::Lines,
          statement[0] + " " + statement[1] + ": the key is already taken by '" + holder->bezeichnung + "'",
          db::Guard::warning());
      continue;
    }
    t.lines(insert_statement(d), db::Guard::warning());
  }
}

void correct_names_and_load_details(Tenant& t) {
  for (const Lines& correction : kNameCorrections) t.lines(correction, db::Guard::warning());
  steps::create_if_missing(t, "GuVKennz49D", kGuVKennz49D);
  if (t.reload) load_detail_lines(t);
}

}  // namespace

void skr49_result_categories(Tenant& t) {
  steps::create_if_missing(t, "GuVKennz49", kGuVKennz49);

  t.reload = !categories_complete(t);
  if (!t.reload) {
    correct_names_and_load_details(t);
    return;
  }
  // The complete categories mark the detail lines as loaded too: a run cut
  // off between the two would leave the details out for good, so the whole
  // reload is one transaction.
  t.atomically([&] {
    reload_categories(t);
    correct_names_and_load_details(t);
  });
}

}  // namespace upgrade
