// The syntax check of long command texts reads data scripts' inserts without
// building trees. It must come to the parser's verdict on every text: the
// same error (number, line, message) where the parser fails, none where it
// does not. A text that runs, or does not, depends on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/parser.h"

namespace standin {
namespace {

std::string verdict(const Error& e) {
  return "Msg " + std::to_string(e.number) + ", line " + std::to_string(e.line) + ": " + e.message;
}

std::string parser_verdict(std::string_view text) {
  StatementReader reader(text);
  Error error;
  for (StatementPtr s;;) {
    if (!reader.next(&s, &error)) return verdict(error);
    if (!s) return "ok";
  }
}

std::string check_verdict(std::string_view text) {
  StatementReader reader(text);
  Error error;
  StatementPtr outline;
  for (bool more = true; more;)
    if (!reader.check_next(&more, &outline, &error)) return verdict(error);
  return "ok";
}

// Texts of the shapes the check reads itself, and of shapes next to them
// that it must leave to the parser.
const std::vector<std::string> kTexts = {
    "INSERT INTO t VALUES (1, 'a', N'b', NULL, -2, 1.5, 1e3, -0.5)",
    "insert t (a, [b c]) values (1, 2), (3, 4);",
    "INSERT INTO db.dbo.t SELECT a=1, [b]=N'x', c=NULL INSERT INTO t VALUES (2)",
    "INSERT INTO F5SKR49 Select BUCHJAHR=2015, KONTONR=10, BEZEICHG='Konzessionen', MOUMSHM\xc3\x84RZ=null\r\n",
    "INSERT INTO a..t VALUES (1)",
    "INSERT INTO t VALUES (1 + 2) INSERT INTO t VALUES (1) SELECT 1",
    "INSERT INTO t SELECT 1 AS a; INSERT INTO t SELECT a = 1 FROM u",
    "INSERT INTO t VALUES (12345678901234567890123)",
    "INSERT INTO t VALUES (123456789012345678901234567890123456789012)",
    "INSERT INTO t VALUES (1",
    "INSERT INTO t VALUES (1,)",
    "INSERT INTO t VALUES ()",
    "INSERT INTO t VALUES (1) garbage here",
    "INSERT INTO t VALUES ('unterminated)",
    "INSERT INTO t SELECT a=1, b=",
    "INSERT INTO t SELECT TOP = 1",
    "INSERT INTO t SELECT DISTINCT = 1, ALL = 2",
    "INSERT INTO a.b.c.d.e VALUES (1)",
    "INSERT INTO t VALUES (1) (2)",
    "INSERT INTO t VALUES (-'x'), (-NULL)",
    "INSERT INTO t VALUES (1);\nINSERT INTO t VALUES (2,,3)",
    "INSERT INTO t SELECT a=1 x",
    "INSERT INTO t VALUES (NULL NULL)",
    "INSERT INTO t (SELECT 1)",
    "INSERT INTO t (a, SELECT) VALUES (1, 2)",
    "INSERT INTO t DEFAULT VALUES; INSERT t VALUES (0x0A)",
    "CREATE VIEW v AS SELECT 1 AS a",
    "INSERT INTO t VALUES (1) CREATE VIEW v AS SELECT 1 AS a",
};

TEST(StatementCheck, ComesToTheParsersVerdict) {
  for (const std::string& text : kTexts) EXPECT_EQ(check_verdict(text), parser_verdict(text)) << text;
}

// Every prefix of the texts, and every text with one character left out:
// cut literals, lists and names in all places.
TEST(StatementCheck, ComesToTheParsersVerdictOnEveryCutAndGap) {
  for (const std::string& text : kTexts) {
    for (size_t i = 0; i < text.size(); ++i) {
      const std::string prefix = text.substr(0, i);
      const std::string gap = text.substr(0, i) + text.substr(i + 1);
      ASSERT_EQ(check_verdict(prefix), parser_verdict(prefix)) << prefix;
      ASSERT_EQ(check_verdict(gap), parser_verdict(gap)) << gap;
    }
  }
}

}  // namespace
}  // namespace standin
