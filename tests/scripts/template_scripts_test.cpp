// The two template scripts, cut into batches at their GO lines and run on
// the stand-in server.
#if SQLUPDATE_SCRIPTS_ON_STANDIN
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "common/account_templates.h"
#include "script_session.h"

namespace {

// The batches of a memo: lines gathered with LF, sent at each GO line.
std::vector<std::string> go_batches(std::string_view text) {
  std::vector<std::string> batches;
  std::string batch;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    std::string trimmed = line;
    trimmed.erase(std::remove_if(trimmed.begin(), trimmed.end(), [](unsigned char c) { return c <= ' '; }),
                  trimmed.end());
    if (trimmed == "GO" || trimmed == "go") {
      batches.push_back(batch);
      batch.clear();
    } else {
      batch += line + "\n";
    }
    start = end + 2;
  }
  return batches;
}

// Runs every batch; returns the errors of the failing ones.
std::vector<std::string> run_batches(ScriptSession& db, std::string_view name) {
  std::vector<std::string> failures;
  for (const std::string& batch : go_batches(scripts::find(name)->text)) {
    standin::BatchResult result = db.run(batch);
    if (!result.ok()) failures.push_back(ScriptSession::first_error(result) + "\nin: " + batch.substr(0, 200));
  }
  return failures;
}

long long inserts_into(std::string_view text, std::string_view table) {
  std::string needle = "INSERT INTO [dbo].[" + std::string(table) + "] (";
  long long n = 0;
  for (size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

TEST(TemplateScripts, AccountTemplatesAreRecreatedWithTheirAccounts) {
  ScriptSession db;
  for (int run = 0; run < 2; ++run) {  // the second run drops and recreates
    std::vector<std::string> failures = run_batches(db, "Memo1");
    EXPECT_TRUE(failures.empty()) << failures.size() << " batches failed, first: " << failures.front();
  }
  std::string_view text = scripts::find("Memo1")->text;
  for (const tools::TemplateKind& kind : tools::template_kinds()) {
    std::string table(kind.account_table);
    SCOPED_TRACE(table);
    long long accounts = inserts_into(text, table);
    EXPECT_GT(accounts, 0);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM " + table), accounts);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM " + table + " WHERE BUCHJAHR=2010"), accounts);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM sys.indexes WHERE name='PK_" + table + "'"), 1);
  }
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5KontMonosportverein WHERE KONTONR < 600"), 0);
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5KontSportvereinOhneAnlagevermogen WHERE KONTONR BETWEEN 10 AND 599"), 0);
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5KontKulturverein WHERE KONTONR BETWEEN 5000 AND 5999"), 0);
  EXPECT_GT(db.count("SELECT COUNT(*) FROM F5KontSportvereinMitAnlagevermogen WHERE KONTONR BETWEEN 10 AND 599"), 0);
}

TEST(TemplateScripts, TaxKeyTemplatesHoldTenKeysEach) {
  ScriptSession db;
  for (int run = 0; run < 2; ++run) {
    std::vector<std::string> failures = run_batches(db, "Memo2");
    EXPECT_TRUE(failures.empty()) << failures.size() << " batches failed, first: " << failures.front();
  }
  for (std::string_view name : tools::tax_key_tables()) {
    std::string table(name);
    SCOPED_TRACE(table);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM " + table), 10);
    EXPECT_EQ(db.count("SELECT COUNT(DISTINCT LfdNr) FROM " + table + " WHERE LfdNr BETWEEN 1 AND 10"), 10);
    EXPECT_EQ(db.rows("SELECT STEUERSCHL, MWSTKTO, VORST_KTO, Klasse FROM " + table + " WHERE LfdNr=7"),
              (std::vector<std::vector<std::string>>{{"19", "5199", "5685", "5"}}));
  }
  // The identity insert of the last table was switched off: new rows number on.
  db.ok("INSERT INTO F5DatSonstiger (STEUERSCHL, MWSTKTO) VALUES (19, 1)");
  db.ok("INSERT INTO F5DatSportvereinOhneAnlagevermogen (STEUERSCHL, MWSTKTO) VALUES (19, 1)");
  EXPECT_EQ(db.value("SELECT MAX(LfdNr) FROM F5DatSportvereinOhneAnlagevermogen"), "11");
}

}  // namespace
#endif
