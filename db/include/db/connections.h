// The two server connections of the tool: the discovery connection, which
// only lists the tenant databases, and the work connection, which is
// switched from one tenant database to the next and carries every statement
// of the upgrade. Each switch reads the settings file anew.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/connection.h"
#include "db/connection_factory.h"
#include "db/feedback.h"

namespace db {

// The catalogue of the discovery connection.
inline constexpr const char* kDiscoveryCatalogue = "Dravok";

// Tenant databases without their TMP copies (the main run).
inline constexpr const char* kTenantListQuery =
    "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND "
    "UPPER(SUBSTRING(name,7,3))<>'TMP'";
// Every tenant database, TMP copies included (the finishing pass).
inline constexpr const char* kAllTenantsQuery =
    "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'";

// The text of the error dialog when a connection cannot be opened.
std::string connection_failure_text(std::string_view database, std::string_view error);

class Connections {
 public:
  Connections(ConnectionFactory& factory, std::filesystem::path settings_file, Feedback& feedback);

  // (Re)opens the discovery connection on `catalogue`. A failure is shown in
  // the error dialog; the connection then stays closed.
  void pConn(std::string_view catalogue);

  // (Re)opens the work connection on `database` and records it as the
  // current tenant database. A failure is shown in the error dialog; the
  // connection then stays closed, which the caller tests with work_is_open().
  void MandantChange(std::string_view database);

  bool work_is_open() const { return work_ && work_->is_open(); }
  const std::string& current_database() const { return current_database_; }

  // The work connection, opened again first when it is closed (as a client
  // library does on the next statement); that open may throw DbError.
  Connection& work();

  // Names of the tenant databases, in the server's order: `kTenantListQuery`
  // or, with `include_tmp_copies`, `kAllTenantsQuery`. Opens the discovery
  // connection again when it is closed; throws DbError when that fails.
  std::vector<std::string> list_tenants(bool include_tmp_copies);

  // The OLE DB text of the last switch of each connection (holds the
  // password: never show it).
  const std::string& discovery_connection_text() const { return discovery_text_; }
  const std::string& work_connection_text() const { return work_text_; }

  const std::filesystem::path& settings_file() const { return settings_file_; }

 private:
  Settings read_settings_reporting();
  std::unique_ptr<Connection> open(const Settings& settings, std::string_view database);

  ConnectionFactory& factory_;
  std::filesystem::path settings_file_;
  Feedback& feedback_;
  std::unique_ptr<Connection> discovery_;
  std::unique_ptr<Connection> work_;
  std::string current_database_;
  std::string discovery_text_;
  std::string work_text_;
};

}  // namespace db
