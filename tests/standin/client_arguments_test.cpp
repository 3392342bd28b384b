#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/arguments.h"

namespace standin::client {
namespace {

std::optional<Arguments> parse(std::vector<std::string> args, std::string* problem = nullptr) {
  std::string ignored;
  return parse_arguments(args, problem ? problem : &ignored);
}

TEST(ClientArguments, InputsKeepTheirOrderAndOptionsTheirValues) {
  auto args = parse({"--data", "/tmp/d", "-Q", "SELECT 1", "-d", "Dravok01", "-i", "a.sql", "-b", "-Q", "-i"});
  ASSERT_TRUE(args);
  EXPECT_EQ(args->data_directory, "/tmp/d");
  EXPECT_EQ(args->database, "Dravok01");
  EXPECT_TRUE(args->stop_on_error);
  ASSERT_EQ(args->inputs.size(), 3u);
  EXPECT_EQ(args->inputs[0].kind, Input::Kind::Query);
  EXPECT_EQ(args->inputs[0].text, "SELECT 1");
  EXPECT_EQ(args->inputs[1].kind, Input::Kind::File);
  EXPECT_EQ(args->inputs[1].text, "a.sql");
  EXPECT_EQ(args->inputs[2].text, "-i");  // a value that looks like an option

  auto defaults = parse({"--data=/x", "-Q", "SELECT 1"});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->data_directory, "/x");
  EXPECT_EQ(defaults->database, "master");
  EXPECT_FALSE(defaults->stop_on_error);
}

TEST(ClientArguments, UnusableArgumentsAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> refused = {
      {},                                 // nothing at all
      {"-Q", "SELECT 1"},                 // no data directory
      {"--data", "/x"},                   // nothing to run
      {"--data", "/x", "-Q"},             // missing value
      {"--data", "/x", "-Q", "1", "-z"},  // unknown option
      {"--data=", "-Q", "1"},             // empty directory
  };
  for (const auto& args : refused) {
    std::string problem;
    EXPECT_FALSE(parse(args, &problem));
    EXPECT_FALSE(problem.empty());
  }
  auto help = parse({"--help"});
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->help);
}

}  // namespace
}  // namespace standin::client
