// Stage I, fourth block: search indexes on the bookings, cash books turned
// into bank books, a few new columns with their one-time fills, booking
// texts in mixed case, and the area code moved in front of the first phone
// number.
#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

// One-line statements that travel the multi-line path (qryUpd), each
// reported in a warning dialog.
constexpr const char* kBookingFills[] = {
    "UPDATE F5BEW4 SET SuchText='HAUPT' WHERE ISNULL(SuchText,'')=''",
    "UPDATE F5BEW4 SET Parent=-1 WHERE Parent IS NULL",
};

// The program keeps no cash books any more: every cash register, batch and
// dialog batch becomes a bank book.
constexpr const char* kBankBookConversion[] = {
    "UPDATE F5Kasses SET KB='B' WHERE KB='K'",
    "UPDATE F5bew4s SET Stapel='Bankbuch' WHERE Stapel='Kassenbuch'",
    "UPDATE F5bew4sg SET Stapel='Bankbuch' WHERE Stapel='Kassenbuch'",
    "UPDATE F5bw4sga SET Stapel='Bankbuch' WHERE Stapel='Kassenbuch'",
    "UPDATE F5bw4sa SET Stapel='Bankbuch' WHERE Stapel='Kassenbuch'",
    "UPDATE F5bew4 SET DIALOG_STAP='B' WHERE DIALOG_STAP='K'",
};

constexpr const char* kSectionIncomeExpense[] = {
    "UPDATE GuVKennzD SET EA='E' WHERE Kennz='A'",
    "UPDATE GuVKennzD SET EA='A' WHERE Kennz='B'",
};

// The comparison ignores case, so every spelling of the old capitals is
// rewritten.
constexpr const char* kBookingTexts[] = {
    "UPDATE F5BuText SET [Text]='Aufnahmegebühren' WHERE [Text]='AUFNAHMEGEBÜHREN'",
    "UPDATE F5BuText SET [Text]='Beitrag' WHERE [Text]='BEITRAG'",
    "UPDATE F5BuText SET [Text]='Spende' WHERE [Text]='SPENDE'",
};

void run_on_lines_path(Tenant& t, std::span<const char* const> statements) {
  for (const char* statement : statements) t.lines({statement}, db::Guard::warning());
}

void run_unguarded(Tenant& t, std::span<const char* const> statements) {
  for (const char* statement : statements) t.exec(statement, db::Guard::unguarded());
}

// The second + is a unary sign and changes nothing: area code and number
// are joined without a separator. The area codes are cleared only after a
// merge that succeeded, so that a failed merge loses none of them, and in
// the same transaction, so that no later run puts an area code in front of
// a number a second time.
void merge_area_codes(Tenant& t) {
  t.atomically([&] {
    if (t.exec("UPDATE Adresse SET Telefon1=ISNULL(Vorwahl,'')+ + ISNULL(Telefon1,'')", db::Guard::silent()))
      t.exec("UPDATE Adresse SET Vorwahl=NULL", db::Guard::unguarded());
  });
}

}  // namespace

void booking_indexes_and_cleanups(Tenant& t) {
  t.sql.AddIndex("F5BEW4", "iSuchText", "BUCHJAHR", "InterneNr", "SUCHTEXT");
  t.sql.AddIndex("F5BEW4", "iLfdNr", "LfdNr");
  t.sql.AddIndex("F5BEW4", "iParent", "Parent");
  run_on_lines_path(t, kBookingFills);

  // The length travels in the null-text place: varchar (60) with the
  // server's default nullability.
  t.sql.AddField("SportartenV", "LV", "varchar", "", "(60)");

  run_on_lines_path(t, kBankBookConversion);

  t.atomically([&] {
    t.sql.AddField("PASS", "AutoDatSichDeaktiv", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE PASS SET AutoDatSichDeaktiv='N'", db::Guard::unguarded());
  });

  t.sql.AddField("F6KOST", "EtatE", "numeric", "(18,8)", "Null");
  t.step();
  t.sql.AddField("F6KOST", "EtatK", "numeric", "(18,8)", "Null");
  t.step();
  t.atomically([&] {
    t.sql.AddField("GuVKennzD", "EA", "char", "(1)", "Null");
    t.step();
    if (t.sql.added()) run_unguarded(t, kSectionIncomeExpense);
  });

  run_unguarded(t, kBookingTexts);
  merge_area_codes(t);
  t.step();
}

}  // namespace upgrade
