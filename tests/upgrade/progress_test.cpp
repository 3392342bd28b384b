#include <gtest/gtest.h>

#include "support/recording_ui.h"
#include "upgrade/progress.h"

namespace {

TEST(Progress, SeventyOneStepsShowTheFixedSequenceThenStayFull) {
  testing_support::RecordingUi ui;
  upgrade::Progress progress(ui);
  progress.start();
  for (int i = 0; i < 71; ++i) progress.step();
  std::vector<int> expected = {1,  8,  12, 15, 19, 23, 27, 31, 35, 38, 42, 46, 50,
                               54, 58, 62, 65, 69, 73, 77, 81, 85, 88, 92, 96, 100};
  expected.resize(72, 100);
  EXPECT_EQ(ui.progress, expected);
  EXPECT_EQ(progress.counter(), 72);
}

TEST(Progress, StartResetsTheCounterForTheNextTenant) {
  testing_support::RecordingUi ui;
  upgrade::Progress progress(ui);
  progress.start();
  progress.step();
  progress.start();
  progress.step();
  EXPECT_EQ(ui.progress, (std::vector<int>{1, 8, 1, 8}));
}

}  // namespace
