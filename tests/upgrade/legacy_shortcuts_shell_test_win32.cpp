// The shortcut refresh against the shell of the system the tests run on:
// real .lnk files in the four special folders, written before the refresh
// and read back after it through the shell's own link object (the wide
// interface, so that the test does not share the ANSI path it checks).
#include <windows.h>
// after windows.h
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell_links.h"
#include "support/recording_ui.h"
#include "upgrade/finishing_pass.h"

namespace fs = std::filesystem;
using testing::AnyOf;
using testing::IsEmpty;
using testing::StartsWith;

namespace {

static_assert(platform::csidl::kDesktop == CSIDL_DESKTOP);
static_assert(platform::csidl::kStartMenu == CSIDL_STARTMENU);
static_assert(platform::csidl::kCommonStartMenu == CSIDL_COMMON_STARTMENU);
static_assert(platform::csidl::kCommonDesktopDirectory == CSIDL_COMMON_DESKTOPDIRECTORY);

constexpr int kFolders[] = {platform::csidl::kCommonDesktopDirectory, platform::csidl::kDesktop,
                            platform::csidl::kCommonStartMenu, platform::csidl::kStartMenu};

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using Com = std::unique_ptr<Interface, Release>;

fs::path special_folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? fs::path(path) : fs::path();
}

struct LinkObject {
  Com<IShellLinkW> link;
  Com<IPersistFile> file;
};

LinkObject new_link_object() {
  LinkObject object;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return object;
  object.link.reset(link);
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) object.file.reset(file);
  return object;
}

HRESULT write_shortcut(const fs::path& path, const fs::path& target, const std::wstring& description) {
  LinkObject object = new_link_object();
  if (!object.file) return E_FAIL;
  HRESULT result = object.link->SetPath(target.c_str());
  if (SUCCEEDED(result)) result = object.link->SetDescription(description.c_str());
  if (SUCCEEDED(result)) result = object.file->Save(path.c_str(), TRUE);
  return result;
}

struct Shortcut {
  std::wstring description;
  fs::path target;
};

std::optional<Shortcut> read_shortcut(const fs::path& path) {
  LinkObject object = new_link_object();
  if (!object.file || FAILED(object.file->Load(path.c_str(), STGM_READ))) return std::nullopt;
  wchar_t description[INFOTIPSIZE] = {};
  wchar_t target[MAX_PATH] = {};
  if (FAILED(object.link->GetDescription(description, INFOTIPSIZE))) return std::nullopt;
  if (FAILED(object.link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  return Shortcut{description, fs::path(target)};
}

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class LegacyShortcutsShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    com_initialised_ = true;
    const fs::path scratch =
        fs::temp_directory_path() / ("sqlupdate-shortcuts-" + std::to_string(GetCurrentProcessId()));
    make_directories(scratch);
    target_ = scratch / "Verein.exe";
    std::ofstream(target_) << "MZ";
    made_files_.push_back(target_);
  }

  void TearDown() override {
    std::error_code ignored;
    for (auto file = made_files_.rbegin(); file != made_files_.rend(); ++file) fs::remove(*file, ignored);
    for (auto folder = made_folders_.rbegin(); folder != made_folders_.rend(); ++folder) fs::remove(*folder, ignored);
    if (com_initialised_) CoUninitialize();
  }

  // Creates the folders of `path` that are missing and remembers them, so
  // that the test leaves the folders it found as they were.
  void make_directories(const fs::path& path) {
    std::vector<fs::path> missing;
    for (fs::path folder = path; !folder.empty() && !fs::exists(folder); folder = folder.parent_path())
      missing.push_back(folder);
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
      ASSERT_TRUE(fs::create_directory(*folder)) << folder->string();
      made_folders_.push_back(*folder);
    }
  }

  // A shortcut to the test's target at `relative` below the special folder.
  fs::path place_shortcut(int csidl, const std::wstring& relative, const std::wstring& description) {
    const fs::path path = special_folder(csidl).native() + relative;
    make_directories(path.parent_path());
    // Never overwrite a shortcut the test did not make.
    EXPECT_FALSE(fs::exists(path)) << path.string();
    EXPECT_TRUE(SUCCEEDED(write_shortcut(path, target_, description))) << path.string();
    made_files_.push_back(path);
    return path;
  }

  fs::path place_file(int csidl, const std::wstring& relative, const std::string& contents) {
    const fs::path path = special_folder(csidl).native() + relative;
    EXPECT_FALSE(fs::exists(path)) << path.string();
    std::ofstream(path, std::ios::binary) << contents;
    made_files_.push_back(path);
    return path;
  }

  void remember_file(const fs::path& path) { made_files_.push_back(path); }

  void refresh() { upgrade::UpdateLegacyShortcuts(platform::system_shell_links(), ui); }

  fs::path target_;
  testing_support::RecordingUi ui;

 private:
  bool com_initialised_ = false;
  std::vector<fs::path> made_files_;
  std::vector<fs::path> made_folders_;
};

