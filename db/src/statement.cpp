#include "db/statement.h"

namespace db {

const char* to_string(Channel channel) {
  switch (channel) {
    case Channel::Single: return "single";
    case Channel::Lines: return "lines";
    case Channel::Probe: return "probe";
    case Channel::Separate: return "separate";
  }
  return "?";
}

std::string to_string(const Guard& guard) {
  switch (guard.kind()) {
    case Guard::Kind::Silent: return "silent";
    case Guard::Kind::Unguarded: return "unguarded";
    case Guard::Kind::Reported: break;
  }
  switch (guard.report()) {
    case Report::Warning: return "reported:warning";
    case Report::Error: return "reported:error";
    case Report::Plain: return "reported:plain";
  }
  return "?";
}

}  // namespace db
