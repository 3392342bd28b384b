// The fixture of the data directory's tests: a fresh directory per test,
// and short ways to read and write its files as bytes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "standin/standin.h"
#include "storage/data_directory.h"
#include "support/temp_dir.h"

namespace standin::storage {

namespace fs = std::filesystem;

using Snapshots = std::vector<std::pair<std::string, std::string>>;

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class DataDirectoryTest : public ::testing::Test {
 protected:
  std::unique_ptr<DataDirectory> open() { return DataDirectory::open(dir_); }

  // The only file of a kind; the tests hold one checkpoint at a time.
  fs::path only_file(std::string_view suffix) {
    fs::path found;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      std::string name = entry.path().filename().string();
      if (name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
        EXPECT_TRUE(found.empty()) << "two files ending in " << suffix;
        found = entry.path();
      }
    }
    EXPECT_FALSE(found.empty()) << "no file ending in " << suffix;
    return found;
  }

  testing_support::TempDir root_;
  fs::path dir_ = root_.path() / "data";
};

}  // namespace standin::storage
