// libFuzzer target: arbitrary bytes as the command text of a fresh
// in-memory session. Session::execute promises never to throw for bad input,
// so every input must come back as a BatchResult: no crash, no exception, no
// leak (AddressSanitizer's leak check runs at exit), no hang (libFuzzer's
// -timeout).
//
// Build (clang only; Debug keeps assertions and symbols):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
//         -DCMAKE_CXX_COMPILER=clang++ -DSQLUPDATE_FUZZ=ON \
//         -DSQLUPDATE_WITH_QT=OFF -DSQLUPDATE_TESTS=OFF
//   cmake --build build-fuzz --target parser_fuzz
// Run for ten minutes on a copy of the seed corpus, two workers:
//   mkdir -p /tmp/fuzz-corpus && cp standin/fuzz/corpus/* /tmp/fuzz-corpus/
//   build-fuzz/bin/parser_fuzz -max_total_time=600 -timeout=10 -rss_limit_mb=2048 \
//         -max_len=4096 -jobs=2 -workers=2 /tmp/fuzz-corpus
// The seeds are T-SQL statements of the upgrade tool, one per file; rebuild
// them with extract_corpus.py. A crash leaves crash-<sha1> in the working
// directory; replay it with `build-fuzz/bin/parser_fuzz crash-<sha1>`.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "standin/standin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto server = standin::Server::in_memory();
  auto session = server->connect("master");
  if (!session) __builtin_trap();  // master always exists
  standin::BatchResult result = session->execute(text);
  // Touch the result so that the work is not optimised away.
  volatile size_t sink = result.errors.size() + result.result_sets.size();
  (void)sink;
  return 0;
}
