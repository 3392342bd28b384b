// The server on a loopback port, talked to by the tests' own client: logins
// right and wrong, batches, RPCs with typed parameters, transaction-manager
// requests, several sessions at once, and hostile input that must end one
// connection and not the server.
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

// Transaction-manager requests. The shapes follow MS-TDS 2.2.6.9
// "Transaction Manager Request" (request types, XACT_FLAGS with fBeginXact,
// names as B_VARBYTE) and 2.2.7.9 "ENVCHANGE" (types 8, 9 and 10: begin
// with the 8-byte descriptor as new value and an empty old value; commit
// and rollback the other way round).
enum TmType : uint16_t {
  kTmDtcAddress = 0,
  kTmPropagate = 1,
  kTmBegin = 5,
  kTmCommit = 7,
  kTmRollback = 8,
  kTmSave = 9
};

std::string begin_change(uint64_t descriptor) {
  tds::WireWriter w;
  w.u8(tds::kTokenEnvChange);
  w.u16(11);
  w.u8(8);
  w.u8(8);
  w.u64(descriptor);
  w.u8(0);
  return w.take();
}

std::string end_change(uint8_t type, uint64_t descriptor) {
  tds::WireWriter w;
  w.u8(tds::kTokenEnvChange);
  w.u16(11);
  w.u8(type);
  w.u8(0);
  w.u8(8);
  w.u64(descriptor);
  return w.take();
}

std::string done_bytes(uint16_t status) {
  tds::TokenWriter w;
  w.done(tds::kTokenDone, status);
  return w.take();
}

// The descriptor of the first transaction an answer says began, 0 if none.
uint64_t began(const std::string& answer) {
  const std::string head("\xE3\x0B\x00\x08\x08", 5);
  size_t at = answer.find(head);
  if (at == std::string::npos || answer.size() < at + head.size() + 8) return 0;
  return tds::WireReader(std::string_view(answer).substr(at + head.size(), 8)).u64();
}

// TM_BEGIN_XACT: isolation level, name. TM_COMMIT_XACT / TM_ROLLBACK_XACT:
// name, flags and, with fBeginXact, the next one's isolation level and name.
std::string begin_payload(uint8_t isolation = 0, std::string_view name = "") {
  return std::string(1, static_cast<char>(isolation)) + tds::testing::transaction_name(name);
}
std::string end_payload(bool begin_after = false, uint8_t isolation = 0, std::string_view next = "") {
  std::string p = tds::testing::transaction_name("") + std::string(1, begin_after ? '\x01' : '\x00');
  return begin_after ? p + begin_payload(isolation, next) : p;
}

class TdsTransactions : public TdsServer {
 protected:
  void SetUp() override {
    TdsServer::SetUp();
    client_ = std::make_unique<TestClient>(port());
    client_->login("sa", "geheim", "club1");
  }
  std::string tm(uint16_t type, std::string_view payload, uint64_t descriptor = 0) {
    return client_->request(PacketType::TransactionManager,
                            tds::testing::transaction_message(type, payload, descriptor));
  }
  bool says(const std::string& batch, std::string_view text) { return mentions(client_->batch(batch), text); }
  bool trancount_is(int n) {
    return says("SELECT N'count ' + CAST(@@TRANCOUNT AS nvarchar(5))", "count " + std::to_string(n));
  }
  bool row_there(int id) {
    return says("SELECT CAST(COUNT(*) AS nvarchar(5)) + N' rows' FROM m WHERE id = " + std::to_string(id), "1 rows");
  }
  std::unique_ptr<TestClient> client_;
};

TEST_F(TdsTransactions, BeginCommitAndRollbackAnswerWithTheirEnvChangesAlone) {
  std::string begin = tm(kTmBegin, begin_payload(2, "first"));
  uint64_t first = began(begin);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(begin, begin_change(first) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(1));
  client_->batch("INSERT INTO m VALUES (1, N'kept', 0)");
  EXPECT_EQ(tm(kTmCommit, end_payload(), first), end_change(9, first) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(0));

  uint64_t second = began(tm(kTmBegin, begin_payload()));
  EXPECT_NE(second, 0u);
  EXPECT_NE(second, first);  // a descriptor names one transaction
  client_->batch("INSERT INTO m VALUES (2, N'gone', 0)");
  EXPECT_EQ(tm(kTmRollback, end_payload(), second), end_change(10, second) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(0));
  EXPECT_TRUE(row_there(1));
  EXPECT_FALSE(row_there(2));
}

