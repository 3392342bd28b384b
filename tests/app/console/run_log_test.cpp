// The statement log of --log and the summary that ends a console run: the
// log of a demo run in its approved form, what it never holds (a password),
// that it is appended to, and what happens when it cannot be opened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <ctime>
#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "app/front_end.h"
#include "db/connection_factory.h"
#include "db/tenant_discovery.h"
#include "platform/local_time.h"
#include "support/approval.h"
#include "support/demo_server.h"
#include "support/fake_connection.h"
#include "support/temp_dir.h"

using testing::HasSubstr;
using testing::Not;

namespace {

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string today() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = platform::local_time(now);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

bool digits_at(const std::string& text, size_t at, size_t count) {
  if (at + count > text.size()) return false;
  for (size_t i = at; i < at + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// "2026-03-09 14:02:11.372 " at the start of a line.
bool starts_with_time(const std::string& line) {
  return line.size() > 24 && digits_at(line, 0, 4) && line[4] == '-' && line[10] == ' ' && line[13] == ':' &&
         line[16] == ':' && line[19] == '.' && digits_at(line, 20, 3) && line[23] == ' ';
}

void replace_suffix(std::string& line, std::string_view suffix, std::string_view by) {
  if (line.size() >= suffix.size() && line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0)
    line.replace(line.size() - suffix.size(), suffix.size(), by);
}

// What differs from one run to the next: the time column, the seconds of
// the summary and today's date among the parameter values.
std::string masked(const std::string& log) {
  std::istringstream in(log);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (starts_with_time(line)) line.replace(0, 23, "<time>");
    if (line.find("Zusammenfassung: ") != std::string::npos) {
      size_t comma = line.rfind(", ");
      if (comma != std::string::npos) line.replace(comma, std::string::npos, ", <seconds> s");
    }
    replace_suffix(line, "=" + today(), "=<today>");
    out += line + "\n";
  }
  return out;
}

app::Options options_for(const std::filesystem::path& settings, const std::filesystem::path& log) {
  app::Options options;
  options.console = true;
  options.settings = settings;
  options.log = log;
  return options;
}

// Runs the console with the log that `options` name, as main() does.
int run_logged(const app::Options& options, db::ConnectionFactory& factory, std::ostream& out) {
  return app::with_log(options, out, [&](upgrade::RunLog* log) {
    EXPECT_NE(log, nullptr);
    return app::run_console(options, factory, out, false, log);
  });
}

// The discovery catalogue (itself a tenant) and a TMP copy, which only the
// finishing pass visits: every kind of entry, one tenant's worth of text.
TEST(RunLog, DemoRunLogsEveryStatementAndEndsWithTheSummary) {
  testing_support::TempDir dir;
  {
    auto server = standin::Server::open(dir.path() / "data");
    testing_support::seed_demo_database(*server, "DRAVOK", "demo/catalogue.sql");
    testing_support::seed_demo_database(*server, "dravokTMP01", "demo/club_01.sql");
  }
  std::ofstream(dir.path() / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\nData Source=data\n";
  auto factory = db::make_backend_factory();
  std::ostringstream out;
  app::Options options = options_for(dir.path() / "SysDBAdo.INI", dir.path() / "run.log");
  ASSERT_EQ(run_logged(options, *factory, out), 0) << out.str();

  const std::string log = read_file(dir.path() / "run.log");
  EXPECT_TRUE(testing_support::matches_approved("demo_run_log.txt", masked(log)));
  // The console ends with the same summary as the log.
  const std::string summary = "Zusammenfassung: 1 Datenbank gefunden, 1 Datenbank aktualisiert, ";
  EXPECT_THAT(out.str(), HasSubstr("\n" + summary));
  EXPECT_THAT(log, HasSubstr(" " + summary));
}

TEST(RunLog, HoldsNoPasswordAndIsAppendedTo) {
  testing_support::TempDir dir;
  std::ofstream(dir.path() / "SysDBAdo.INI")
      << "[Datenbank]\nProvider=SQLOLEDB.1\nUser ID=sa\nPassword=Kx7geheim\nData Source=db\n";
  testing_support::FakeServer server;
  server.results[db::kTenantListQuery] = testing_support::FakeServer::rows({"name"}, {{"DRAVOK01"}});
  server.open_errors["DRAVOK01"] = "Login failed for user 'sa' with password Kx7geheim.";
  testing_support::FakeFactory factory(server);
  std::ostringstream out;
  app::Options options = options_for(dir.path() / "SysDBAdo.INI", dir.path() / "run.log");
  EXPECT_EQ(run_logged(options, factory, out), 1);
  EXPECT_EQ(run_logged(options, factory, out), 1);

  const std::string log = read_file(dir.path() / "run.log");
  EXPECT_THAT(log, Not(HasSubstr("Kx7geheim")));
  EXPECT_THAT(log, HasSubstr("with password ***."));  // the failure itself is there
  EXPECT_THAT(log, HasSubstr("  DRAVOK01: 1 Meldung\n"));
  // Two runs, two summaries: the second run appended to the first.
  size_t first = log.find("Zusammenfassung: 1 Datenbank gefunden, 0 Datenbanken aktualisiert");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find("Zusammenfassung: 1 Datenbank gefunden", first + 1), std::string::npos);
}

TEST(RunLog, LogFileThatCannotBeOpenedEndsTheProgramBeforeTheRun) {
  testing_support::TempDir dir;
  app::Options options = options_for(dir.path() / "SysDBAdo.INI", dir.path() / "no-such-dir" / "run.log");
  std::ostringstream err;
  int runs = 0;
  EXPECT_EQ(app::with_log(options, err, [&](upgrade::RunLog*) { return ++runs; }), app::kUsageExitCode);
  EXPECT_EQ(runs, 0);
  EXPECT_THAT(err.str(), HasSubstr("cannot open the log file " + (dir.path() / "no-such-dir" / "run.log").string() +
                                   ": No such file or directory"));

  options.log.reset();  // without --log the run goes ahead, without a log
  EXPECT_EQ(app::with_log(options, err, [&](upgrade::RunLog* log) { return log ? 99 : 7; }), 7);
}

}  // namespace
