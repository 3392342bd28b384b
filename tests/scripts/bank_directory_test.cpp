// The three bank directory scripts loaded on the stand-in server, checked
// against the Bundesbank file they were generated from.
#if SQLUPDATE_SCRIPTS_ON_STANDIN
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/bank_record.h"
#include "common/text_file.h"
#include "script_session.h"
#include "table_layouts.h"

namespace {

struct SourceFacts {
  long long records = 0;
  long long owners = 0;                 // records with feature 1
  std::map<std::string, int> branches;  // bank code -> records
  std::vector<tools::BankRecord> with_umlaut;
};

SourceFacts read_source() {
  SourceFacts facts;
  std::string content = tools::read_file(SQLUPDATE_BLZ_FILE);
  for (std::string_view line : tools::split_lines(content)) {
    if (line.empty()) continue;
    tools::BankRecord record = tools::parse_bank_record(line);
    ++facts.records;
    if (record.feature == '1') ++facts.owners;
    ++facts.branches[record.bank_code];
    if (facts.with_umlaut.size() < 3 && record.place.find("\u00fc") != std::string::npos) {
      facts.with_umlaut.push_back(record);
    }
  }
  return facts;
}

class BankDirectory : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    facts_ = new SourceFacts(read_source());
    db_ = new ScriptSession();
    db_->ok(layouts::kBankDirectory);
    for (const char* script : {"cmdD_blz1", "cmdD_blz2", "cmdD_blz3"}) db_->load(script);
  }
  static void TearDownTestSuite() {
    delete db_;
    delete facts_;
  }
  static SourceFacts* facts_;
  static ScriptSession* db_;
};

SourceFacts* BankDirectory::facts_ = nullptr;
ScriptSession* BankDirectory::db_ = nullptr;

TEST_F(BankDirectory, HoldsOneRowPerRecordAndOneCodePerOwner) {
  EXPECT_EQ(db_->count("SELECT COUNT(*) FROM D_blz"), facts_->records);
  EXPECT_EQ(db_->count("SELECT COUNT(DISTINCT BLZ) FROM D_blz"), facts_->owners);
  EXPECT_EQ(db_->count("SELECT COUNT(*) FROM D_blz WHERE Merkmal=1"), facts_->owners);
  EXPECT_EQ(db_->count("SELECT COUNT(*) FROM D_blz WHERE LfdNr<>1"), 0);
}

TEST_F(BankDirectory, ABankCodeWithBranchesHasSeveralRows) {
  auto most = std::max_element(facts_->branches.begin(), facts_->branches.end(),
                               [](auto& a, auto& b) { return a.second < b.second; });
  ASSERT_GT(most->second, 1);
  EXPECT_EQ(db_->count("SELECT COUNT(*) FROM D_blz WHERE BLZ='" + most->first + "'"), most->second);
  EXPECT_EQ(db_->count("SELECT COUNT(DISTINCT ID) FROM D_blz WHERE BLZ='" + most->first + "'"), most->second);
}

TEST_F(BankDirectory, GermanLettersSurviveTheRoundTrip) {
  ASSERT_FALSE(facts_->with_umlaut.empty());
  for (const tools::BankRecord& record : facts_->with_umlaut) {
    EXPECT_EQ(db_->count("SELECT COUNT(*) FROM D_blz WHERE BLZ='" + record.bank_code + "' AND ORT='" + record.place +
                         "' AND Datensatznummer='" + record.record_number + "'"),
              1)
        << record.place;
  }
}

TEST_F(BankDirectory, TheScriptsSplitTheFileInThreeNearlyEqualParts) {
  size_t total = 0, smallest = SIZE_MAX, largest = 0;
  for (const char* name : {"cmdD_blz1", "cmdD_blz2", "cmdD_blz3"}) {
    size_t n = scripts::find(name)->line_count;
    total += n;
    smallest = std::min(smallest, n);
    largest = std::max(largest, n);
  }
  EXPECT_EQ(static_cast<long long>(total), facts_->records);
  EXPECT_LE(largest - smallest, 1u);
}

}  // namespace
#endif
