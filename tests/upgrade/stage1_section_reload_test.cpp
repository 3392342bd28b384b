// The reload of the profit-and-loss sections: whole while no detail row can
// be hit, row by row when GuVKennzD holds details that the cascade of a
// DELETE would take with it.
#include <gmock/gmock.h>

#include "stage1_fixture.h"

namespace stage1_testing {
namespace {

using testing::IsEmpty;

constexpr const char* kVIIProbe = "SELECT * FROM GuVKennz WHERE RimNr='VII'";

std::vector<std::string> section_statements(const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts)
    if (t.find("GuVKennz ") != std::string::npos || t.find("GuVKennz\r") != std::string::npos ||
        t.ends_with("dbo.GuVKennz"))
      if (!t.starts_with("SELECT") && !t.starts_with("CREATE") && !t.starts_with("ALTER")) out.push_back(t);
  return out;
}

std::string insert(const char* rim, const char* kennz, const char* name) {
  return std::string("INSERT INTO GuVKennz (RimNr, Kennz, Bezeichnung)\r\nVALUES ('") + rim + "','" + kennz + "','" +
         name + "')\r\n";
}

TEST_F(StageOneTest, LoadedListIsLeftAlone) {
  catalogue.present = [](const std::string& q) { return q == kVIIProbe; };
  run_stage_one();
  EXPECT_THAT(section_statements(texts()), IsEmpty());
}

TEST_F(StageOneTest, ListWithoutVIIAndWithoutDetailsIsEmptiedAndRefilled) {
  // GuVKennzD exists but is empty.
  catalogue.present = [](const std::string& q) { return q == "SELECT * FROM sysobjects WHERE name='GuVKennzD'"; };
  run_stage_one();
  std::vector<std::string> s = section_statements(texts());
  ASSERT_EQ(s.size(), 14u);
  EXPECT_EQ(s[0], "DELETE FROM  dbo.GuVKennz");
  EXPECT_EQ(s[1], insert("I", "A", "Einnahmen"));
  EXPECT_EQ(s[4], insert("II", "B",
                         "Sonstige wirtschaftliche Gesch\xC3\xA4"
                         "ftsbetriebe"));
  EXPECT_EQ(s[12], insert("VI", "B",
                          "Gesch\xC3\xA4"
                          "ftsbetriebe Nebent\xC3\xA4tigkeiten Sport"));
  EXPECT_EQ(s[13], insert("VII", "A",
                          "Sonstige Gesch\xC3\xA4"
                          "ftsbetriebe"));
}

TEST_F(StageOneTest, ListWithDetailsIsReconciledRowByRow) {
  catalogue.present = [](const std::string& q) {
    return q == "SELECT * FROM sysobjects WHERE name='GuVKennzD'" || q == "SELECT * FROM GuVKennzD";
  };
  catalogue.rows["SELECT RimNr, Kennz, Bezeichnung FROM GuVKennz"] =
      db::Rowset{{"RimNr", "Kennz", "Bezeichnung"},
                 {{"I", "A", "Einnahmen"}, {"ii", "B", "Sonstige"}, {"IX", "A", "Alt"}, {"III", "A", "Einnahmen"}}};
  run_stage_one();
  std::vector<std::string> s = section_statements(texts());
  std::vector<std::string> expected = {
      "DELETE FROM dbo.GuVKennz WHERE RimNr='IX' AND Kennz='A'",
      insert("I", "B", "Ausgaben"),
      insert("II", "A", "Ideeller Bereich"),
      "UPDATE GuVKennz SET RimNr='II', Bezeichnung='Sonstige wirtschaftliche Gesch\u00e4ftsbetriebe' WHERE RimNr='ii' AND Kennz='B'",
      insert("III", "B", "Ausgaben"),
  };
  ASSERT_EQ(s.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(s.begin(), s.begin() + 5), expected);
  EXPECT_EQ(s.back(), insert("VII", "A",
                             "Sonstige Gesch\xC3\xA4"
                             "ftsbetriebe"));
  EXPECT_FALSE(sent("DELETE FROM  dbo.GuVKennz"));
}

TEST_F(StageOneTest, FailedDeleteStillTriesEveryInsert) {
  catalogue.refusals["DELETE FROM  dbo.GuVKennz"] = "DELETE refused";
  catalogue.refusals["VALUES ('I','A'"] = "Violation of PRIMARY KEY constraint 'PK_GuVKennz'.";
  run_stage_one();
  ASSERT_EQ(feedback.reports.size(), 2u);
  EXPECT_EQ(feedback.reports[1].text, "Violation of PRIMARY KEY constraint 'PK_GuVKennz'.");
  EXPECT_TRUE(sent(insert("VII", "A",
                          "Sonstige Gesch\xC3\xA4"
                          "ftsbetriebe")));
}

}  // namespace
}  // namespace stage1_testing
