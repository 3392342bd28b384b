#include "upgrade/ui_feedback.h"

namespace upgrade {

DialogKind dialog_kind(db::Report report) {
  switch (report) {
    case db::Report::Warning: return DialogKind::Warning;
    case db::Report::Error: return DialogKind::Error;
    case db::Report::Plain: return DialogKind::Plain;
  }
  return DialogKind::Plain;
}

void UiFeedback::report(db::Report kind, const std::string& text) {
  failures_.push_back({place_, text});
  ui_.show_dialog(dialog_kind(kind), text);
}

}  // namespace upgrade
