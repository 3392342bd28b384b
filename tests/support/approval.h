// Approval files: a test's output compared with the approved text in
// tests/approved/; a difference is written beside it as <name>.received,
// to be reviewed with diff and moved over when it is right.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::filesystem::path approved_path(const std::string& name) {
  const char* source = std::getenv("SQLUPDATE_SOURCE_DIR");
  std::filesystem::path root = source ? source : ".";
  return root / "tests" / "approved" / name;
}

inline ::testing::AssertionResult matches_approved(const std::string& name, const std::string& received) {
  std::filesystem::path path = approved_path(name);
  std::ifstream in(path, std::ios::binary);
  std::stringstream approved;
  approved << in.rdbuf();
  if (in && approved.str() == received) return ::testing::AssertionSuccess();
  std::filesystem::path out = path;
  out += ".received";
  std::ofstream(out, std::ios::binary) << received;
  return ::testing::AssertionFailure() << "differs from " << path << "; see " << out;
}

}  // namespace testing_support
