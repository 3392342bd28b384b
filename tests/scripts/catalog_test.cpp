// The embedded catalogue: lookup by name and the byte-exact form of the texts.
#include "scripts/catalog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string source_file(const std::string& relative) {
  const char* root = std::getenv("SQLUPDATE_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/" + relative, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string with_crlf(const std::string& lf_text) {
  std::string text;
  for (char c : lf_text) {
    if (c == '\n')
      text += "\r\n";
    else
      text += c;
  }
  if (text.size() >= 2 && text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

TEST(Catalog, FindsEveryScriptByItsExactName) {
  std::set<std::string_view> names;
  for (const scripts::Script& script : scripts::all()) {
    EXPECT_TRUE(names.insert(script.name).second) << "duplicate " << script.name;
    EXPECT_EQ(scripts::find(script.name), &script);
  }
  EXPECT_EQ(scripts::find("memohelp"), nullptr);  // names are case-sensitive
  EXPECT_EQ(scripts::find("NoSuchScript"), nullptr);
  EXPECT_EQ(scripts::find(""), nullptr);
}

TEST(Catalog, KindFollowsTheNamingOfTheScript) {
  for (const scripts::Script& script : scripts::all()) {
    bool command = script.name.starts_with("cmd");
    EXPECT_EQ(script.kind, command ? scripts::Kind::Command : scripts::Kind::Memo) << script.name;
  }
}

TEST(Catalog, TextsUseCrLfBetweenLinesAndCountTheirLines) {
  for (const scripts::Script& script : scripts::all()) {
    SCOPED_TRACE(std::string(script.name));
    std::string_view text = script.text;
    size_t breaks = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
        ++breaks;
      } else if (text[i] == '\r') {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
      }
    }
    EXPECT_FALSE(text.ends_with("\r\n"));
    EXPECT_EQ(script.line_count, text.empty() ? 0 : breaks + 1);
  }
}

TEST(Catalog, HandWrittenScriptsAreEmbeddedByteForByte) {
  for (const char* name : {"memoHelp", "MemoFDat", "cmdF5DATSKR49"}) {
    const scripts::Script* script = scripts::find(name);
    ASSERT_NE(script, nullptr) << name;
    EXPECT_EQ(script->text, with_crlf(source_file(std::string("scripts/sql/") + name + ".sql"))) << name;
  }
}

TEST(Catalog, TheBankDirectoryMemoIsEmpty) {
  const scripts::Script* script = scripts::find("MemoBLZ1");
  ASSERT_NE(script, nullptr);
  EXPECT_TRUE(script->text.empty());
  EXPECT_EQ(script->line_count, 0u);
}

}  // namespace
