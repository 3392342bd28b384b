#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_shell_links.h"
#include "support/recording_ui.h"
#include "upgrade/finishing_pass.h"

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::RecordingShellLinks;
using upgrade::DialogKind;
using Refresh = RecordingShellLinks::Refresh;

namespace {

const std::string kCommonDesktop = "C:\\Users\\Public\\Desktop";
const std::string kDesktop = "C:\\Users\\kasse\\Desktop";
const std::string kCommonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::string kStartMenu = "C:\\Users\\kasse\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";

class LegacyShortcutsTest : public ::testing::Test {
 protected:
  void refresh() { upgrade::UpdateLegacyShortcuts(&shell, ui); }
  std::vector<std::string> dialog_texts() const {
    std::vector<std::string> texts;
    for (const auto& dialog : ui.dialogs) texts.push_back(dialog.text);
    return texts;
  }

  RecordingShellLinks shell;
  testing_support::RecordingUi ui;
};

TEST_F(LegacyShortcutsTest, MakesThirtyFourAttemptsInTheOrderOfTheGroups) {
  refresh();
  const auto& made = shell.refreshes;
  ASSERT_EQ(made.size(), 34u);
  // The first group: both desktops, then both start menus.
  EXPECT_THAT(std::vector<Refresh>(made.begin(), made.begin() + 4),
              ElementsAre(Refresh{kCommonDesktop + "\\Zennora 2013.lnk", "Zennora 2013"},
                          Refresh{kDesktop + "\\Zennora 2013.lnk", "Zennora 2013"},
                          Refresh{kCommonStartMenu + "\\Programs\\Corvena\\Zennora\\Zennora 2013.lnk", "Zennora 2013"},
                          Refresh{kStartMenu + "\\Programs\\Corvena\\Zennora\\Zennora 2013.lnk", "Zennora 2013"}));
  // The 2013 shortcuts of the fifth group get the 2014 description.
  EXPECT_EQ(made[16],
            (Refresh{kCommonDesktop + "\\Corvena verdalis tessaro 2013.lnk", "Corvena verdalis tessaro 2014"}));
  EXPECT_EQ(made[19], (Refresh{kStartMenu + "\\Programs\\Corvena\\Corvena verdalis\\Corvena verdalis tessaro 2013.lnk",
                               "Corvena verdalis tessaro 2014"}));
  // The last group tries its file without extension on both desktops
  // between its desktop and its start-menu files.
  EXPECT_THAT(
      std::vector<Refresh>(made.begin() + 28, made.end()),
      ElementsAre(Refresh{kCommonDesktop + "\\ZennoraNivo 2014.lnk", "ZennoraNivo 2014"},
                  Refresh{kDesktop + "\\ZennoraNivo 2014.lnk", "ZennoraNivo 2014"},
                  Refresh{kCommonDesktop + "\\ZennoraNivo 2014", "ZennoraNivo 2014"},
                  Refresh{kDesktop + "\\ZennoraNivo 2014", "ZennoraNivo 2014"},
                  Refresh{kCommonStartMenu + "\\Programs\\Corvena\\Zennora\\ZennoraNivo 2014.lnk", "ZennoraNivo 2014"},
                  Refresh{kStartMenu + "\\Programs\\Corvena\\Zennora\\ZennoraNivo 2014.lnk", "ZennoraNivo 2014"}));
}

TEST_F(LegacyShortcutsTest, EveryGroupKeepsItsDescriptionAndItsFolderOrder) {
  refresh();
  const std::vector<std::string> descriptions = {"Zennora 2013",
                                                 "Zennora Nivo 2013",
                                                 "Corvena verdalis tessaro",
                                                 "Corvena verdalis",
                                                 "Corvena verdalis tessaro 2014",
                                                 "Corvena verdalis 2014",
                                                 "Zennora 2014"};
  ASSERT_EQ(shell.refreshes.size(), 34u);
  const std::string folders[] = {kCommonDesktop + "\\", kDesktop + "\\", kCommonStartMenu + "\\Programs\\Corvena\\",
                                 kStartMenu + "\\Programs\\Corvena\\"};
  for (size_t group = 0; group < descriptions.size(); ++group) {
    for (size_t attempt = 0; attempt < 4; ++attempt) {
      const Refresh& made = shell.refreshes[group * 4 + attempt];
      SCOPED_TRACE(made.path);
      EXPECT_EQ(made.description, descriptions[group]);
      EXPECT_EQ(made.path.rfind(folders[attempt], 0), 0u);
      EXPECT_TRUE(made.path.ends_with(".lnk"));
    }
  }
}

TEST_F(LegacyShortcutsTest, ShortcutsThatAreMissingAreSilentEverywhere) {
  // Every path is missing but one of the last group, whose folder is.
  shell.faults[kDesktop + "\\ZennoraNivo 2014"] = {0x80070003ul, "Der Pfad wurde nicht gefunden."};
  refresh();
  EXPECT_EQ(shell.refreshes.size(), 34u);
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST_F(LegacyShortcutsTest, ShortcutsThatRefreshShowNothing) {
  for (const std::string& desktop : {kCommonDesktop, kDesktop}) {
    shell.shortcuts.insert(desktop + "\\ZennoraNivo 2014.lnk");
    shell.shortcuts.insert(desktop + "\\ZennoraNivo 2014");
  }
  refresh();
  EXPECT_EQ(shell.refreshes.size(), 34u);
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST_F(LegacyShortcutsTest, FailuresOfTheLastGroupsDesktopAttemptsAreShownNumbered) {
  shell.faults[kCommonDesktop + "\\ZennoraNivo 2014.lnk"] = {0x80004005ul, " erster"};
  shell.faults[kDesktop + "\\ZennoraNivo 2014.lnk"] = {0x80070005ul, " zweiter"};
  shell.faults[kCommonDesktop + "\\ZennoraNivo 2014"] = {0x80070020ul, " dritter"};
  shell.faults[kDesktop + "\\ZennoraNivo 2014"] = {0x8000FFFFul, " vierter"};
  // The start-menu file of that group fails silently.
  shell.faults[kCommonStartMenu + "\\Programs\\Corvena\\Zennora\\ZennoraNivo 2014.lnk"] = {0x80004005ul, " fünfter"};
  refresh();
  EXPECT_THAT(dialog_texts(), ElementsAre("1 erster", "2 zweiter", "3 dritter", "4 vierter"));
  for (const auto& dialog : ui.dialogs) EXPECT_EQ(dialog.kind, DialogKind::Plain);
}

TEST_F(LegacyShortcutsTest, NumberingFollowsTheAttemptNotTheFailure) {
  // Only the third and the fourth desktop attempts fail: they still show 3
  // and 4, while the first two, being missing, show nothing.
  shell.faults[kCommonDesktop + "\\ZennoraNivo 2014"] = {0x80070005ul, "Zugriff verweigert"};
  shell.faults[kDesktop + "\\ZennoraNivo 2014"] = {0x80070005ul, "Zugriff verweigert"};
  refresh();
  EXPECT_THAT(dialog_texts(), ElementsAre("3Zugriff verweigert", "4Zugriff verweigert"));
}

TEST_F(LegacyShortcutsTest, FaultsOfEveryOtherGroupAreSilentAndEndOnlyTheirAttempt) {
  shell.faults[kCommonDesktop + "\\Zennora 2013.lnk"] = {0x80070005ul, "Zugriff verweigert"};
  shell.faults[kStartMenu + "\\Programs\\Corvena\\Zennora\\Zennora 2014.lnk"] = {0x80004005ul, "Unbekannter Fehler"};
  shell.throwing.insert(kDesktop + "\\Corvena verdalis.lnk");
  refresh();
  EXPECT_EQ(shell.refreshes.size(), 34u);
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST_F(LegacyShortcutsTest, AFolderWithoutPathIsTriedWithTheBareFileName) {
  shell.folders.erase(platform::csidl::kDesktop);
  refresh();
  ASSERT_EQ(shell.refreshes.size(), 34u);
  EXPECT_EQ(shell.refreshes[1].path, "\\Zennora 2013.lnk");
  EXPECT_EQ(shell.refreshes[31].path, "\\ZennoraNivo 2014");
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST(LegacyShortcutsWithoutShell, TouchNothing) {
  testing_support::RecordingUi ui;
  upgrade::UpdateLegacyShortcuts(nullptr, ui);
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST(ShellFault, OnlyAMissingFileOrFolderCountsAsMissing) {
  EXPECT_TRUE((platform::ShellFault{0x80070002ul, ""}.file_missing()));
  EXPECT_TRUE((platform::ShellFault{0x80070003ul, ""}.file_missing()));
  // The bare Win32 codes are not what the shell returns.
  EXPECT_FALSE((platform::ShellFault{2ul, ""}.file_missing()));
  EXPECT_FALSE((platform::ShellFault{0x80070005ul, ""}.file_missing()));
  EXPECT_FALSE((platform::ShellFault{0x80004005ul, ""}.file_missing()));
}

}  // namespace
