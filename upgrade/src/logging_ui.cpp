#include "upgrade/logging_ui.h"

#include <string>

namespace upgrade {

const char* to_string(DialogKind kind) {
  switch (kind) {
    case DialogKind::Warning: return "warning";
    case DialogKind::Error: return "error";
    case DialogKind::Information: return "information";
    case DialogKind::Plain: return "plain";
    case DialogKind::ErrorBox: return "error box";
  }
  return "?";
}

void LoggingUi::set_caption(const std::string& text) {
  log_.note("[caption] " + text);
  shown_.set_caption(text);
}

void LoggingUi::set_progress(int percent) {
  log_.note("[progress] " + std::to_string(percent) + " %");
  shown_.set_progress(percent);
}

void LoggingUi::show_dialog(DialogKind kind, const std::string& text, Dismissal dismissal) {
  log_.note(std::string("[dialog ") + to_string(kind) + "] " + text);
  shown_.show_dialog(kind, text, dismissal);
}

void LoggingUi::request_close() {
  log_.note("[close request]");
  shown_.request_close();
}

}  // namespace upgrade
