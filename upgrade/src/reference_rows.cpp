#include "upgrade/reference_rows.h"

#include <string>

namespace upgrade {

void AddLandessportbund(db::StatementRunner& runner, std::string_view short_name, std::string_view full_name) {
  runner.run_lines({"INSERT INTO tblLSB (Kennung, Bezeichnung)", "VALUES",
                    "('" + std::string(short_name) + "', '" + std::string(full_name) + "')"},
                   db::Guard::warning());
}

void AddRight(db::StatementRunner& runner, int number, std::string_view text, std::string_view short_name) {
  runner.run_lines({"INSERT INTO tblRechte (BENUTZER, RB, Bezeichnung, Kurzname, Ind)",
                    " SELECT BENUTZER, " + std::to_string(number) + ", '" + std::string(text) + "', '" +
                        std::string(short_name) + "', 'J' FROM PASS"},
                   db::Guard::unguarded());
}

}  // namespace upgrade
