// Stage I as approved transcripts: every statement with channel, guard and
// outcome, and every progress step at its place.
#include "stage1_transcript.h"
#include "stage1_fixture.h"

namespace stage1_testing {
namespace {

TEST_F(StageOneTest, TenantWithNothingOfTheNewSchema) {
  run_stage_one();
  EXPECT_EQ(progress.counter(), 1 + upgrade::kStageOneSteps);
  EXPECT_TRUE(feedback.reports.empty());
  EXPECT_TRUE(matches_approved("stage1_missing_everything.txt", format_transcript(log)));
}

TEST_F(StageOneTest, TenantWithEverythingInPlace) {
  catalogue.present = [](const std::string&) { return true; };
  run_stage_one();
  EXPECT_EQ(progress.counter(), 1 + upgrade::kStageOneSteps);
  EXPECT_TRUE(matches_approved("stage1_everything_in_place.txt", format_transcript(log)));
}

}  // namespace
}  // namespace stage1_testing
