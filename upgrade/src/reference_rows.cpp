// The two reference row inserts. Neither checks for an existing row: the
// stages call them right after creating the (empty) table. Values are
// literals of the stages and are written without doubling quotes.
#include <string>

#include "db/primitives.h"

namespace db {

void Primitives::AddLandessportbund(std::string_view short_name, std::string_view full_name) {
  runner_.run_lines({"INSERT INTO tblLSB (Kennung, Bezeichnung)", "VALUES",
                     "('" + std::string(short_name) + "', '" + std::string(full_name) + "')"},
                    Guard::warning());
}

void Primitives::AddRight(int number, std::string_view text, std::string_view short_name) {
  runner_.run_lines({"INSERT INTO tblRechte (BENUTZER, RB, Bezeichnung, Kurzname, Ind)",
                     " SELECT BENUTZER, " + std::to_string(number) + ", '" + std::string(text) +
                         "', '" + std::string(short_name) + "', 'J' FROM PASS"},
                    Guard::unguarded());
}

}  // namespace db
