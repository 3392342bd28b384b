// The prelogin exchange that opens every connection: the client lists its
// version and what it wants of encryption, the server answers with its own.
// This server has no TLS: it answers that encryption is not supported, and a
// client that requires encryption is refused before the login.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin::tds {

enum class Encryption : uint8_t {
  Off = 0,  // encrypt the login only, if the server can
  On = 1,   // encrypt everything
  NotSupported = 2,
  Required = 3,
};

struct PreLogin {
  Encryption encryption = Encryption::Off;
  bool mars = false;
};

// Reads a client's prelogin message body. Throws ProtocolError on an
// option table that points outside the message.
PreLogin parse_prelogin(std::string_view body);

// The client asks for an encrypted connection, which this server cannot
// give.
inline bool demands_encryption(const PreLogin& p) {
  return p.encryption == Encryption::On || p.encryption == Encryption::Required;
}

// The server's prelogin answer: its version, no encryption, no MARS.
std::string prelogin_response();

}  // namespace standin::tds
