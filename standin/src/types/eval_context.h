// What an expression needs besides its operands: the session's settings and
// the sources of the values that are not a function of the statement.
#pragma once

#include <functional>
#include <string>

#include "standin/value.h"

namespace standin {

// The order in which a date written with separators ("20.02.2013") names
// day, month and year (SET DATEFORMAT).
enum class DateOrder { DMY, MDY, YMD, YDM, MYD, DYM };

struct SessionSettings {
  DateOrder date_order = DateOrder::DMY;
  bool ansi_warnings = true;
  bool xact_abort = false;  // a run-time error rolls back the transaction and ends the batch
};

// Inputs that are not a function of the statement: supplied by the executor
// so that replaying a journaled statement gives the same values.
struct EvalContext {
  const SessionSettings* settings = nullptr;
  std::function<DateTime()> now;          // GETDATE(): local time
  std::function<std::string()> new_guid;  // NEWID(): canonical upper-case text

  // The settings in force; defaults when none were supplied.
  const SessionSettings& session() const;
};

}  // namespace standin
