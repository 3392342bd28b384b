// Stage II: one SEPA mandate in AdrSepa for every active direct-debit member
// who has a mandate reference and no mandate yet. Members who already hold a
// mandate are left alone, so a second run creates nothing for them.
#include <charconv>
#include <ctime>
#include <string>
#include <vector>

#include "db/sql_text.h"
#include "platform/local_time.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

// Members who have not left, pay by direct debit, have no deviating account
// holder, carry a reference and hold no mandate. The lines are joined by
// CR LF; the blanks at the line ends belong to the text.
constexpr const char* kMemberSelection =
    "SELECT A.AdrNr, A.MITGLNR, A.mandatsrefenz,1,A.IBAN1, A.BIC1 FROM Adresse AS A WHERE A.Austritt IS NULL AND A.Zahlungsart='L'            \r\nAND ISNULL(AbwKtoInhCB,'')<>'J'  AND ISNULL(A.mandatsrefenz,'')<>'' \r\nAND A.AdrNr NOT IN (SELECT DISTINCT H.AdrNr FROM AdrSepa AS H WHERE H.AdrNr=A.AdrNr)";

// Member data travels as parameters, never inside the statement text.
constexpr const char* kMandateInsert =
    "INSERT INTO AdrSepa (AdrNr, MandatsNr, MandKey, Lastschriftart, Typ, Status, AngelegtAm, UnterschriftDatum, GueltigAb) VALUES (@AdrNr, @MandatsNr, @MandKey, @Lastschriftart, @Typ, @Status, @AngelegtAm, @UnterschriftDatum, @GueltigAb)";

struct MandateNumbers {
  std::string number;  // used when the member has no reference of his own
  std::string key;
};

int as_integer(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw db::DbError("'" + text + "' is not a valid integer value");
  return value;
}

// The mandate key is the address number, the membership number and the
// running number of the member's next mandate; the mandate number appends
// a "1" to it.
MandateNumbers CalcSepaMandatsNr(Tenant& t, int member, const std::string& membership) {
  MandateNumbers result;
  // The address number is an integer written in decimal: nothing a member
  // entered reaches the text.
  db::Rowset count = t.read("SELECT COUNT(*)+1 AS MaxBr FROM AdrSepa WHERE AdrNr=" + std::to_string(member));
  std::string running = count.text(0, "MaxBr");
  result.key = std::to_string(member);
  result.key += db::trimmed(membership);
  result.key += db::trimmed(running);
  result.number = result.key + "1";
  return result;
}

db::Parameter named(const char* name, db::Parameter::Kind kind) {
  db::Parameter p;
  p.name = name;
  p.kind = kind;
  return p;
}

// The workstation's date at midnight, read anew for every column.
db::Parameter today(const char* name) {
  std::time_t now = std::time(nullptr);
  const std::tm local = platform::local_time(now);
  db::Parameter p = named(name, db::Parameter::Kind::Date);
  p.year = local.tm_year + 1900;
  p.month = local.tm_mon + 1;
  p.day = local.tm_mday;
  return p;
}

db::Parameter text(const char* name, std::string value) {
  db::Parameter p = named(name, db::Parameter::Kind::Text);
  p.text = std::move(value);
  return p;
}

// Writes the mandate of member `row` (address number `member`) of the
// selection: a basic direct debit, active, signed and valid from today.
void fAdrSepaGen(Tenant& t, const db::Rowset& members, size_t row, int member) {
  db::Parameter adr_nr = named("AdrNr", db::Parameter::Kind::Integer);
  adr_nr.integer = member;

  MandateNumbers numbers = CalcSepaMandatsNr(t, member, members.text(row, "MitglNr"));
  std::string reference = members.text(row, "mandatsrefenz");
  db::Parameter mandate = text("MandatsNr", reference.empty() ? numbers.number : reference);

  db::Parameter signed_on = today("UnterschriftDatum");
  db::Parameter created_on = today("AngelegtAm");
  db::Parameter valid_from = today("GueltigAb");

  const std::vector<db::Parameter> params = {
      adr_nr,
      mandate,
      text("MandKey", numbers.key),
      text("Lastschriftart", "Basis"),
      text("Typ", "W"),
      text("Status", "Aktiv"),
      created_on,
      signed_on,
      valid_from,
  };
  t.sql.runner().run_with(db::Channel::Single, kMandateInsert, params, db::Guard::unguarded());
}

}  // namespace

// All mandates of a run are one transaction: a run cut off inside leaves
// none of them, and the next run writes them all, numbered as without the
// interruption.
void pMandatErstellen(Tenant& t) {
  // A snapshot: mandates written below do not change the selection.
  const db::Rowset members = t.read(kMemberSelection);
  if (members.empty()) return;
  t.atomically([&] {
    for (size_t row = 0; row < members.rows.size(); ++row) {
      int member = as_integer(members.text(row, "AdrNr"));
      db::Rowset mandates = t.read("SELECT * FROM AdrSepa \r\nWHERE AdrNr=" + std::to_string(member));
      if (mandates.empty()) fAdrSepaGen(t, members, row, member);
    }
  });
}

}  // namespace upgrade
