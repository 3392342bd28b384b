// The server on a loopback port, talked to by the tests' own client: logins
// right and wrong, batches, RPCs with typed parameters, several sessions at
// once, and hostile input that must end one connection and not the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "server/listener.h"
#include "tds/data_types.h"
#include "tds/prelogin.h"
#include "tds/tokens.h"
#include "tds_test_client.h"

namespace standin::server {
namespace {

using tds::PacketType;
using tds::testing::final_done;
using tds::testing::mentions;
using tds::testing::TestClient;

class TdsServer : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = Server::in_memory();
    auto setup = engine_->connect("master");
    ASSERT_TRUE(setup->execute("CREATE DATABASE club1").ok());
    ASSERT_TRUE(setup
                    ->execute("USE club1; CREATE TABLE m (id int PRIMARY KEY, name nvarchar(40), "
                              "paid decimal(10,2))")
                    .ok());
    credentials_.login = "sa";
    credentials_.password = "geheim";
    listener_ = std::make_unique<Listener>("127.0.0.1", 0);
    serving_ = std::thread([this] {
      listener_->serve(*engine_, credentials_, [this](std::string_view line) { log_ += std::string(line) + "\n"; });
    });
  }
  void TearDown() override {
    listener_->stop();
    serving_.join();
  }

  uint16_t port() const { return listener_->port(); }

  std::unique_ptr<Server> engine_;
  Credentials credentials_;
  std::unique_ptr<Listener> listener_;
  std::thread serving_;
  std::string log_;  // written by connection threads, read after the join only
};

TEST_F(TdsServer, ALoginIsAcknowledgedWithItsDatabase) {
  TestClient client(port());
  std::string answer = client.login("SA", "geheim", "club1");  // logins compare without case
  ASSERT_FALSE(answer.empty());
  EXPECT_NE(answer.find(static_cast<char>(tds::kTokenLoginAck)), std::string::npos);
  EXPECT_TRUE(mentions(answer, "Changed database context to 'club1'."));
  EXPECT_TRUE(mentions(answer, "us_english"));
  EXPECT_EQ(final_done(answer).status, tds::kDoneFinal);
  EXPECT_TRUE(mentions(client.batch("SELECT DB_NAME() AS db"), "club1"));
}

TEST_F(TdsServer, AWrongPasswordOrUserOrDatabaseIsRefusedAndTheConnectionEnds) {
  struct Case {
    const char* user;
    const char* password;
    const char* database;
    const char* message;
  };
  const Case cases[] = {
      {"sa", "falsch", "master", "Login failed for user 'sa'."},
      {"kassierer", "geheim", "master", "Login failed for user 'kassierer'."},
      {"sa", "geheim", "club9", "Cannot open database \"club9\" requested by the login. The login failed."},
  };
  for (const auto& c : cases) {
    TestClient client(port());
    std::string answer = client.login(c.user, c.password, c.database);
    EXPECT_TRUE(mentions(answer, c.message)) << c.message;
    EXPECT_EQ(final_done(answer).status, tds::kDoneError);
    EXPECT_EQ(client.batch("SELECT 1"), "") << "the connection stays open after " << c.message;
  }
}

TEST_F(TdsServer, AClientThatRequiresEncryptionIsRefusedAfterThePrelogin) {
  TestClient client(port());
  std::string answer = client.request(PacketType::PreLogin, TestClient::prelogin_request(3));
  EXPECT_EQ(tds::parse_prelogin(answer).encryption, tds::Encryption::NotSupported);
  EXPECT_EQ(client.request(PacketType::Login7, tds::testing::login7_message("sa", "geheim", "master")), "");
}