TEST_F(LegacyShortcutsShellTest, TheFourFoldersHaveAPathWithoutTrailingBackslash) {
  platform::ShellLinks* shell = platform::system_shell_links();
  ASSERT_NE(shell, nullptr);
  for (int csidl : kFolders) {
    SCOPED_TRACE(csidl);
    const std::string path = shell->special_folder_path(csidl);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '\\');
    EXPECT_EQ(path, utf8(special_folder(csidl)));
  }
}

TEST_F(LegacyShortcutsShellTest, TheOnlyShortcutOnTheUsersDesktopIsRewrittenAndNothingIsShown) {
  const fs::path path = place_shortcut(CSIDL_DESKTOP, L"\\Corvena verdalis 2013.lnk", L"Corvena verdalis 2013");
  refresh();
  std::optional<Shortcut> shortcut = read_shortcut(path);
  ASSERT_TRUE(shortcut);
  EXPECT_EQ(shortcut->description, L"Corvena verdalis 2014");
  EXPECT_EQ(shortcut->target, target_);
  // The missing shortcuts of the last group are silent as well.
  EXPECT_THAT(ui.events, IsEmpty());
}

TEST_F(LegacyShortcutsShellTest, AShortcutInBothStartMenusIsRewrittenInBoth) {
  const std::wstring file = L"\\Programs\\Corvena\\Zennora\\Zennora 2014.lnk";
  const fs::path common = place_shortcut(CSIDL_COMMON_STARTMENU, file, L"Zennora");
  const fs::path own = place_shortcut(CSIDL_STARTMENU, file, L"Zennora");
  refresh();
  for (const fs::path& path : {common, own}) {
    std::optional<Shortcut> shortcut = read_shortcut(path);
    ASSERT_TRUE(shortcut) << path.string();
    EXPECT_EQ(shortcut->description, L"Zennora 2014");
  }
}

TEST_F(LegacyShortcutsShellTest, AShortcutThatAlreadyHasItsDescriptionIsSavedAgain) {
  const fs::path path = place_shortcut(CSIDL_COMMON_DESKTOPDIRECTORY, L"\\Zennora 2013.lnk", L"Zennora 2013");
  // A write time far in the past, so that the save shows whatever the clock.
  const fs::file_time_type planted = fs::last_write_time(path) - std::chrono::hours(24 * 365 * 10);
  fs::last_write_time(path, planted);
  refresh();
  EXPECT_NE(fs::last_write_time(path), planted);
  std::optional<Shortcut> shortcut = read_shortcut(path);
  ASSERT_TRUE(shortcut);
  EXPECT_EQ(shortcut->description, L"Zennora 2013");
}

TEST_F(LegacyShortcutsShellTest, AFileTheShellCannotLoadIsShownForTheLastGroupAndLeftAsItWas) {
  const fs::path path = place_file(CSIDL_COMMON_DESKTOPDIRECTORY, L"\\ZennoraNivo 2014.lnk", "keine Verknüpfung");
  refresh();
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].kind, upgrade::DialogKind::Plain);
  EXPECT_THAT(ui.dialogs[0].text, StartsWith("1"));
  EXPECT_GT(ui.dialogs[0].text.size(), 1u);
  std::ifstream contents(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(contents), {}), "keine Verknüpfung");
}

TEST_F(LegacyShortcutsShellTest, AMissingFileOrFolderIsAFaultOfItsOwnWithTheSystemsText) {
  platform::ShellLinks* shell = platform::system_shell_links();
  const std::string desktop = shell->special_folder_path(CSIDL_DESKTOP);
  for (const std::string& path : {desktop + "\\Corvena verdalis 1999.lnk", desktop + "\\1999\\Corvena verdalis.lnk"}) {
    SCOPED_TRACE(path);
    std::optional<platform::ShellFault> fault = shell->refresh_shortcut(path, "Corvena verdalis");
    ASSERT_TRUE(fault);
    EXPECT_TRUE(fault->file_missing()) << std::hex << fault->code;
    ASSERT_FALSE(fault->text.empty());
    EXPECT_EQ(fault->text.find_first_of("\r\n"), std::string::npos) << fault->text;
    EXPECT_NE(fault->text.back(), ' ');
    EXPECT_NE(fault->text.rfind("0x", 0), 0u) << "no system message: " << fault->text;
  }
}

// What the shell makes of a moved target depends on the system: Windows
// looks for it and finds it beside its old place, Wine keeps the stored
// path. Both report success, so the shortcut is saved with its description.
TEST_F(LegacyShortcutsShellTest, AShortcutWhoseTargetMovedIsStillDescribed) {
  const fs::path path = place_shortcut(CSIDL_DESKTOP, L"\\Zennora Nivo 2013.lnk", L"alt");
  const fs::path moved = target_.parent_path() / "Verein-neu.exe";
  fs::rename(target_, moved);
  remember_file(moved);
  refresh();
  std::optional<Shortcut> shortcut = read_shortcut(path);
  ASSERT_TRUE(shortcut);
  EXPECT_EQ(shortcut->description, L"Zennora Nivo 2013");
  EXPECT_THAT(shortcut->target, AnyOf(target_, moved));
  EXPECT_THAT(ui.events, IsEmpty());
}

}  // namespace
