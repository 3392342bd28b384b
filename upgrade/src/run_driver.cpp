#include "upgrade/run_driver.h"

#include "db/tenant_discovery.h"
#include "platform/shell_links.h"
#include "upgrade/finishing_pass.h"
#include "upgrade/progress.h"
#include "upgrade/stages.h"
#include "upgrade/texts.h"

namespace upgrade {

std::string completion_text(const std::vector<ReportedFailure>& failures) {
  if (failures.empty()) return kCompletionMessage;
  std::string text =
      "UPDATE ausgeführt mit " + std::to_string(failures.size()) + (failures.size() == 1 ? " Meldung:" : " Meldungen:");
  for (const auto& failure : failures) text += "\n\n" + failure.database + ": " + failure.text;
  return text;
}

std::string with_full_stop(std::string text) {
  if (text.empty() || text.back() != '.') text += '.';
  return text;
}

RunDriver::RunDriver(Ui& ui, db::ConnectionFactory& factory, std::filesystem::path settings_file)
    : ui_(ui),
      feedback_(ui),
      connections_(factory, std::move(settings_file), feedback_),
      runner_(connections_, feedback_),
      sql_(runner_),
      shell_links_(platform::system_shell_links()) {}

void RunDriver::add_observer(db::StatementRunner::Observer observer) { runner_.add_observer(std::move(observer)); }

RunOutcome RunDriver::run() {
  RunOutcome outcome;
  try {
    ui_.set_caption(kApplicationTitle);
    acOKNeuExecute();
  } catch (const std::exception& e) {
    // Nothing after the failing statement runs; caption and progress bar
    // keep what they showed.
    outcome.ending = RunOutcome::Ending::Aborted;
    outcome.abort_text = with_full_stop(e.what());
  }
  outcome.failures = feedback_.failures();
  outcome.tenants_found = tenants_found_;
  outcome.tenants_upgraded = tenants_upgraded_;
  if (outcome.ending == RunOutcome::Ending::Aborted)
    ui_.show_dialog(DialogKind::ErrorBox, outcome.abort_text);
  else if (!outcome.failures.empty())
    outcome.ending = RunOutcome::Ending::CompletedWithFailures;
  return outcome;
}

void RunDriver::acOKNeuExecute() {
  ui_.process_messages();
  feedback_.set_place(db::kDiscoveryCatalogue);
  connections_.pConn(db::kDiscoveryCatalogue);
  const std::vector<std::string> tenants = db::list_tenants(runner_, false);
  tenants_found_ = static_cast<int>(tenants.size());
  for (const std::string& name : tenants) {
    ui_.set_caption(name + "/" + kApplicationTitle);
    feedback_.set_place(name);
    connections_.MandantChange(name);  // reports its own failure
    acOKExecute();
  }
  ConvertAllTaxKeys(sql_, ui_, feedback_);
  UpdateLegacyShortcuts(shell_links_, ui_);
  ui_.set_caption(kApplicationTitle);
  // A run with reported failures must not claim success; that report waits
  // for OK even when the window is about to close.
  const auto& failures = feedback_.failures();
  ui_.show_dialog(DialogKind::Information, completion_text(failures),
                  failures.empty() ? Dismissal::Normal : Dismissal::AlwaysWait);
  ui_.set_progress(0);
  ui_.request_close();
}

void RunDriver::acOKExecute() {
  // A tenant whose switch failed is skipped without a trace.
  if (!connections_.work_is_open()) return;
  Progress progress(ui_);
  ui_.process_messages();
  ui_.set_wait_cursor(true);
  progress.start();
  Tenant tenant{sql_, progress, ui_};
  run_stages(tenant);
  ui_.set_wait_cursor(false);
  ui_.set_progress(100);
  ui_.set_progress(0);
  ++tenants_upgraded_;
}

}  // namespace upgrade
