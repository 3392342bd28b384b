// Records what the db layer asks of the user interface.
#pragma once

#include <string>
#include <vector>

#include "db/feedback.h"

namespace testing_support {

struct RecordingFeedback final : db::Feedback {
  struct Shown {
    db::Report kind;
    std::string text;
  };
  std::vector<Shown> reports;
  std::vector<bool> cursor;  // every change, in order
  int close_requests = 0;

  void report(db::Report kind, const std::string& text) override { reports.push_back({kind, text}); }
  void set_wait_cursor(bool waiting) override { cursor.push_back(waiting); }
  void request_close() override { ++close_requests; }
  bool waiting() const { return !cursor.empty() && cursor.back(); }
};

}  // namespace testing_support
