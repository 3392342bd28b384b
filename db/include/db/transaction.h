// A unit of work that a crash never splits: a marker written together with
// the work it marks, or two statements that must not be separated.
//
// The unit's first change (anything but a probe) opens a transaction on the
// work connection, and the unit's end commits it; a unit that only probes
// (its marker was found in place) sends nothing but its probes. A unit
// inside a unit belongs to the outer one. The transaction statements go
// through the runner like any other, and so into the transcript. On SQL
// Server, as on the embedded engine, a process that dies or a connection
// that drops before the COMMIT leaves none of the unit behind, so the next
// run finds the marker missing and does the work again.
//
// A statement of the unit that fails under its guard (a warning, a silent
// failure) does not end the unit: as without the transaction, the unit goes
// on and what succeeded is committed. Only a failure that ends the run (an
// unguarded statement, a lost connection) takes the whole unit back.
#pragma once

#include "db/statement_runner.h"

namespace db {

template <typename Work>
void in_one_transaction(StatementRunner& runner, Work&& work) {
  runner.begin_unit();
  try {
    work();
  } catch (...) {
    // On a lost connection the server has taken the unit back already, and
    // the failure that ends the run is the one to report.
    try {
      runner.end_unit(false);
    } catch (...) {
    }
    throw;
  }
  runner.end_unit(true);
}

}  // namespace db
