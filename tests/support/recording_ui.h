// A user interface that records every call in order, for tests of the run.
#pragma once

#include <string>
#include <vector>

#include "upgrade/ui.h"

namespace testing_support {

struct RecordingUi final : upgrade::Ui {
  struct Dialog {
    upgrade::DialogKind kind;
    std::string text;
    upgrade::Dismissal dismissal;
  };
  std::vector<std::string> captions;
  std::vector<int> progress;
  std::vector<Dialog> dialogs;
  std::vector<std::string> events;  // "caption:..", "progress:..", "dialog:..", "pump", "cursor:1"
  int close_requests = 0;

  void set_caption(const std::string& text) override {
    captions.push_back(text);
    events.push_back("caption:" + text);
  }
  void set_progress(int percent) override {
    progress.push_back(percent);
    events.push_back("progress:" + std::to_string(percent));
  }
  void set_wait_cursor(bool waiting) override { events.push_back(waiting ? "cursor:wait" : "cursor:normal"); }
  void process_messages() override { events.push_back("pump"); }
  void show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) override {
    dialogs.push_back({kind, text, dismissal});
    events.push_back("dialog:" + text);
  }
  void request_close() override {
    ++close_requests;
    events.push_back("close");
  }
};

}  // namespace testing_support
