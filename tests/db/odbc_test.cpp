#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "db/connections.h"
#include "db/odbc.h"
#include "db/server_address.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

#include <fstream>

namespace {

// A local port on which nothing listens: bound once, then released.
int unused_port() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

TEST(OdbcBackend, NoServerListeningFailsWithTheConnectionDialogNamingHostAndPort) {
  testing_support::TempDir dir;
  int port = unused_port();
  std::ofstream(dir.path() / "SysDBAdo.INI") << "[Datenbank]\nProvider=SQLOLEDB.1\nUser ID=sa\nPassword=Very$ecret9\n"
                                             << "Data Source=127.0.0.1," << port << "\n";
  auto factory = db::make_backend_factory();
  testing_support::RecordingFeedback feedback;
  db::Connections connections(*factory, dir.path() / "SysDBAdo.INI", feedback);
  connections.MandantChange("DRAVOK01");
  EXPECT_FALSE(connections.work_is_open());
  ASSERT_EQ(feedback.reports.size(), 1u);
  const std::string& text = feedback.reports[0].text;
  EXPECT_EQ(text.rfind("False parameters for database connection.\nUnable to connect to "
                       "database 'DRAVOK01'.\n\n",
                       0),
            0u);
  // The driver's own reason follows, without the driver-manager prefixes.
  std::string reason = text.substr(text.rfind("\n\n") + 2);
  EXPECT_FALSE(reason.empty());
  EXPECT_NE(reason.front(), '[');
  EXPECT_EQ(text.find("Very$ecret9"), std::string::npos);
  EXPECT_NE(reason.find("host 127.0.0.1, port " + std::to_string(port)), std::string::npos) << reason;
}

TEST(OdbcServerAddress, HostInstanceAndPortOfEveryDataSourceForm) {
  EXPECT_EQ(db::parse_server_address("db.example.org").description(), "host db.example.org, port 1433");
  EXPECT_EQ(db::parse_server_address("10.0.0.5,1500").description(), "host 10.0.0.5, port 1500");
  EXPECT_EQ(db::parse_server_address(" host , 1500 ").description(), "host host, port 1500");
  EXPECT_EQ(db::parse_server_address("SERVER\\SQL,1500").description(), "host SERVER, instance SQL, port 1500");
  // A named instance listens where the browser service says, not on 1433.
  db::ServerAddress instance = db::parse_server_address("SERVER\\SQL");
  EXPECT_EQ(instance.host, "SERVER");
  EXPECT_EQ(instance.instance, "SQL");
  EXPECT_FALSE(instance.port);
  EXPECT_EQ(instance.description().find("1433"), std::string::npos);
  // A port that is no port counts as none.
  EXPECT_FALSE(db::parse_server_address("host,14x3").port);
  EXPECT_FALSE(db::parse_server_address("host,70000").port);
  EXPECT_EQ(db::parse_server_address("host,14x3").description(), "host host, port 1433");
}

}  // namespace
