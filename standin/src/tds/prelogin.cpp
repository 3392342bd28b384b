#include "tds/prelogin.h"

#include <vector>

#include "tds/wire.h"

namespace standin::tds {

namespace {

enum Option : uint8_t {
  kVersion = 0,
  kEncryption = 1,
  kInstance = 2,
  kThreadId = 3,
  kMars = 4,
  kTerminator = 0xFF,
};

// SQL Server 2019's version number, so that clients pick the newest
// protocol features they know.
constexpr uint8_t kServerVersion[6] = {15, 0, 0x07, 0xD0, 0, 0};

}  // namespace

PreLogin parse_prelogin(std::string_view body) {
  PreLogin result;
  WireReader table(body);
  for (;;) {
    uint8_t option = table.u8();
    if (option == kTerminator) break;
    uint16_t offset = table.u16_be();
    uint16_t length = table.u16_be();
    if (offset > body.size() || length > body.size() - offset)
      throw ProtocolError("a prelogin option points past the end of the message");
    std::string_view value = body.substr(offset, length);
    if (option == kEncryption && length >= 1) {
      uint8_t e = static_cast<uint8_t>(value[0]);
      result.encryption = e <= 3 ? static_cast<Encryption>(e) : Encryption::Required;
    } else if (option == kMars && length >= 1) {
      result.mars = value[0] != 0;
    }
  }
  return result;
}

std::string prelogin_response() {
  struct Entry {
    uint8_t option;
    std::string value;
  };
  const std::vector<Entry> entries = {
      {kVersion, std::string(reinterpret_cast<const char*>(kServerVersion), 6)},
      {kEncryption, std::string(1, static_cast<char>(Encryption::NotSupported))},
      {kInstance, std::string(1, '\0')},
      {kThreadId, std::string()},
      {kMars, std::string(1, '\0')},
  };
  WireWriter out;
  uint16_t offset = static_cast<uint16_t>(entries.size() * 5 + 1);
  for (const auto& e : entries) {
    out.u8(e.option);
    out.u16_be(offset);
    out.u16_be(static_cast<uint16_t>(e.value.size()));
    offset = static_cast<uint16_t>(offset + e.value.size());
  }
  out.u8(kTerminator);
  for (const auto& e : entries) out.raw(e.value);
  return out.take();
}

}  // namespace standin::tds
