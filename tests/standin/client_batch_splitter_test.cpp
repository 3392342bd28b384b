#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/batch_splitter.h"

namespace standin::client {
namespace {

std::vector<std::string> texts(const std::vector<Batch>& batches) {
  std::vector<std::string> out;
  for (const auto& b : batches) out.push_back(b.text);
  return out;
}

std::vector<int> first_lines(const std::vector<Batch>& batches) {
  std::vector<int> out;
  for (const auto& b : batches) out.push_back(b.first_line);
  return out;
}

TEST(ClientBatchSplitter, GoLineIsOnlyTheWordInAnyCaseWithBlanks) {
  for (const char* line : {"GO", "go", "Go", "gO", "  GO", "GO  ", "\tgo\t", "GO\r", " go \r"}) {
    EXPECT_TRUE(is_go_line(line)) << '"' << line << '"';
  }
  for (const char* line : {"", "G", "GOO", "GO;", "GOTO x", "GO -- end", "G O", "select 1 GO", "\"GO\""}) {
    EXPECT_FALSE(is_go_line(line)) << '"' << line << '"';
  }
}

TEST(ClientBatchSplitter, SplitsAtGoLinesAndCountsScriptLines) {
  std::string script =
      "CREATE TABLE t (a int)\n"  // line 1
      "GO\n"                      // line 2
      "INSERT INTO t VALUES (1)\n"
      "INSERT INTO t VALUES (2)\n"
      "  go  \n"  // line 5
      "\n"
      "SELECT a FROM t";  // line 7, no line feed, no closing GO
  auto batches = split_batches(script);
  EXPECT_EQ(texts(batches),
            (std::vector<std::string>{"CREATE TABLE t (a int)\n",
                                      "INSERT INTO t VALUES (1)\nINSERT INTO t VALUES (2)\n", "\nSELECT a FROM t"}));
  EXPECT_EQ(first_lines(batches), (std::vector<int>{1, 3, 6}));
}

TEST(ClientBatchSplitter, KeepsCrLfLineEndingsAndSkipsEmptyBatches) {
  std::string script = "GO\r\n\r\n  \r\nGO\r\nSELECT 1\r\nSELECT 2\r\nGO\r\nGO\r\n";
  auto batches = split_batches(script);
  EXPECT_EQ(texts(batches), std::vector<std::string>{"SELECT 1\r\nSELECT 2\r\n"});
  EXPECT_EQ(first_lines(batches), std::vector<int>{5});
  EXPECT_TRUE(split_batches("").empty());
  EXPECT_TRUE(split_batches("GO\ngo\n").empty());
}

TEST(ClientBatchSplitter, GoInsideCommentsAndLiteralsDoesNotSplit) {
  std::string script =
      "/* outer /* nested */\n"
      "GO\n"
      "*/ SELECT 'it''s\n"
      "GO\n"
      "' AS text -- a ' in a line comment does not open a literal\n"
      "GO\n"
      "SELECT [odd\n"
      "go\n"
      "name] FROM t\n";
  auto batches = split_batches(script);
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[0].text,
            "/* outer /* nested */\nGO\n*/ SELECT 'it''s\nGO\n' AS text -- a ' in a line comment "
            "does not open a literal\n");
  EXPECT_EQ(batches[1].text, "SELECT [odd\ngo\nname] FROM t\n");
  EXPECT_EQ(batches[1].first_line, 7);
}

}  // namespace
}  // namespace standin::client
