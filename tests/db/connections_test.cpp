#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "db/connection_string.h"
#include "db/connections.h"
#include "db/settings.h"
#include "db/tenant_discovery.h"
#include "support/fake_connection.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

using testing_support::FakeServer;

namespace {

db::Settings sample() {
  db::Settings s;
  s.provider = "SQLOLEDB.1";
  s.password = "geheim";
  s.persist_security_info = "True";
  s.user_id = "sa";
  s.data_source = "SERVER\\SQL";
  return s;
}

TEST(ConnectionString, DiscoveryPutsPersistSecondAndWorkThird) {
  EXPECT_EQ(db::discovery_connection_string(sample(), "Dravok"),
            "Provider=SQLOLEDB.1;\r\nPersist Security Info=True;\r\nPassword=geheim;\r\n"
            "User ID=sa;\r\nInitial Catalog=Dravok;\r\nData Source=SERVER\\SQL;\r\n");
  EXPECT_EQ(db::work_connection_string(sample(), "DRAVOK01"),
            "Provider=SQLOLEDB.1;\r\nPassword=geheim;\r\nUser ID=sa;\r\n"
            "Persist Security Info=True;\r\nInitial Catalog=DRAVOK01;\r\nData Source=SERVER\\SQL;\r\n");
}

TEST(ConnectionString, WinAuthUpperJReplacesTheLoginItems) {
  db::Settings s = sample();
  s.winauth = "J";
  EXPECT_EQ(db::work_connection_string(s, "D"),
            "Provider=SQLOLEDB.1;\r\nIntegrated Security=SSPI;\r\nPersist Security Info=True;\r\n"
            "Initial Catalog=D;\r\nData Source=SERVER\\SQL;\r\n");
  s.winauth = "j";
  EXPECT_NE(db::discovery_connection_string(s, "D").find("Password=geheim;"), std::string::npos);
}

TEST(ConnectionString, EmptyValuesStillGiveTheirItems) {
  db::Settings s;
  EXPECT_EQ(db::discovery_connection_string(s, "Dravok"),
            "Provider=ERROR;\r\nPersist Security Info=;\r\nPassword=;\r\nUser ID=;\r\n"
            "Initial Catalog=Dravok;\r\nData Source=;\r\n");
}

class SettingsTest : public ::testing::Test {
 protected:
  db::Settings read(const std::string& content) {
    std::ofstream(dir.path() / "SysDBAdo.INI") << content;
    return db::read_settings(dir.path() / "SysDBAdo.INI").settings;
  }
  testing_support::TempDir dir;
};

TEST_F(SettingsTest, NamesCompareWithoutCaseAndBlanksAreDropped) {
  db::Settings s = read(
      "[Andere]\nProvider=Falsch\n"
      "[datenBANK]\n  provider =  SQLOLEDB.1  \nPASSWORD=a;b}c\nuser id=sa\n"
      "Data Source = host,1433\nWinAuth=J\nInitial Catalog=Ignored\nProvider=Second\n");
  EXPECT_EQ(s.provider, "SQLOLEDB.1");
  EXPECT_EQ(s.password, "a;b}c");
  EXPECT_EQ(s.user_id, "sa");
  EXPECT_EQ(s.data_source, "host,1433");
  EXPECT_TRUE(s.windows_authentication());
  EXPECT_EQ(s.odbc_driver, "");  // the platform's default driver
  EXPECT_EQ(s.directory, dir.path());
}

TEST_F(SettingsTest, MissingFileOrSectionGivesTheDefaults) {
  db::SettingsRead missing = db::read_settings(dir.path() / "none.ini");
  EXPECT_EQ(missing.settings.provider, "ERROR");
  EXPECT_FALSE(missing.error);
  EXPECT_EQ(read("[Other]\nProvider=x\n").provider, "ERROR");
}

// Each way a settings file can be unusable is named with the file; a sound
// one, also in another code page or with a section header among blanks and
// comments, has no fault.
TEST_F(SettingsTest, AnUnusableFileIsNamedWithWhatIsWrong) {
  const std::filesystem::path file = dir.path() / "SysDBAdo.INI";
  auto fault_of = [&](const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
    db::SettingsRead r = db::read_settings(file);
    EXPECT_EQ(r.settings.provider, "ERROR") << content;
    return r.settings.fault;
  };
  const std::string path = file.string();
  EXPECT_EQ(fault_of(""), "Einstellungen leer: " + path);
  EXPECT_EQ(fault_of(" \r\n\r\n"), "Einstellungen leer: " + path);
  const char zip[] = "PK\x03\x04\0\0[Datenbank]\nProvider=Embedded\n";
  EXPECT_EQ(fault_of(std::string(zip, sizeof zip - 1)), "Einstellungen sind keine INI-Datei: " + path);
  EXPECT_EQ(fault_of("Provider=Embedded\nData Source=daten\n"), "Einstellungen sind keine INI-Datei: " + path);
  EXPECT_EQ(fault_of("[Database]\nProvider=Embedded\n"), "Einstellungen ohne Abschnitt [Datenbank]: " + path);
  EXPECT_EQ(db::read_settings(dir.path() / "none.ini").settings.fault,
            "Einstellungen nicht gefunden: " + (dir.path() / "none.ini").string());
  EXPECT_EQ(db::read_settings(dir.path()).settings.fault,
            "Einstellungen sind ein Ordner, keine Datei: " + dir.path().string());

  std::ofstream(file, std::ios::binary) << "; Kommentar \xfc\r\n\r\n  [ datenbank ]  \r\nProvider=Embedded\r\n";
  db::SettingsRead sound = db::read_settings(file);
  EXPECT_EQ(sound.settings.fault, "");
  EXPECT_EQ(sound.settings.provider, "Embedded");
}

TEST_F(SettingsTest, AProviderNoBackendServesIsNamedWithTheFile) {
  const std::filesystem::path file = dir.path() / "SysDBAdo.INI";
  std::ofstream(file) << "[Datenbank]\nProvider=Oracle.OLEDB.9\n";
  EXPECT_EQ(db::unknown_provider_cause(db::read_settings(file).settings),
            "Einstellungen nennen einen unbekannten Provider \"Oracle.OLEDB.9\": " + file.string());
  std::ofstream(file) << "[Datenbank]\nUser ID=sa\n";
  EXPECT_EQ(db::unknown_provider_cause(db::read_settings(file).settings),
            "Einstellungen ohne Provider im Abschnitt [Datenbank]: " + file.string());
  std::ofstream(file) << "";
  EXPECT_EQ(db::unknown_provider_cause(db::read_settings(file).settings), "Einstellungen leer: " + file.string());
}

class ConnectionsTest : public ::testing::Test {
 protected:
  FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingFeedback feedback;
  testing_support::TempDir dir;
  db::Connections connections{factory, dir.path() / "SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
};

TEST_F(ConnectionsTest, FailedSwitchShowsTheErrorDialogWithTheQuoteDoubled) {
  server.open_errors["DRAVOK'X"] = "Login failed.";
  connections.MandantChange("DRAVOK'X");
  EXPECT_FALSE(connections.work_is_open());
  EXPECT_EQ(connections.current_database(), "DRAVOK'X");
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Error);
  EXPECT_EQ(feedback.reports[0].text,
            "False parameters for database connection.\nUnable to connect to database "
            "'DRAVOK''X'.\n\nLogin failed.");
}

TEST_F(ConnectionsTest, PasswordNeverReachesADialog) {
  std::ofstream(dir.path() / "SysDBAdo.INI") << "[Datenbank]\nPassword=s3cret\n";
  server.open_errors["Dravok"] = "cannot log in with s3cret";
  connections.pConn("Dravok");
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].text.find("s3cret"), std::string::npos);
}

