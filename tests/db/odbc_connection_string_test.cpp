// The connection string each driver family is given. Keywords as documented:
// Microsoft's drivers, https://learn.microsoft.com/sql/connect/odbc/dsn-connection-string-attribute
// and, for Driver 18's default encryption and Encrypt=Optional,
// https://learn.microsoft.com/sql/connect/odbc/major-version-differences;
// SQL Server Native Client,
// https://learn.microsoft.com/previous-versions/sql/sql-server-2012/ms130822(v=sql.110);
// FreeTDS, its user guide's table of ODBC connection attributes.
#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/odbc.h"
#include "db/odbc_drivers.h"

namespace {

db::Settings login(std::string data_source) {
  db::Settings s;
  s.provider = "SQLOLEDB.1";
  s.user_id = "sa";
  s.password = "pa;ss=w}o\"rd";
  s.data_source = std::move(data_source);
  return s;
}

const char* const kPassword = "PWD={pa;ss=w}}o\"rd};";

// FreeTDS reads a braced value up to the first "};" and keeps a "}" inside
// as it stands (measured with FreeTDS 1.3: "}}" does not log in).
const char* const kFreeTdsPassword = "PWD={pa;ss=w}o\"rd};";

TEST(OdbcConnectionString, FreeTdsSplitsThePortOffAndKeepsAnInstance) {
  EXPECT_EQ(db::freetds_connection_string(login("10.0.0.5,1433"), "FreeTDS", "DRAVOK01"),
            std::string("DRIVER=FreeTDS;SERVER=10.0.0.5;PORT=1433;DATABASE=DRAVOK01;UID=sa;") + kFreeTdsPassword);
  EXPECT_EQ(db::freetds_connection_string(login("db.example.org\\VEREIN"), "FreeTDS", "Dravok"),
            std::string("DRIVER=FreeTDS;SERVER=db.example.org\\VEREIN;DATABASE=Dravok;UID=sa;") + kFreeTdsPassword);
  db::Settings closing = login("host");
  closing.password = "ab}";
  EXPECT_NE(db::freetds_connection_string(closing, "FreeTDS", "D").find(";PWD={ab}};"), std::string::npos);
  closing.password = "ab};c";
  EXPECT_THROW(db::freetds_connection_string(closing, "FreeTDS", "D"), db::DbError);
  db::Settings encrypted = login("host");
  encrypted.encrypt = "J";
  encrypted.winauth = "J";
  EXPECT_EQ(db::freetds_connection_string(encrypted, "FreeTDS", "D"),
            "DRIVER=FreeTDS;SERVER=host;DATABASE=D;Trusted_Connection=Yes;Encryption=require;");
}

TEST(OdbcConnectionString, Driver18GetsTheServerAsWrittenAndOptionalEncryption) {
  const std::string driver = "ODBC Driver 18 for SQL Server";
  EXPECT_EQ(db::microsoft_odbc_connection_string(login("10.0.0.5,1433"), driver, 18, "Dravok"),
            "DRIVER=ODBC Driver 18 for SQL Server;SERVER=10.0.0.5,1433;DATABASE=Dravok;UID=sa;" +
                std::string(kPassword) + "Encrypt=Optional;");
  db::Settings s = login("SRV\\SQLEXPRESS");
  s.winauth = "J";
  s.encrypt = "J";
  // Required encryption: Encrypt=Yes and nothing else, no trust in any certificate.
  EXPECT_EQ(db::microsoft_odbc_connection_string(s, driver, 18, "Dravok"),
            "DRIVER=ODBC Driver 18 for SQL Server;SERVER=SRV\\SQLEXPRESS;DATABASE=Dravok;"
            "Trusted_Connection=Yes;Encrypt=Yes;");
}

TEST(OdbcConnectionString, Driver17AndOlderDriversEncryptOnlyWhenAsked) {
  db::Settings s = login("SRV\\VEREIN,1500");
  EXPECT_EQ(db::microsoft_odbc_connection_string(s, "ODBC Driver 17 for SQL Server", 17, "D"),
            "DRIVER=ODBC Driver 17 for SQL Server;SERVER=SRV\\VEREIN,1500;DATABASE=D;UID=sa;" + std::string(kPassword));
  EXPECT_EQ(db::older_sql_server_connection_string(s, "SQL Server", "D"),
            "DRIVER=SQL Server;SERVER=SRV\\VEREIN,1500;DATABASE=D;UID=sa;" + std::string(kPassword));
  s.encrypt = "Ja";
  EXPECT_NE(db::microsoft_odbc_connection_string(s, "ODBC Driver 17 for SQL Server", 17, "D").find(";Encrypt=Yes;"),
            std::string::npos);
  EXPECT_EQ(db::older_sql_server_connection_string(s, "SQL Server Native Client 11.0", "D"),
            "DRIVER=SQL Server Native Client 11.0;SERVER=SRV\\VEREIN,1500;DATABASE=D;UID=sa;" + std::string(kPassword) +
                "Encrypt=yes;");
}

TEST(OdbcConnectionString, TheDriverNameChoosesTheFamily) {
  db::Settings s = login("host,1433");
  EXPECT_NE(db::odbc_connection_string(s, "freetds", "D").find("SERVER=host;PORT=1433;"), std::string::npos);
  EXPECT_NE(db::odbc_connection_string(s, "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "D").find(";PORT=1433;"),
            std::string::npos);
  EXPECT_NE(db::odbc_connection_string(s, "odbc driver 18 for sql server", "D").find("Encrypt=Optional;"),
            std::string::npos);
  std::string older = db::odbc_connection_string(s, "SQL Server", "D");
  EXPECT_NE(older.find("SERVER=host,1433;"), std::string::npos);
  EXPECT_EQ(older.find("Encrypt"), std::string::npos);
  EXPECT_EQ(db::odbc_driver_kind("ODBC Driver 19 for SQL Server").version, 19);
  EXPECT_EQ(db::odbc_driver_kind("ODBC Driver x for SQL Server").family, db::OdbcDriverFamily::OlderSqlServer);
}

TEST(OdbcConnectionString, ValuesNeedBracesOnlyWhereOdbcWouldMisreadThem) {
  EXPECT_EQ(db::odbc_value("plain"), "plain");
  EXPECT_EQ(db::odbc_value("a=b"), "{a=b}");
  EXPECT_EQ(db::odbc_value(" lead"), "{ lead}");
  EXPECT_EQ(db::odbc_value("{x}"), "{{x}}}");
  EXPECT_EQ(db::odbc_value("it's"), "{it's}");
}

TEST(OdbcDriverChoice, TheNewestSqlServerDriverInstalledWins) {
  using List = std::vector<std::string>;
  EXPECT_EQ(db::newest_sql_server_driver({}), "SQL Server");
  EXPECT_EQ(db::newest_sql_server_driver(List{"FreeTDS", "Microsoft Access Driver (*.mdb)"}), "SQL Server");
  EXPECT_EQ(db::newest_sql_server_driver(List{"SQL Server", "SQL Server Native Client 11.0"}),
            "SQL Server Native Client 11.0");
  EXPECT_EQ(db::newest_sql_server_driver(
                List{"SQL Server", "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server"}),
            "ODBC Driver 18 for SQL Server");
  EXPECT_EQ(db::newest_sql_server_driver(List{"ODBC Driver 17 for SQL Server", "SQL Server Native Client 11.0"}),
            "ODBC Driver 17 for SQL Server");
}

TEST(OdbcEncryptionKey, OnlyAnEmptyValueOrAClearNoLeavesEncryptionOptional) {
  db::Settings s;
  for (const char* no : {"", "N", "nein", "No", " FALSE ", "0"}) {
    s.encrypt = no;
    EXPECT_FALSE(s.encryption_required()) << no;
  }
  for (const char* yes : {"J", "j", "Ja", "Yes", "1", "Jaa"}) {
    s.encrypt = yes;
    EXPECT_TRUE(s.encryption_required()) << yes;
  }
}

}  // namespace
