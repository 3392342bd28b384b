// The run: discovery, the per-tenant sequence on every tenant database
// (without TMP copies) in the server's order, the finishing pass, and the
// completion message. A failure that no guard catches ends the run in the
// error box.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "db/connection_factory.h"
#include "db/connections.h"
#include "db/primitives.h"
#include "db/statement.h"
#include "db/statement_runner.h"
#include "upgrade/ui.h"
#include "upgrade/ui_feedback.h"

namespace platform {
class ShellLinks;
}

namespace upgrade {

struct RunOutcome {
  enum class Ending {
    Completed,              // reached its end, nothing reported
    CompletedWithFailures,  // reached its end, failures were reported
    Aborted,                // ended on an uncaught failure
  };
  Ending ending = Ending::Completed;
  std::vector<ReportedFailure> failures;
  std::string abort_text;    // Aborted: the text of the error box
  int tenants_found = 0;     // listed for the main run (no TMP copies)
  int tenants_upgraded = 0;  // whose per-tenant sequence ran to its end

  // 0, 1 or 2, in the order of Ending.
  int exit_code() const { return static_cast<int>(ending); }
};

// The text of the completion message: the success text when nothing was
// reported, otherwise the number of messages and each of them.
std::string completion_text(const std::vector<ReportedFailure>& failures);

// The error text with a full stop appended unless it already ends in one.
std::string with_full_stop(std::string text);

class RunDriver {
 public:
  RunDriver(Ui& ui, db::ConnectionFactory& factory, std::filesystem::path settings_file);

  // Called for every statement the run sends.
  void add_observer(db::StatementRunner::Observer observer);

  // The shell whose shortcuts the run refreshes at its end; the system's
  // unless set. nullptr: no shortcuts are touched.
  void use_shell_links(platform::ShellLinks* shell) { shell_links_ = shell; }

  // The whole run. Never throws.
  RunOutcome run();

 private:
  void acOKNeuExecute();
  void acOKExecute();

  Ui& ui_;
  UiFeedback feedback_;
  db::Connections connections_;
  db::StatementRunner runner_;
  db::Primitives sql_;
  platform::ShellLinks* shell_links_;
  int tenants_found_ = 0;
  int tenants_upgraded_ = 0;
};

}  // namespace upgrade
