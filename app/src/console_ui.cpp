#include "app/console_ui.h"

namespace app {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

const char* ConsoleUi::label(upgrade::DialogKind kind) {
  switch (kind) {
    case upgrade::DialogKind::Warning: return "Warnung";
    case upgrade::DialogKind::Error: return "Fehler";
    case upgrade::DialogKind::Information: return "Informationen";
    case upgrade::DialogKind::Plain: return "Meldung";
    case upgrade::DialogKind::ErrorBox: return "Abbruch";
  }
  return "Meldung";
}

ConsoleUi::~ConsoleUi() { end_bar(); }

void ConsoleUi::end_bar() {
  if (!bar_open_) return;
  out_ << '\n';
  bar_open_ = false;
}

void ConsoleUi::write_line(const std::string& text) {
  end_bar();
  out_ << text << '\n' << std::flush;
}

void ConsoleUi::set_caption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  end_bar();
  out_ << "== " << text << '\n' << std::flush;
}

void ConsoleUi::set_progress(int percent) {
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (percent == percent_) return;
  percent_ = percent;
  if (!terminal_) {
    out_ << "Fortschritt: " << percent << " %\n";
    return;
  }
  int filled = percent * kBarWidth / 100;
  out_ << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] ";
  out_.width(3);
  out_ << percent << " %" << std::flush;
  bar_open_ = true;
}

void ConsoleUi::show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal) {
  end_bar();
  out_ << label(kind) << ": ";
  for (size_t i = 0; i < text.size(); ++i) {
    out_ << text[i];
    // Continuation lines stand under the text; empty ones stay empty.
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] != '\n') out_ << "  ";
  }
  out_ << '\n' << std::flush;
}

}  // namespace app