TEST_F(TdsServer, ABatchAnswersEachResultSetErrorAndCount) {
  TestClient client(port());
  client.login("sa", "geheim", "club1");
  std::string insert = client.batch("INSERT INTO m VALUES (1, N'Jäger', 12.5), (2, NULL, NULL)");
  EXPECT_EQ(final_done(insert).status, tds::kDoneCount);
  EXPECT_EQ(final_done(insert).rows, 2u);

  std::string two = client.batch("SELECT name FROM m WHERE id = 1; SELECT N'zweite' AS x");
  EXPECT_TRUE(mentions(two, "Jäger"));
  EXPECT_TRUE(mentions(two, "zweite"));
  EXPECT_EQ(std::count(two.begin(), two.end(), static_cast<char>(tds::kTokenColMetadata)), 2);

  std::string failed = client.batch("INSERT INTO m VALUES (1, N'doppelt', 0)");
  EXPECT_TRUE(mentions(failed, "Violation of PRIMARY KEY constraint"));
  EXPECT_EQ(final_done(failed).status & tds::kDoneError, tds::kDoneError);

  std::string use = client.batch("USE master");
  EXPECT_TRUE(mentions(use, "Changed database context to 'master'."));
  EXPECT_TRUE(mentions(use, "club1"));  // the old value of the change
}

// The number and state of the ERROR token whose message is `text`: the
// token is number (4 bytes), state, class, then the message's length and
// text, so they stand eight and four bytes before the text.
struct ErrorFields {
  size_t at = std::string::npos;
  int32_t number = 0;
  int state = -1;
};
ErrorFields error_with_message(const std::string& answer, std::string_view text) {
  ErrorFields f;
  f.at = answer.find(tds::testing::utf16(text));
  if (f.at == std::string::npos || f.at < 8) return f;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(answer[i]); };
  size_t n = f.at - 8;
  f.number = static_cast<int32_t>(byte(n) | (byte(n + 1) << 8) | (byte(n + 2) << 16) | (byte(n + 3) << 24));
  f.state = byte(f.at - 4);
  return f;
}

// A refusal SQL Server sends as two messages arrives as two ERROR tokens,
// the dependency first.
TEST_F(TdsServer, APairedRefusalArrivesAsTwoErrorTokensInOrder) {
  TestClient client(port());
  client.login("sa", "geheim", "club1");
  std::string answer = client.batch("ALTER TABLE m ALTER COLUMN id bigint NOT NULL");
  ErrorFields first = error_with_message(answer, "The object 'PK__m' is dependent on column 'id'.");
  ErrorFields second =
      error_with_message(answer, "ALTER TABLE ALTER COLUMN id failed because one or more objects access this column.");
  ASSERT_NE(first.at, std::string::npos);
  ASSERT_NE(second.at, std::string::npos);
  EXPECT_LT(first.at, second.at);
  EXPECT_EQ(first.number, 5074);
  EXPECT_EQ(second.number, 4922);
  EXPECT_EQ(final_done(answer).status & tds::kDoneError, tds::kDoneError);
}

std::string parameter(std::string_view name, const Value& v, bool output = false) {
  tds::WireWriter w;
  w.b_varchar(name);
  w.u8(output ? 1 : 0);
  tds::write_type_info(w, v.type());
  tds::write_value(w, v.type(), v);
  return w.take();
}

std::string rpc(uint16_t proc, const std::vector<std::string>& params) {
  tds::WireWriter w;
  w.raw(tds::testing::all_headers());
  w.u16(0xFFFF);
  w.u16(proc);
  w.u16(0);
  for (const auto& p : params) w.raw(p);
  return w.take();
}

Value nvarchar(std::string s) { return Value::string(std::move(s), TypeInfo::nvarchar(4000)); }

TEST_F(TdsServer, ExecuteSqlBindsTypedParametersByNameAndByPosition) {
  TestClient client(port());
  client.login("sa", "geheim", "club1");
  std::string insert = client.request(
      PacketType::Rpc, rpc(10, {parameter("", nvarchar("INSERT INTO m VALUES (@P1, @P2, @P3)")),
                                parameter("", nvarchar("@P1 int,@P2 nvarchar(40),@P3 decimal(10,2)")),
                                parameter("", Value::integer(7)), parameter("", nvarchar("Müller")),
                                parameter("@P3", Value::decimal(Decimal(1999, 2), TypeInfo::decimal(10, 2)))}));
  EXPECT_EQ(final_done(insert).token, tds::kTokenDoneProc);
  EXPECT_FALSE(mentions(insert, "Msg"));
  EXPECT_EQ(insert.find(static_cast<char>(tds::kTokenError)), std::string::npos);
  std::string check = client.batch("SELECT name + N' ' + CAST(paid AS nvarchar(20)) FROM m WHERE id = 7");
  EXPECT_TRUE(mentions(check, "Müller 19.99"));
}

