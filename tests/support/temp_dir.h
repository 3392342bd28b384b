// A fresh directory below the system's temporary directory, removed again
// with everything in it.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace testing_support {

class TempDir {
 public:
  // A name nobody has taken: create_directory fails on an existing one.
  TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do path_ = base / ("sqlupdate-" + std::to_string(random()));
    while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
