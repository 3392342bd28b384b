// SQLExec, the GO-batch runner. A script is cut into batches at its GO
// lines; every ordinary line goes into the batch unchanged, followed by a
// line feed. A batch is sent when its GO line is reached, so text after the
// last GO line is never sent. A failing batch is shown in the plain message
// box and dropped; the runner goes on with the next line.
#include "db/primitives.h"
#include "db/sql_text.h"

namespace db {

bool is_go_line(std::string_view line) {
  line = trimmed(line);
  return line.size() == 2 && (line[0] == 'G' || line[0] == 'g') && (line[1] == 'O' || line[1] == 'o');
}

std::vector<std::string> go_batches(std::string_view script) {
  std::vector<std::string> batches;
  std::string batch;
  for (const std::string& line : split_lines(script)) {
    if (is_go_line(line)) {
      batches.push_back(std::move(batch));
      batch.clear();
    } else {
      batch += line;
      batch += '\n';
    }
  }
  return batches;
}

void Primitives::SQLExec(std::string_view script) {
  Feedback& feedback = runner_.feedback();
  try {
    WaitCursor cursor(feedback);
    for (const std::string& batch : go_batches(script)) runner_.run(Channel::Single, batch, Guard::plain());
  } catch (const std::exception&) {
    // Any failure other than a failed batch ends the script without a
    // message; the runner never fails its caller.
  }
  feedback.request_close();
}

}  // namespace db
