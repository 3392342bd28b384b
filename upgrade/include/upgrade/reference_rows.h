// The two fixed-row inserts of the stages: a state sports federation into
// tblLSB and a user right for every user of PASS into tblRechte. Neither
// checks for an existing row: the stages call them right after creating the
// (empty) table. Values are literals of the stages and are written without
// doubling quotes.
#pragma once

#include <string_view>

#include "db/statement_runner.h"

namespace upgrade {

// Inserts one state sports federation. Reported with a warning.
void AddLandessportbund(db::StatementRunner& runner, std::string_view short_name, std::string_view full_name);

// Grants right `number` to every user of PASS. Unguarded.
void AddRight(db::StatementRunner& runner, int number, std::string_view text, std::string_view short_name);

}  // namespace upgrade
