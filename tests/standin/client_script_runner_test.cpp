#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "client/script_runner.h"

namespace standin::client {
namespace {

class ScriptRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = Server::in_memory();
    session_ = server_->connect("master");
    ASSERT_TRUE(session_);
  }

  bool run(const std::string& script, bool stop_on_error) {
    out_.str("");
    err_.str("");
    return run_script(*session_, script, out_, err_, stop_on_error);
  }

  std::unique_ptr<Server> server_;
  std::unique_ptr<Session> session_;
  std::ostringstream out_, err_;
};

const char* const kScript =
    "CREATE TABLE t (a int, b varchar(10))\n"  // 1
    "GO\n"                                     // 2
    "INSERT INTO t VALUES (1, 'x')\n"          // 3
    "INSERT INTO t VALUES (2, NULL)\n"         // 4
    "SELECT a, b FROM t ORDER BY a\n"          // 5
    "SELECT COUNT(*) AS n FROM t\n"            // 6
    "go\n"                                     // 7
    "\n"                                       // 8
    "SELECT a FROM missing\n"                  // 9
    "GO\n"                                     // 10
    "SELECT 'after' AS x\n";                   // 11

TEST_F(ScriptRunnerTest, RunsEveryBatchAndReportsErrorsWithScriptLines) {
  EXPECT_FALSE(run(kScript, false));
  EXPECT_EQ(out_.str(), "a\tb\n1\tx\n2\tNULL\n\nn\n2\nx\nafter\n");
  EXPECT_EQ(err_.str(), "Msg 208, Level 16, State 1, Line 9\nInvalid object name 'missing'.\n");
}

TEST_F(ScriptRunnerTest, StopsAtTheFirstFailingBatchWhenAsked) {
  EXPECT_FALSE(run(kScript, true));
  EXPECT_EQ(out_.str().find("after"), std::string::npos) << out_.str();
  EXPECT_TRUE(run("SELECT 1 AS one\nGO\n", true));
  EXPECT_EQ(out_.str(), "one\n1\n");
  EXPECT_EQ(err_.str(), "");
}

}  // namespace
}  // namespace standin::client
