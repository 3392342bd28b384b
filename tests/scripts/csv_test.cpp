// The CSV lists that the data scripts are generated from.
#include "common/csv.h"

#include <gtest/gtest.h>

namespace {

TEST(Csv, ReadsQuotedFieldsAndSkipsComments) {
  tools::CsvTable table = tools::CsvTable::parse(
      "# a comment, with a comma\n"
      "Name,Nutzungsdauer,Fundstelle\n"
      "\"Computer, Personal-\",3,6.14.3.2\n"
      "\"Rock'n'Roll \"\"Boogie\"\"\",,\r\n"
      "\n",
      "test.csv");
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table.at(0, "Name"), "Computer, Personal-");
  EXPECT_EQ(table.at(0, "Fundstelle"), "6.14.3.2");
  EXPECT_EQ(table.at(1, "Name"), "Rock'n'Roll \"Boogie\"");
  EXPECT_EQ(table.at(1, "Nutzungsdauer"), "");
  EXPECT_THROW(table.column("Missing"), std::runtime_error);
}

TEST(Csv, NamesTheLineOfARowThatDoesNotFit) {
  try {
    tools::CsvTable::parse("A,B\n1,2\n# note\n1,2,3\n", "lists.csv");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "lists.csv:4: 3 fields, expected 2");
  }
  EXPECT_THROW(tools::CsvTable::parse("A\n\"open\n", "x.csv"), std::runtime_error);
  EXPECT_THROW(tools::CsvTable::parse("# only a comment\n", "x.csv"), std::runtime_error);
}

}  // namespace
