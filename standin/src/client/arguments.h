// The command line of standin-sql:
//   standin-sql --data DIR [-d DATABASE] (-Q "text" | -i FILE)... [-b]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin::client {

struct Input {
  enum class Kind { Query, File };
  Kind kind;
  std::string text;  // the query, or the file name
};

struct Arguments {
  std::string data_directory;
  std::string database = "master";
  std::vector<Input> inputs;  // in command-line order
  bool stop_on_error = false;
  uint64_t max_query_memory = 0;  // 0: the engine's default
  bool help = false;
};

extern const char* const kUsage;  // one line, ends in a line feed
extern const char* const kHelp;   // the full --help text

// Parses argv[1..]. Returns nullopt and fills `problem` when the arguments
// cannot be used (the caller prints it with the usage line and exits 64).
std::optional<Arguments> parse_arguments(const std::vector<std::string>& args, std::string* problem);

}  // namespace standin::client
