// A shell for tests of the shortcut refresh: fixed folder paths, shortcuts
// that exist only where a test puts them, and every refresh recorded.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/shell_links.h"

namespace testing_support {

struct RecordingShellLinks final : platform::ShellLinks {
  struct Refresh {
    std::string path;
    std::string description;
    bool operator==(const Refresh&) const = default;
  };

  // A folder the shell cannot resolve is left out.
  std::map<int, std::string> folders = {
      {platform::csidl::kCommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
      {platform::csidl::kDesktop, "C:\\Users\\kasse\\Desktop"},
      {platform::csidl::kCommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
      {platform::csidl::kStartMenu, "C:\\Users\\kasse\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
  };
  // Shortcuts that load, resolve and save; every other path is missing.
  std::set<std::string> shortcuts;
  // Paths whose refresh fails with a fault of its own, or throws.
  std::map<std::string, platform::ShellFault> faults;
  std::set<std::string> throwing;

  std::vector<Refresh> refreshes;
  // Where set, each refresh is also noted here as "shortcut:" + path.
  std::vector<std::string>* events = nullptr;

  std::string special_folder_path(int csidl) override {
    auto folder = folders.find(csidl);
    return folder == folders.end() ? std::string() : folder->second;
  }

  std::optional<platform::ShellFault> refresh_shortcut(const std::string& path,
                                                       const std::string& description) override {
    refreshes.push_back({path, description});
    if (events) events->push_back("shortcut:" + path);
    if (throwing.count(path)) throw std::runtime_error("out of memory");
    if (auto fault = faults.find(path); fault != faults.end()) return fault->second;
    if (shortcuts.count(path)) return std::nullopt;
    return platform::ShellFault{0x80070002ul, "Das System kann die angegebene Datei nicht finden."};
  }
};

}  // namespace testing_support
