#include "skip_list.h"

#include <fstream>
#include <stdexcept>

namespace slt {

SkipList SkipList::load(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  SkipList list;
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    ++line_no;
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    size_t blank = line.find(' ', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || blank == std::string::npos || blank + 1 >= line.size())
      throw std::runtime_error(path + ":" + std::to_string(line_no) + ": expected '<file>:<line> <reason>'");
    int record_line = std::stoi(line.substr(colon + 1, blank - colon - 1));
    list.entries_[{line.substr(0, colon), record_line}] = line.substr(blank + 1);
  }
  return list;
}

const std::string* SkipList::reason(const std::string& file, int line) const {
  auto it = entries_.find({file, line});
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace slt