TEST_F(TdsTransactions, CommitOrRollbackWithBeginXactStartsTheNextTransactionAtOnce) {
  uint64_t first = began(tm(kTmBegin, begin_payload()));
  client_->batch("INSERT INTO m VALUES (1, N'kept', 0)");
  std::string commit = tm(kTmCommit, end_payload(true, 2, "next"), first);
  uint64_t second = began(commit);
  ASSERT_NE(second, 0u);
  EXPECT_EQ(commit, end_change(9, first) + begin_change(second) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(1));

  client_->batch("INSERT INTO m VALUES (2, N'gone', 0)");
  std::string rollback = tm(kTmRollback, end_payload(true), second);
  uint64_t third = began(rollback);
  EXPECT_EQ(rollback, end_change(10, second) + begin_change(third) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(1));
  EXPECT_FALSE(row_there(2));
  tm(kTmRollback, end_payload(), third);
  EXPECT_TRUE(trancount_is(0));
  EXPECT_TRUE(row_there(1));
}

// Both ways drive one transaction, and a T-SQL BEGIN TRAN or COMMIT is
// reported the same way as the request; nested levels only count.
TEST_F(TdsTransactions, RequestsAndTSqlStatementsShareOneTransaction) {
  uint64_t first = began(tm(kTmBegin, begin_payload()));
  EXPECT_EQ(tm(kTmBegin, begin_payload(), first), done_bytes(tds::kDoneFinal));  // nested
  EXPECT_TRUE(trancount_is(2));
  EXPECT_EQ(tm(kTmCommit, end_payload(), first), done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(trancount_is(1));
  client_->batch("INSERT INTO m VALUES (1, N'kept', 0)");
  std::string commit = client_->batch("COMMIT");
  EXPECT_NE(commit.find(end_change(9, first)), std::string::npos);
  EXPECT_TRUE(trancount_is(0));

  std::string begin = client_->batch("BEGIN TRAN; INSERT INTO m VALUES (2, N'gone', 0)");
  uint64_t second = began(begin);
  ASSERT_NE(second, 0u);
  EXPECT_NE(begin.find(begin_change(second)), std::string::npos);
  EXPECT_EQ(tm(kTmRollback, end_payload(), second), end_change(10, second) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(row_there(1));
  EXPECT_FALSE(row_there(2));

  // An error that ends the transaction says so too.
  uint64_t third = began(tm(kTmBegin, begin_payload()));
  std::string failed = client_->batch("SET XACT_ABORT ON; INSERT INTO m VALUES (1, N'dup', 0)");
  EXPECT_NE(failed.find(end_change(10, third)), std::string::npos);
  EXPECT_TRUE(trancount_is(0));
}

TEST_F(TdsTransactions, EndingNoTransactionFailsAndBeginsNoNextOne) {
  std::string commit = tm(kTmCommit, end_payload(true));
  EXPECT_TRUE(mentions(commit, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
  EXPECT_EQ(final_done(commit).status, tds::kDoneError);
  EXPECT_EQ(began(commit), 0u);
  std::string rollback = tm(kTmRollback, end_payload());
  EXPECT_TRUE(mentions(rollback, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."));
  EXPECT_TRUE(trancount_is(0));
}

TEST_F(TdsTransactions, ASavepointIsRefusedAndTheTransactionGoesOn) {
  uint64_t open = began(tm(kTmBegin, begin_payload()));
  client_->batch("INSERT INTO m VALUES (1, N'kept', 0)");
  std::string save = tm(kTmSave, tds::testing::transaction_name("vorher"), open);
  EXPECT_TRUE(mentions(save, "Savepoints are not supported: SAVE TRANSACTION [vorher] was refused"));
  EXPECT_EQ(final_done(save).status, tds::kDoneError);
  EXPECT_TRUE(trancount_is(1));
  EXPECT_EQ(tm(kTmCommit, end_payload(), open), end_change(9, open) + done_bytes(tds::kDoneFinal));
  EXPECT_TRUE(row_there(1));
}

TEST_F(TdsTransactions, ThereIsNoDistributedTransactionCoordinator) {
  std::string address = tm(kTmDtcAddress, std::string(2, '\0'));  // an empty US_VARBYTE
  ASSERT_GE(address.size(), 13u);
  EXPECT_EQ(static_cast<uint8_t>(address[0]), tds::kTokenColMetadata);
  EXPECT_NE(address.find(static_cast<char>(tds::kTokenRow)), std::string::npos);
  EXPECT_EQ(final_done(address).status, tds::kDoneFinal);

  std::string propagate = tm(kTmPropagate, std::string("\x04\x00\x01\x02\x03\x04", 6));
  ASSERT_FALSE(propagate.empty());
  EXPECT_EQ(static_cast<uint8_t>(propagate[0]), tds::kTokenError);
  EXPECT_TRUE(mentions(propagate, "MSDTC on server 'standin' is unavailable."));
  tds::WireWriter number;
  number.u32(8501);
  EXPECT_NE(propagate.find(number.bytes()), std::string::npos);
  EXPECT_EQ(final_done(propagate).status, tds::kDoneError);
  EXPECT_TRUE(trancount_is(0));

  // A request type the protocol does not define ends the connection.
  EXPECT_EQ(tm(3, ""), "");
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
