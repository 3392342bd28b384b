#include "server/connection.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "server/request_handler.h"
#include "tds/login7.h"
#include "tds/packet.h"
#include "tds/prelogin.h"
#include "tds/tokens.h"
#include "tds/wire.h"
#include "types/ascii.h"

namespace standin::server {

namespace {

using tds::PacketType;
using tds::ProtocolError;

constexpr int kMsgLoginFailed = 18456;
constexpr int kLoginFailedSeverity = 14;

class SocketSource : public tds::ByteSource {
 public:
  explicit SocketSource(int fd) : fd_(fd) {}
  size_t read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t n = ::recv(fd_, buffer, size, 0);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) return 0;
    }
  }

 private:
  int fd_;
};

// Thrown when the peer is gone while we write: nothing more to say to it.
struct PeerGone {};

class Connection {
 public:
  Connection(int fd, Server& server, const Credentials& credentials)
      : fd_(fd), source_(fd), reader_(source_), server_(server), credentials_(credentials) {}

  void run();

 private:
  void send(PacketType type, std::string_view body);
  void prelogin(const tds::Message& first);
  // False when the login was refused and the connection is to end.
  bool login(const tds::Message& message);
  void refuse_login(const Error& error);
  bool credentials_match(const tds::Login7& login) const;
  void serve_requests();

  int fd_;
  SocketSource source_;
  tds::MessageReader reader_;
  Server& server_;
  const Credentials& credentials_;
  size_t packet_size_ = tds::kDefaultPacketSize;
  uint8_t packet_id_ = 1;
  tds::WireDialect dialect_;
  std::unique_ptr<Session> session_;
};

void Connection::send(PacketType type, std::string_view body) {
  std::string packets = tds::frame_message(type, body, packet_size_, &packet_id_);
  size_t done = 0;
  while (done < packets.size()) {
    ssize_t n = ::send(fd_, packets.data() + done, packets.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw PeerGone{};
    done += static_cast<size_t>(n);
  }
}

void Connection::prelogin(const tds::Message& first) {
  tds::PreLogin hello = tds::parse_prelogin(first.body);
  send(PacketType::TabularResult, tds::prelogin_response());
  if (tds::demands_encryption(hello))
    throw ProtocolError("the client requires encryption, which this server does not offer");
}

bool Connection::credentials_match(const tds::Login7& login) const {
  if (!iequals(login.user_name, credentials_.login)) return false;
  return !credentials_.password || *credentials_.password == login.password;
}

void Connection::refuse_login(const Error& error) {
  tds::TokenWriter out(dialect_);
  out.message(error);
  out.done(tds::kTokenDone, tds::kDoneError);
  send(PacketType::TabularResult, out.bytes());
}

bool Connection::login(const tds::Message& message) {
  if (message.type != PacketType::Login7) throw ProtocolError("expected a login message");
  tds::Login7 login = tds::parse_login7(message.body);
  if (login.tds_version < tds::kTds72) {
    refuse_login(Error{kMsgLoginFailed, kLoginFailedSeverity, 1, 1,
                       "This server speaks protocol version 7.2 or later (TDSVER=7.4)."});
    return false;
  }
  dialect_.date_type = login.tds_version >= tds::kTds73A;
  if (login.integrated_security || !credentials_match(login)) {
    refuse_login(
        Error{kMsgLoginFailed, kLoginFailedSeverity, 1, 1, "Login failed for user '" + login.user_name + "'."});
    return false;
  }
  std::string database = login.database.empty() ? "master" : login.database;
  Error error;
  session_ = server_.connect(database, &error);
  if (!session_) {
    refuse_login(error);
    return false;
  }
  if (login.packet_size != 0)
    packet_size_ = std::clamp<size_t>(login.packet_size, tds::kMinPacketSize, tds::kMaxPacketSize);
  tds::TokenWriter out(dialect_);
  out.env_change(tds::EnvChange::Database, database, "master");
  out.info(5701, "Changed database context to '" + database + "'.");
  out.collation_change();
  out.env_change(tds::EnvChange::Language, "us_english", "");
  out.info(5703, "Changed language setting to us_english.");
  out.login_ack(std::min(login.tds_version, tds::kTds74));
  if (login.wants_feature_ack) out.feature_ext_ack();
  out.env_change(tds::EnvChange::PacketSize, std::to_string(packet_size_), std::to_string(tds::kDefaultPacketSize));
  out.done(tds::kTokenDone, tds::kDoneFinal);
  send(PacketType::TabularResult, out.bytes());
  return true;
}

void Connection::serve_requests() {
  RequestHandler handler(*session_, dialect_);
  while (auto message = reader_.next()) {
    switch (message->type) {
      case PacketType::SqlBatch:
        send(PacketType::TabularResult, handler.batch(tds::parse_sql_batch(message->body)));
        break;
      case PacketType::Rpc: send(PacketType::TabularResult, handler.rpc(tds::parse_rpc(message->body))); break;
      case PacketType::Attention: {
        // Requests run to their end before the next message is read, so
        // there is nothing left to cancel: only the acknowledgement.
        tds::TokenWriter out(dialect_);
        out.done(tds::kTokenDone, tds::kDoneAttention);
        send(PacketType::TabularResult, out.bytes());
        break;
      }
      case PacketType::TransactionManager:
        send(PacketType::TabularResult, handler.transaction(tds::parse_transaction_request(message->body)));
        break;
      default: throw ProtocolError("unexpected message of type " + std::to_string(static_cast<int>(message->type)));
    }
  }
}

void Connection::run() {
  auto first = reader_.next();
  if (!first) return;
  if (first->type == PacketType::PreLogin) {
    prelogin(*first);
    first = reader_.next();
    if (!first) return;
  }
  if (!login(*first)) return;
  serve_requests();
}

}  // namespace

void serve_connection(int socket_fd, Server& server, const Credentials& credentials, const Log& log) {
  Connection connection(socket_fd, server, credentials);
  try {
    connection.run();
  } catch (const ProtocolError& e) {
    log(std::string("connection ended: ") + e.what());
  } catch (const PeerGone&) {
    log("connection ended: the client stopped reading");
  } catch (const std::exception& e) {
    log(std::string("connection ended: ") + e.what());
  }
}

}  // namespace standin::server