TEST_F(TdsServer, APreparedStatementRunsUnderItsHandleUntilUnprepared) {
  TestClient client(port());
  client.login("sa", "geheim", "club1");
  std::string prepared = client.request(
      PacketType::Rpc,
      rpc(11, {parameter("@handle", Value::null(TypeInfo::of(Type::Int)), true), parameter("", nvarchar("@P1 int")),
               parameter("", nvarchar("SELECT N'Nummer ' + CAST(@P1 AS nvarchar(9))"))}));
  ASSERT_NE(prepared.find(static_cast<char>(tds::kTokenReturnValue)), std::string::npos);
  // The handle is the first one handed out: 1.
  auto execute = [&](int handle) {
    return client.request(PacketType::Rpc,
                          rpc(12, {parameter("", Value::integer(handle)), parameter("", Value::integer(41))}));
  };
  EXPECT_TRUE(mentions(execute(1), "Nummer 41"));
  client.request(PacketType::Rpc, rpc(15, {parameter("", Value::integer(1))}));
  EXPECT_TRUE(mentions(execute(1), "Could not find prepared statement with handle 1."));
}

TEST_F(TdsServer, SessionsKeepTheirOwnDatabaseAndTransactions) {
  TestClient a(port()), b(port());
  a.login("sa", "geheim", "club1");
  b.login("sa", "geheim", "master");
  a.batch("BEGIN TRAN; INSERT INTO m VALUES (50, N'offen', 0)");
  EXPECT_TRUE(mentions(b.batch("SELECT DB_NAME()"), "master"));
  EXPECT_TRUE(mentions(a.batch("SELECT DB_NAME()"), "club1"));
  std::string refused = b.batch("USE club1; INSERT INTO m VALUES (51, N'andere', 0)");
  EXPECT_EQ(final_done(refused).status & tds::kDoneError, tds::kDoneError);  // 1222: a's open transaction
}

TEST_F(TdsServer, AnOpenTransactionRollsBackWhenItsConnectionEnds) {
  {
    TestClient a(port());
    a.login("sa", "geheim", "club1");
    a.batch("BEGIN TRAN; INSERT INTO m VALUES (60, N'verloren', 0)");
  }
  TestClient b(port());
  b.login("sa", "geheim", "club1");
  // The server notices the closed socket on its own thread: ask until it has.
  std::string answer;
  for (int i = 0; i < 200; ++i) {
    answer = b.batch("SELECT CAST(COUNT(*) AS nvarchar(5)) + N' Zeilen' FROM m WHERE id = 60");
    if (mentions(answer, "0 Zeilen")) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(mentions(answer, "0 Zeilen"));
}

TEST_F(TdsServer, AttentionIsAcknowledged) {
  TestClient client(port());
  client.login("sa", "geheim", "club1");
  std::string answer = client.request(PacketType::Attention, "");
  EXPECT_EQ(final_done(answer).status, tds::kDoneAttention);
  EXPECT_TRUE(mentions(client.batch("SELECT N'weiter'"), "weiter"));
}

TEST_F(TdsServer, HostileInputEndsItsConnectionAndNotTheServer) {
  const std::string attacks[] = {
      std::string("\x12\x01\xFF\xFF\x00\x00\x01\x00", 8) + std::string(100, 'x'),           // longer than any packet
      std::string("\x12\x01\x00\x02\x00\x00\x01\x00", 8),                                   // shorter than a header
      std::string("\x10\x01\x00\x10\x00\x00\x01\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 16),  // login
      std::string("\x63\x01\x00\x08\x00\x00\x01\x00", 8),                                   // unknown type
  };
  for (const auto& bytes : attacks) {
    TestClient client(port());
    client.send_raw(bytes);
    EXPECT_EQ(client.receive(), "");
  }
  TestClient after_login(port());
  after_login.login("sa", "geheim", "club1");
  after_login.send(PacketType::Rpc, tds::testing::all_headers() + std::string("\x05\x00\x41", 3));
  EXPECT_EQ(after_login.receive(), "");

  TestClient still(port());
  still.login("sa", "geheim", "club1");
  EXPECT_TRUE(mentions(still.batch("SELECT N'lebt'"), "lebt"));
}

}  // namespace
}  // namespace standin::server