TEST_F(ConnectionsTest, PasswordIsFilteredFromStatementErrorsAsAWordOnly) {
  std::ofstream(dir.path() / "SysDBAdo.INI") << "[Datenbank]\nPassword=x\n";
  server.refusals["q"] = "x is wrong, exist";
  connections.MandantChange("D");
  try {
    connections.work().execute("q");
    FAIL();
  } catch (const db::DbError& e) {
    EXPECT_STREQ(e.what(), "*** is wrong, exist");
  }
}

TEST_F(ConnectionsTest, ListingOnAFailedDiscoveryTriesAgainAndThrows) {
  server.open_errors["Dravok"] = "no server";
  connections.pConn("Dravok");
  EXPECT_THROW(db::list_tenants(runner, false), db::DbError);
}

TEST_F(ConnectionsTest, ListingUsesTheFixedQueriesAndKeepsTheServerOrder) {
  server.results[db::kTenantListQuery] = FakeServer::rows({"name"}, {{"DRAVOK02"}, {"DRAVOK01"}});
  connections.pConn("Dravok");
  EXPECT_EQ(db::list_tenants(runner, false), (std::vector<std::string>{"DRAVOK02", "DRAVOK01"}));
  EXPECT_EQ(
      server.sent.back(),
      "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND UPPER(SUBSTRING(name,7,3))<>'TMP'");
  db::list_tenants(runner, true);
  EXPECT_EQ(server.sent.back(), "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'");
}

TEST_F(ConnectionsTest, SettingsAreReadAnewAtEverySwitch) {
  connections.MandantChange("A");
  EXPECT_NE(connections.work_connection_text().find("Provider=ERROR;"), std::string::npos);
  std::ofstream(dir.path() / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\n";
  connections.MandantChange("B");
  EXPECT_NE(connections.work_connection_text().find("Provider=Embedded;"), std::string::npos);
}

TEST(Backend, ProviderNamesChooseTheBackend) {
  EXPECT_EQ(db::backend_for("embedded"), db::Backend::Embedded);
  for (const char* p : {"SQLOLEDB", "sqloledb.1", "SQLNCLI11", "MSOLEDBSQL19"})
    EXPECT_EQ(db::backend_for(p), db::Backend::Odbc) << p;
  for (const char* p : {"ERROR", "", "SQLOLEDB.2", "Microsoft.Jet.OLEDB.4.0"})
    EXPECT_EQ(db::backend_for(p), db::Backend::Unknown) << p;
}

}  // namespace
