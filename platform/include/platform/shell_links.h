// The Windows shell as the shortcut refresh needs it: the paths of special
// folders, and shortcut (.lnk) files that are loaded, resolved, given a
// description and saved back. Failures are values; nothing here throws.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The special folders that hold shortcuts, by the shell's CSIDL numbers.
namespace csidl {
constexpr int kDesktop = 0;                  // the current user's desktop
constexpr int kStartMenu = 11;               // the current user's start menu
constexpr int kCommonStartMenu = 22;         // the start menu of all users
constexpr int kCommonDesktopDirectory = 25;  // the desktop of all users
}  // namespace csidl

// A shell or COM call that failed.
struct ShellFault {
  // The call's result code (an HRESULT).
  unsigned long code = 0;
  // The system's message for `code` in UTF-8, without trailing line end or
  // blanks; the code in hex when the system has no message for it.
  std::string text;

  // True when the file or a folder of its path is not there: the codes of
  // ERROR_FILE_NOT_FOUND and ERROR_PATH_NOT_FOUND as HRESULTs.
  bool file_missing() const { return code == 0x80070002ul || code == 0x80070003ul; }
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;

  // The path of the special folder `csidl` in UTF-8, without trailing
  // backslash; empty when the shell cannot resolve the folder.
  virtual std::string special_folder_path(int csidl) = 0;

  // Loads the shortcut at `path_utf8`, lets the shell resolve its target
  // without asking the user (updating the target when it moved), sets its
  // description and saves it in place. The first call that fails ends the
  // refresh and is returned; a shortcut that does not resolve is therefore
  // not saved. The result of the save itself is not looked at. Nothing when
  // every call before the save succeeded.
  virtual std::optional<ShellFault> refresh_shortcut(const std::string& path_utf8, const std::string& description) = 0;
};

// The system's shell, one for the program; nullptr where the system has
// none (every system but Windows).
ShellLinks* system_shell_links();

}  // namespace platform
