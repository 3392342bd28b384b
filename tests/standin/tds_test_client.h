// A minimal client of the tabular data stream for the tests: builds the
// messages a driver sends (login, batch, RPC) and talks to a server on a
// loopback port. Answers are checked by the bytes they must contain.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "tds/login7.h"
#include "tds/packet.h"
#include "tds/wire.h"
#include "types/codepage.h"

namespace standin::tds::testing {

inline std::string utf16(std::string_view utf8) { return to_utf16le_bytes(utf8); }

// A login message as a driver builds it: fixed part, then the names.
inline std::string login7_message(std::string_view user, std::string_view password, std::string_view database,
                                  uint32_t version = kTds74, uint32_t packet_size = 4096) {
  const std::vector<std::string> names = {utf16("testhost"), utf16(user),        obfuscate_password(utf16(password)),
                                          utf16("tds-test"), utf16("127.0.0.1"), std::string(),
                                          utf16("test-lib"), std::string(),      utf16(database)};
  std::string variable;
  WireWriter pairs;
  size_t offset = 94;
  for (const auto& n : names) {
    pairs.u16(static_cast<uint16_t>(offset + variable.size()));
    pairs.u16(static_cast<uint16_t>(n.size() / 2));
    variable += n;
  }
  WireWriter out;
  out.u32(static_cast<uint32_t>(offset + variable.size()));
  out.u32(version);
  out.u32(packet_size);
  out.u32(7);                     // client program version
  out.u32(4242);                  // process id
  out.u32(0);                     // connection id
  out.raw(std::string(4, '\0'));  // option flags, type flags
  out.u32(0);                     // time zone
  out.u32(0x0409);                // locale
  out.raw(pairs.bytes());
  out.raw(std::string(6, '\0'));              // client id
  out.raw(std::string(size_t{4} * 3, '\0'));  // SSPI, attach file, change password
  out.u32(0);                                 // long SSPI
  out.raw(variable);
  return out.take();
}

inline std::string all_headers(uint64_t transaction_descriptor = 0) {
  WireWriter out;
  out.u32(22);  // total
  out.u32(18);  // transaction descriptor header
  out.u16(2);
  out.u64(transaction_descriptor);
  out.u32(1);  // outstanding requests
  return out.take();
}

// A transaction name as the requests carry it: its length in bytes, UTF-16.
inline std::string transaction_name(std::string_view name) {
  std::string text = utf16(name);
  return std::string(1, static_cast<char>(text.size())) + text;
}

// A transaction-manager request of `type` with its payload, in the
// transaction `descriptor` names (0 for none).
inline std::string transaction_message(uint16_t type, std::string_view payload, uint64_t descriptor = 0) {
  WireWriter out;
  out.raw(all_headers(descriptor));
  out.u16(type);
  out.raw(payload);
  return out.take();
}

inline std::string sql_batch_message(std::string_view text) { return all_headers() + utf16(text); }

class SocketSource : public ByteSource {
 public:
  explicit SocketSource(int fd) : fd_(fd) {}
  size_t read(char* buffer, size_t size) override {
    ssize_t n = ::recv(fd_, buffer, size, 0);
    return n > 0 ? static_cast<size_t>(n) : 0;
  }

 private:
  int fd_;
};

class TestClient {
 public:
  explicit TestClient(uint16_t port) : source_(fd_), reader_(source_) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    timeval timeout{10, 0};  // a broken server fails the test instead of hanging it
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  }
  ~TestClient() { ::close(fd_); }

  bool connected() const { return connected_; }

  void send_raw(std::string_view bytes) { (void)::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  void send(PacketType type, std::string_view body, size_t packet_size = 4096) {
    send_raw(frame_message(type, body, packet_size, &packet_id_));
  }
  // The next answer's body, or empty when the server closed the connection.
  std::string receive() {
    try {
      auto m = reader_.next();
      return m ? m->body : std::string();
    } catch (const ProtocolError&) {
      return {};
    }
  }
  std::string request(PacketType type, std::string_view body) {
    send(type, body);
    return receive();
  }
  // Prelogin and login; the login's answer.
  std::string login(std::string_view user, std::string_view password, std::string_view database = "master") {
    request(PacketType::PreLogin, prelogin_request());
    return request(PacketType::Login7, login7_message(user, password, database));
  }
  std::string batch(std::string_view text) { return request(PacketType::SqlBatch, sql_batch_message(text)); }

  static std::string prelogin_request(uint8_t encryption = 0) {
    WireWriter out;
    out.u8(0);  // version at 11, 6 bytes
    out.u16_be(11);
    out.u16_be(6);
    out.u8(1);  // encryption at 17, 1 byte
    out.u16_be(17);
    out.u16_be(1);
    out.u8(0xFF);
    out.raw(std::string("\x0b\x00\x00\x00\x00\x00", 6));
    out.u8(encryption);
    return out.take();
  }

 private:
  int fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  bool connected_ = false;
  uint8_t packet_id_ = 1;
  SocketSource source_;
  MessageReader reader_;
};

// Whether an answer holds `text` in UTF-16 (messages, names, nvarchar values).
inline bool mentions(const std::string& answer, std::string_view text) {
  return answer.find(utf16(text)) != std::string::npos;
}

// The status and row count of the answer's closing DONE token.
struct FinalDone {
  uint8_t token = 0;
  uint16_t status = 0;
  uint64_t rows = 0;
};
inline FinalDone final_done(const std::string& answer) {
  if (answer.size() < 13) return {};
  WireReader in(std::string_view(answer).substr(answer.size() - 13));
  FinalDone d;
  d.token = in.u8();
  d.status = in.u16();
  in.u16();
  d.rows = in.u64();
  return d;
}

}  // namespace standin::tds::testing
