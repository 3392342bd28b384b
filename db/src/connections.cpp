#include "db/connections.h"

#include "db/connection_string.h"
#include "db/sql_text.h"

namespace db {
namespace {

// Removes every occurrence of the password from a client library's text.
std::string without_password(std::string text, const std::string& password) {
  if (password.empty()) return text;
  for (size_t at = text.find(password); at != std::string::npos;
       at = text.find(password, at + 3))
    text.replace(at, password.size(), "***");
  return text;
}

}  // namespace

std::string connection_failure_text(std::string_view database, std::string_view error) {
  std::string text = "False parameters for database connection.\nUnable to connect to database ";
  text += quoted(database);
  text += ".\n\n";
  text += error;
  return text;
}

Connections::Connections(ConnectionFactory& factory, std::filesystem::path settings_file,
                         Feedback& feedback)
    : factory_(factory), settings_file_(std::move(settings_file)), feedback_(feedback) {}

Settings Connections::read_settings_reporting() {
  SettingsRead read = read_settings(settings_file_);
  if (read.error) feedback_.report(Report::Plain, *read.error);
  return read.settings;
}

std::unique_ptr<Connection> Connections::open(const Settings& settings,
                                              std::string_view database) {
  std::unique_ptr<Connection> connection;
  try {
    connection = factory_.make(settings, database);
    connection->open();
  } catch (const std::exception& e) {
    feedback_.report(Report::Error,
                     connection_failure_text(database, without_password(e.what(), settings.password)));
    if (!connection) connection = make_unavailable_connection(without_password(e.what(), settings.password));
  }
  return connection;
}

void Connections::pConn(std::string_view catalogue) {
  Settings settings = read_settings_reporting();
  discovery_text_ = discovery_connection_string(settings, catalogue);
  if (discovery_) discovery_->close();
  discovery_.reset();
  discovery_ = open(settings, catalogue);
}

void Connections::MandantChange(std::string_view database) {
  Settings settings = read_settings_reporting();
  current_database_ = std::string(database);
  work_text_ = work_connection_string(settings, database);
  if (work_) work_->close();
  work_.reset();
  work_ = open(settings, database);
}

Connection& Connections::work() {
  if (!work_) work_ = make_unavailable_connection("The connection is not open.");
  if (!work_->is_open()) work_->open();
  return *work_;
}

std::vector<std::string> Connections::list_tenants(bool include_tmp_copies) {
  if (!discovery_) discovery_ = make_unavailable_connection("The connection is not open.");
  if (!discovery_->is_open()) discovery_->open();
  Rowset rows = discovery_->query(include_tmp_copies ? kAllTenantsQuery : kTenantListQuery);
  std::vector<std::string> names;
  for (size_t i = 0; i < rows.rows.size(); ++i) names.push_back(rows.text(i, "name"));
  return names;
}

}  // namespace db
