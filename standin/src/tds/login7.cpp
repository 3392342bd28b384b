#include "tds/login7.h"

#include "tds/wire.h"
#include "types/codepage.h"

namespace standin::tds {

namespace {

constexpr size_t kFixedPart = 94;
constexpr size_t kNamesAt = 36;                // the first offset/length pair
constexpr uint8_t kIntegratedSecurity = 0x80;  // OptionFlags2
constexpr uint8_t kExtension = 0x10;           // OptionFlags3

// The UTF-16LE bytes of the name whose offset/length pair is at `pair_at`.
std::string_view name_bytes(std::string_view body, size_t pair_at) {
  WireReader pair(body.substr(pair_at, 4));
  size_t offset = pair.u16();
  size_t bytes = size_t{pair.u16()} * 2;
  if (bytes == 0) return {};
  if (offset > body.size() || bytes > body.size() - offset)
    throw ProtocolError("a login name points past the end of the message");
  return body.substr(offset, bytes);
}

std::string name(std::string_view body, size_t index) {
  return from_utf16le_bytes(name_bytes(body, kNamesAt + index * 4));
}

}  // namespace

std::string obfuscate_password(std::string_view utf16le) {
  std::string out(utf16le);
  for (char& c : out) {
    uint8_t b = static_cast<uint8_t>(c);
    c = static_cast<char>(static_cast<uint8_t>((b << 4) | (b >> 4)) ^ 0xA5);
  }
  return out;
}

std::string clarify_password(std::string_view wire) {
  std::string out(wire);
  for (char& c : out) {
    uint8_t b = static_cast<uint8_t>(c) ^ 0xA5;
    c = static_cast<char>(static_cast<uint8_t>((b << 4) | (b >> 4)));
  }
  return out;
}

Login7 parse_login7(std::string_view body) {
  if (body.size() < kFixedPart) throw ProtocolError("login message shorter than its fixed part");
  WireReader fixed(body);
  uint32_t length = fixed.u32();
  if (length < kFixedPart || length > body.size())
    throw ProtocolError("login message length disagrees with the message");
  body = body.substr(0, length);
  Login7 login;
  login.tds_version = fixed.u32();
  login.packet_size = fixed.u32();
  fixed.skip(12);  // client program version, process id, connection id
  fixed.u8();      // OptionFlags1
  login.integrated_security = (fixed.u8() & kIntegratedSecurity) != 0;
  fixed.u8();  // TypeFlags
  login.wants_feature_ack = (fixed.u8() & kExtension) != 0;
  login.host_name = name(body, 0);
  login.user_name = name(body, 1);
  login.password = from_utf16le_bytes(clarify_password(name_bytes(body, kNamesAt + size_t{2} * 4)));
  login.app_name = name(body, 3);
  login.server_name = name(body, 4);
  // 5: the feature extension's offset, not a name
  login.library_name = name(body, 6);
  login.language = name(body, 7);
  login.database = name(body, 8);
  return login;
}

}  // namespace standin::tds
