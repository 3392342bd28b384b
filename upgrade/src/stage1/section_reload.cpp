#include "section_reload.h"

#include <string>
#include <vector>

#include "db/sql_text.h"
#include "steps/schema_steps.h"

namespace upgrade::stage1 {
namespace {

constexpr Section kSections[] = {
    {"I", "A", "Einnahmen"},
    {"I", "B", "Ausgaben"},
    {"II", "A", "Ideeller Bereich"},
    {"II", "B", "Sonstige wirtschaftliche Geschäftsbetriebe"},
    {"III", "A", "Einnahmen"},
    {"III", "B", "Ausgaben"},
    {"IV", "A", "Zweckbetriebe Sport (umsatzsteuerpflichtig)"},
    {"IV", "B", "Zweckbetriebe Sport (umsatzsteuerfrei)"},
    {"V", "A", "Sonstige Zweckbetriebe (umsatzsteuerpflichtig)"},
    {"V", "B", "Sonstige Zweckbetriebe (umsatzsteuerfrei)"},
    {"VI", "A", "Geschäftsbetriebe Sport (umsatzsteuerpflichtig)"},
    {"VI", "B", "Geschäftsbetriebe Nebentätigkeiten Sport"},
    {"VII", "A", "Sonstige Geschäftsbetriebe"},
};

steps::Lines insert_statement(const Section& s) {
  std::string values = "VALUES ('";
  values += s.rim_nr;
  values += "','";
  values += s.kennz;
  values += "','";
  values += s.bezeichnung;
  values += "')";
  return {"INSERT INTO GuVKennz (RimNr, Kennz, Bezeichnung)", values};
}

// The server compares keys without regard to case or trailing blanks.
std::string_view without_trailing_blanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool same_key(std::string_view a, std::string_view b) {
  return db::iequals(without_trailing_blanks(a), without_trailing_blanks(b));
}

struct StoredSection {
  std::string rim_nr, kennz, bezeichnung;
};

std::vector<StoredSection> stored_sections(Tenant& t) {
  db::Rowset rows = t.read("SELECT RimNr, Kennz, Bezeichnung FROM GuVKennz");
  std::vector<StoredSection> out;
  for (size_t i = 0; i < rows.rows.size(); ++i)
    out.push_back({rows.text(i, "RimNr"), rows.text(i, "Kennz"), rows.text(i, "Bezeichnung")});
  return out;
}

const StoredSection* find_stored(const std::vector<StoredSection>& stored, const Section& s) {
  for (const StoredSection& row : stored)
    if (same_key(row.rim_nr, s.rim_nr) && same_key(row.kennz, s.kennz)) return &row;
  return nullptr;
}

bool is_listed(const StoredSection& row) {
  for (const Section& s : kSections)
    if (same_key(row.rim_nr, s.rim_nr) && same_key(row.kennz, s.kennz)) return true;
  return false;
}

bool details_exist(Tenant& t) { return t.sql.TableExists("GuVKennzD") && t.sql.RowsExist("SELECT * FROM GuVKennzD"); }

void empty_and_refill(Tenant& t) {
  t.exec("DELETE FROM  dbo.GuVKennz", db::Guard::warning());
  for (const Section& s : kSections) t.lines(insert_statement(s), db::Guard::warning());
}

// Touches only the rows that differ. A section that is not in the list goes,
// and its details with it: they cannot refer to a section that no longer
// exists. A listed section is rewritten in place (an update of the key
// cascades to its details), a missing one inserted.
void reconcile(Tenant& t) {
  std::vector<StoredSection> stored = stored_sections(t);
  for (const StoredSection& row : stored) {
    if (is_listed(row)) continue;
    t.exec("DELETE FROM dbo.GuVKennz WHERE RimNr=" + db::quoted(row.rim_nr) + " AND Kennz=" + db::quoted(row.kennz),
           db::Guard::warning());
  }
  for (const Section& s : kSections) {
    const StoredSection* row = find_stored(stored, s);
    if (!row) {
      t.lines(insert_statement(s), db::Guard::warning());
      continue;
    }
    if (row->rim_nr == s.rim_nr && row->kennz == s.kennz && row->bezeichnung == s.bezeichnung) continue;
    // The key is written only when its spelling differs, so that the usual
    // case (a renamed section) does not touch the details at all.
    std::string set;
    if (row->rim_nr != s.rim_nr) set += "RimNr='" + std::string(s.rim_nr) + "', ";
    if (row->kennz != s.kennz) set += "Kennz='" + std::string(s.kennz) + "', ";
    set += "Bezeichnung='" + std::string(s.bezeichnung) + "'";
    std::string update = "UPDATE GuVKennz SET " + set + " WHERE RimNr=" + db::quoted(row->rim_nr) +
                         " AND Kennz=" + db::quoted(row->kennz);
    t.exec(update, db::Guard::warning());
  }
}

}  // namespace

std::span<const Section> sections() { return kSections; }

void reload_sections(Tenant& t) {
  if (details_exist(t))
    reconcile(t);
  else
    empty_and_refill(t);
}

}  // namespace upgrade::stage1
