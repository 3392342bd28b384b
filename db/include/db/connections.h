// The two server connections of the tool: the discovery connection, which
// only lists the tenant databases, and the work connection, which is
// switched from one tenant database to the next and carries every statement
// of the upgrade. Each switch reads the settings file anew.
#pragma once

#include <filesystem>
#include <functional>
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

// The text of the error dialog when a connection cannot be opened.
std::string connection_failure_text(std::string_view database, std::string_view error);

class Connections {
 public:
  // Sends the session settings on a connection that has just opened on
  // `catalogue`; a DbError fails the opening. The statement runner installs
  // it, so that these statements are sent and recorded like every other.
  using SessionSetup = std::function<void(Connection&, std::string_view catalogue)>;

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

  // The discovery connection, opened again first when it is closed; that
  // open may throw DbError.
  Connection& discovery();
  const std::string& discovery_catalogue() const { return discovery_catalogue_; }

  void set_session_setup(SessionSetup setup) { session_setup_ = std::move(setup); }

  // The OLE DB text of the last switch of each connection (holds the
  // password: never show it).
  const std::string& discovery_connection_text() const { return discovery_text_; }
  const std::string& work_connection_text() const { return work_text_; }

  const std::filesystem::path& settings_file() const { return settings_file_; }

 private:
  Settings read_settings_reporting();
  std::unique_ptr<Connection> open(const Settings& settings, std::string_view database);
  void reopen(Connection& connection, std::string_view catalogue);

  ConnectionFactory& factory_;
  std::filesystem::path settings_file_;
  Feedback& feedback_;
  std::unique_ptr<Connection> discovery_;
  std::unique_ptr<Connection> work_;
  std::string current_database_;
  std::string discovery_catalogue_;
  SessionSetup session_setup_;
  std::string discovery_text_;
  std::string work_text_;
};

}  // namespace db
