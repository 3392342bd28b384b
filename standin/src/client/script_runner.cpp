#include "client/script_runner.h"

#include "client/batch_splitter.h"
#include "client/output_format.h"

namespace standin::client {
namespace {

bool run_batch(Session& session, const Batch& batch, std::ostream& out, std::ostream& err) {
  BatchResult result = session.execute(batch.text);
  bool first = true;
  for (const auto& result_set : result.result_sets) {
    if (!first) out << '\n';
    out << format_result_set(result_set);
    first = false;
  }
  out.flush();  // result sets before the errors when both go to a terminal
  for (const auto& error : result.errors) err << format_error(error, batch.first_line);
  return result.ok();
}

}  // namespace

bool run_script(Session& session, std::string_view script, std::ostream& out, std::ostream& err, bool stop_on_error) {
  bool ok = true;
  for (const auto& batch : split_batches(script)) {
    if (!run_batch(session, batch, out, err)) {
      ok = false;
      if (stop_on_error) break;
    }
  }
  return ok;
}

}  // namespace standin::client
