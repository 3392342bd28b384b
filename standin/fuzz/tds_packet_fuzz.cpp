// libFuzzer target: arbitrary bytes as what a client sends to the server.
// The packet reader puts messages together and each message goes to the
// parser of its type (prelogin, login, SQL batch, RPC); parameters decode
// into engine values. Hostile input may only end in ProtocolError: no
// crash, no other exception, no read out of bounds, no huge allocation
// (-rss_limit_mb), no hang.
//
// Build as parser_fuzz (see there), target tds_packet_fuzz:
//   cmake --build build-fuzz --target tds_packet_fuzz
// Run for ten minutes:
//   mkdir -p /tmp/tds-corpus
//   build-fuzz/bin/tds_packet_fuzz -max_total_time=600 -timeout=10 -rss_limit_mb=2048 \
//         -max_len=8192 /tmp/tds-corpus
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tds/login7.h"
#include "tds/packet.h"
#include "tds/prelogin.h"
#include "tds/requests.h"
#include "tds/wire.h"

namespace {

// Hands out the input in pieces of varying size, as a socket may.
class FuzzSource : public standin::tds::ByteSource {
 public:
  FuzzSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min({size, size_ - at_, size_t{1} + (at_ * 31) % 97});
    std::copy(data_ + at_, data_ + at_ + n, buffer);
    at_ += n;
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void parse(const standin::tds::Message& m) {
  using standin::tds::PacketType;
  switch (m.type) {
    case PacketType::PreLogin: standin::tds::parse_prelogin(m.body); break;
    case PacketType::Login7: standin::tds::parse_login7(m.body); break;
    case PacketType::SqlBatch: standin::tds::parse_sql_batch(m.body); break;
    case PacketType::Rpc:
      for (const auto& call : standin::tds::parse_rpc(m.body))
        for (const auto& p : call.parameters) (void)p.value.to_display();
      break;
    default: break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSource source(data, size);
  // A small message limit, so that the fuzzer reaches it.
  standin::tds::MessageReader reader(source, 1 << 16);
  try {
    while (auto message = reader.next()) parse(*message);
  } catch (const standin::tds::ProtocolError&) {
    // the connection would end here
  }
  return 0;
}
