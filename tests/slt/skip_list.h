// The records of the suite this engine does not answer yet: one line per
// record, "<file>:<line> <reason>", '#' starts a comment. The list only
// shrinks: a listed record that passes is reported, so that it leaves the
// list.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace slt {

class SkipList {
 public:
  // Throws std::runtime_error when the file cannot be read or a line has no reason.
  static SkipList load(const std::string& path);
  // The reason a record is listed, or null.
  const std::string* reason(const std::string& file, int line) const;

 private:
  std::map<std::pair<std::string, int>, std::string> entries_;
};

}  // namespace slt
