// The log of a run in the approved form (upgrade/transcript_writer.h, the
// renderer the statement log uses too): every statement, and progress
// values (with the counter), dialogs and close requests where they happen.
// The stored scripts have their own tests; the transcript guards where and
// how often they run. A step left out shows as "skipped" with the reason.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "db/statement.h"
#include "stage1_fixture.h"
#include "support/approval.h"
#include "upgrade/transcript_writer.h"

namespace stage1_testing {

inline std::string format_transcript(const std::vector<Entry>& log) {
  std::ostringstream out;
  {
    upgrade::TranscriptWriter writer(out);
    for (const Entry& e : log) {
      if (e.statement)
        writer.statement(*e.statement);
      else
        writer.note(e.note);
    }
  }
  return out.str();
}

using testing_support::matches_approved;

}  // namespace stage1_testing
