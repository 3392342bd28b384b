#include "db/statement.h"

#include <cstdio>

namespace db {

const char* to_string(Channel channel) {
  switch (channel) {
    case Channel::Single: return "single";
    case Channel::Lines: return "lines";
    case Channel::Probe: return "probe";
    case Channel::Separate: return "separate";
    case Channel::Discovery: return "discovery";
    case Channel::Session: return "session";
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

std::string to_string(const Parameter& param) {
  std::string out = "@" + param.name + "=";
  switch (param.kind) {
    case Parameter::Kind::Null: return out + "NULL";
    case Parameter::Kind::Integer: return out + std::to_string(param.integer);
    case Parameter::Kind::Text: return out + "'" + param.text + "'";
    case Parameter::Kind::Date: {
      char date[16];
      std::snprintf(date, sizeof date, "%04d-%02d-%02d", param.year, param.month, param.day);
      return out + date;
    }
  }
  return out;
}

}  // namespace db
