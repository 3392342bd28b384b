// The lexer's marking of reserved keywords, on which the parser decides
// whether a word after a table or expression is an alias.
#include <gtest/gtest.h>

#include "parser/lexer.h"

namespace standin {
namespace {

bool reserved(std::string_view word) {
  std::vector<Token> tokens = tokenize(word);
  return !tokens.empty() && tokens.front().reserved;
}

TEST(Lexer, MarksReservedKeywordsInAnyCase) {
  for (std::string_view word : {"ADD", "where", "While", "WHEN", "nonclustered", "Option", "Clustered", "select",
                                "FROM", "Is", "in", "TOP", "USE", "WITH", "VALUES"})
    EXPECT_TRUE(reserved(word)) << word;
}

TEST(Lexer, LeavesOtherWordsUnreserved) {
  // Neighbours of reserved words in sort order, prefixes and extensions, and
  // words that SQL Server lets a script use as names.
  for (std::string_view word : {"WHER", "WHERES", "whilE1", "A", "ADDX", "ZZZ", "_", "Kennz", "name", "Nummer",
                                "STSCHL", "TEXT", "Datum", "SCHEMA", "UPPER"})
    EXPECT_FALSE(reserved(word)) << word;
  // Quoted names and variables are never keywords.
  EXPECT_FALSE(tokenize("[WHERE]").front().reserved);
  EXPECT_FALSE(tokenize("\"SELECT\"").front().reserved);
  EXPECT_FALSE(tokenize("@from").front().reserved);
}

TEST(Lexer, ReservedWordsEndTheTableNameAsTheParserExpects) {
  std::vector<Token> tokens = tokenize("SELECT name FROM t where x=1");
  ASSERT_GE(tokens.size(), 5u);
  EXPECT_TRUE(tokens[4].reserved) << std::string(tokens[4].text);
  EXPECT_FALSE(tokens[3].reserved);
}

}  // namespace
}  // namespace standin
