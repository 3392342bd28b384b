// The login message: the client's protocol version and packet size, and the
// names it logs in with (user, password, initial database, application).
// Each name lies somewhere in the variable part of the message, found by an
// offset and a length in characters from the fixed part; each is checked to
// lie inside the message. The password travels obfuscated, not encrypted:
// every byte had its nibbles swapped and was XORed with 0xA5.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin::tds {

// Protocol versions as the login message carries them.
constexpr uint32_t kTds72 = 0x72090002;
constexpr uint32_t kTds73A = 0x730A0003;
constexpr uint32_t kTds73B = 0x730B0003;
constexpr uint32_t kTds74 = 0x74000004;

struct Login7 {
  uint32_t tds_version = 0;
  uint32_t packet_size = 0;
  bool integrated_security = false;  // the client wants SSPI, which is not offered
  bool wants_feature_ack = false;    // the client sent a feature extension block
  std::string host_name;
  std::string user_name;
  std::string password;
  std::string app_name;
  std::string server_name;
  std::string library_name;
  std::string language;
  std::string database;
};

// Throws ProtocolError on a message shorter than its fixed part, a declared
// length that disagrees with the message, or a name outside the message.
Login7 parse_login7(std::string_view body);

// The client's obfuscation of a password, and its reverse (on UTF-16LE
// bytes).
std::string obfuscate_password(std::string_view utf16le);
std::string clarify_password(std::string_view wire);

}  // namespace standin::tds
