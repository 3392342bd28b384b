// UpdateLegacyShortcuts: the shortcuts that earlier releases of the program
// and of its sibling product left on the desktops and in the start menus are
// resolved again by the shell and get the description of their group. No
// shortcut is created, moved or deleted.
//
// Each group has a desktop file, tried on the desktop of all users and then
// on the current user's, and a start-menu file, tried in the start menu of
// all users and then in the current user's: 34 attempts in all, one after
// another in the order of the table below. A failure ends only its own
// attempt and is silent, with one exception: the four desktop attempts of
// the last group show theirs in a plain message box, numbered "1" to "4" in
// the order they are made. A shortcut that is simply not there is silent
// even there; otherwise those four boxes would greet the user after every
// run on nearly every computer.
#include <optional>
#include <string>

#include "platform/shell_links.h"
#include "upgrade/finishing_pass.h"

namespace upgrade {
namespace {

struct ShortcutGroup {
  const char* description;
  // The desktop files, each tried in both desktops before the next; the
  // second one only in the last group.
  const char* desktop_files[2];
  const char* start_menu_file;
  // Failures of the desktop attempts are shown, numbered.
  bool desktop_failures_shown;
};

// The file names are appended to the folder path as they stand, each
// beginning with its backslash. The 2013 shortcuts of groups 5 and 6 get the
// description of the 2014 release.
const ShortcutGroup kShortcutGroups[] = {
    {"Zennora 2013", {"\\Zennora 2013.lnk"}, "\\Programs\\Corvena\\Zennora\\Zennora 2013.lnk", false},
    {"Zennora Nivo 2013", {"\\Zennora Nivo 2013.lnk"}, "\\Programs\\Corvena\\Zennora\\Zennora Nivo 2013.lnk", false},
    {"Corvena verdalis tessaro",
     {"\\Corvena verdalis tessaro.lnk"},
     "\\Programs\\Corvena\\Corvena verdalis\\Corvena verdalis tessaro.lnk",
     false},
    {"Corvena verdalis",
     {"\\Corvena verdalis.lnk"},
     "\\Programs\\Corvena\\Corvena verdalis\\Corvena verdalis.lnk",
     false},
    {"Corvena verdalis tessaro 2014",
     {"\\Corvena verdalis tessaro 2013.lnk"},
     "\\Programs\\Corvena\\Corvena verdalis\\Corvena verdalis tessaro 2013.lnk",
     false},
    {"Corvena verdalis 2014",
     {"\\Corvena verdalis 2013.lnk"},
     "\\Programs\\Corvena\\Corvena verdalis\\Corvena verdalis 2013.lnk",
     false},
    {"Zennora 2014", {"\\Zennora 2014.lnk"}, "\\Programs\\Corvena\\Zennora\\Zennora 2014.lnk", false},
    // The second desktop file has no extension and is tried as it stands.
    {"ZennoraNivo 2014",
     {"\\ZennoraNivo 2014.lnk", "\\ZennoraNivo 2014"},
     "\\Programs\\Corvena\\Zennora\\ZennoraNivo 2014.lnk",
     true},
};

constexpr int kDesktops[] = {platform::csidl::kCommonDesktopDirectory, platform::csidl::kDesktop};
constexpr int kStartMenus[] = {platform::csidl::kCommonStartMenu, platform::csidl::kStartMenu};

// One attempt: the fault of the refresh, nothing when it went through. An
// exception (there is no memory left for a path) ends the attempt like a
// fault that nobody is shown.
std::optional<platform::ShellFault> refresh(platform::ShellLinks& shell, int folder, const char* file,
                                            const char* description) {
  try {
    return shell.refresh_shortcut(shell.special_folder_path(folder) + file, description);
  } catch (...) {
    return std::nullopt;
  }
}

// The desktop attempts of a group whose failures are shown; `number` counts
// them across the group's files.
void refresh_desktop_file_showing_failures(platform::ShellLinks& shell, Ui& ui, const ShortcutGroup& group,
                                           const char* file, int& number) {
  for (int folder : kDesktops) {
    ++number;
    std::optional<platform::ShellFault> fault = refresh(shell, folder, file, group.description);
    if (!fault || fault->file_missing()) continue;
    try {
      ui.show_dialog(DialogKind::Plain, std::to_string(number) + fault->text);
    } catch (...) {
      // The message box is a courtesy; the run goes on without it.
    }
  }
}

void refresh_group(platform::ShellLinks& shell, Ui& ui, const ShortcutGroup& group) {
  int shown_number = 0;
  for (const char* file : group.desktop_files) {
    if (!file) continue;
    if (group.desktop_failures_shown) {
      refresh_desktop_file_showing_failures(shell, ui, group, file, shown_number);
      continue;
    }
    for (int folder : kDesktops) refresh(shell, folder, file, group.description);
  }
  for (int folder : kStartMenus) refresh(shell, folder, group.start_menu_file, group.description);
}

}  // namespace

void UpdateLegacyShortcuts(platform::ShellLinks* shell, Ui& ui) {
  if (!shell) return;
  for (const ShortcutGroup& group : kShortcutGroups) refresh_group(*shell, ui, group);
}

}  // namespace upgrade
