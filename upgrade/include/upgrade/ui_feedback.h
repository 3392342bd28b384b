// Shows the database layer's reports as dialogs of the run's user interface
// and keeps every reported failure with the database it happened on, so that
// the completion message can tell whether the run went through cleanly.
#pragma once

#include <string>
#include <vector>

#include "db/feedback.h"
#include "upgrade/ui.h"

namespace upgrade {

struct ReportedFailure {
  std::string database;
  std::string text;
};

DialogKind dialog_kind(db::Report report);

class UiFeedback final : public db::Feedback {
 public:
  explicit UiFeedback(Ui& ui) : ui_(ui) {}

  void report(db::Report kind, const std::string& text) override;
  void set_wait_cursor(bool waiting) override { ui_.set_wait_cursor(waiting); }
  void request_close() override { ui_.request_close(); }

  // The database that later reports are charged to.
  void set_place(std::string database) { place_ = std::move(database); }
  const std::vector<ReportedFailure>& failures() const { return failures_; }

 private:
  Ui& ui_;
  std::string place_;
  std::vector<ReportedFailure> failures_;
};

}  // namespace upgrade
