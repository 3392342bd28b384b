#include "db/connections.h"

#include <cctype>

#include "db/connection_string.h"
#include "db/sql_text.h"

namespace db {
namespace {

bool is_word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// Replaces the password where it stands as a word of its own in a client
// library's text; inside other words it is left (a short password would
// otherwise mangle the text).
std::string without_password(std::string text, const std::string& password) {
  if (password.empty()) return text;
  for (size_t at = text.find(password); at != std::string::npos; at = text.find(password, at + 1)) {
    size_t end = at + password.size();
    bool alone = (at == 0 || !is_word_char(text[at - 1]) || !is_word_char(password.front())) &&
                 (end == text.size() || !is_word_char(text[end]) || !is_word_char(password.back()));
    if (alone) text.replace(at, password.size(), "***");
  }
  return text;
}

// Keeps the password out of every error text of a connection.
class PasswordFilter final : public Connection {
 public:
  PasswordFilter(std::unique_ptr<Connection> inner, std::string password)
      : inner_(std::move(inner)), password_(std::move(password)) {}
  void open() override {
    filtered([&] { inner_->open(); });
  }
  void close() override { inner_->close(); }
  bool is_open() const override { return inner_->is_open(); }
  void execute(std::string_view text) override {
    filtered([&] { inner_->execute(text); });
  }
  void execute(std::string_view text, std::span<const Parameter> params) override {
    filtered([&] { inner_->execute(text, params); });
  }
  Rowset query(std::string_view text) override {
    Rowset rows;
    filtered([&] { rows = inner_->query(text); });
    return rows;
  }
  long long rows_affected() const override { return inner_->rows_affected(); }

 private:
  template <typename F>
  void filtered(F f) {
    try {
      f();
    } catch (const DbError& e) {
      throw DbError(without_password(e.what(), password_), e.number());
    }
  }
  std::unique_ptr<Connection> inner_;
  std::string password_;
};

}  // namespace

std::string connection_failure_text(std::string_view database, std::string_view error) {
  std::string text = "False parameters for database connection.\nUnable to connect to database ";
  text += quoted(database);
  text += ".\n\n";
  text += error;
  return text;
}

Connections::Connections(ConnectionFactory& factory, std::filesystem::path settings_file, Feedback& feedback)
    : factory_(factory), settings_file_(std::move(settings_file)), feedback_(feedback) {}

Settings Connections::read_settings_reporting() {
  SettingsRead read = read_settings(settings_file_);
  if (read.error) feedback_.report(Report::Plain, *read.error);
  return read.settings;
}

std::unique_ptr<Connection> Connections::open(const Settings& settings, std::string_view database) {
  std::unique_ptr<Connection> connection;
  try {
    connection = std::make_unique<PasswordFilter>(factory_.make(settings, database), settings.password);
    connection->open();
    if (session_setup_) session_setup_(*connection, database);
  } catch (const std::exception& e) {
    std::string error = without_password(e.what(), settings.password);
    feedback_.report(Report::Error, connection_failure_text(database, error));
    if (!connection) connection = make_unavailable_connection(error);
  }
  return connection;
}

void Connections::pConn(std::string_view catalogue) {
  Settings settings = read_settings_reporting();
  discovery_catalogue_ = std::string(catalogue);
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

void Connections::reopen(Connection& connection, std::string_view catalogue) {
  connection.open();
  if (session_setup_) session_setup_(connection, catalogue);
}

Connection& Connections::work() {
  if (!work_) work_ = make_unavailable_connection("The connection is not open.");
  if (!work_->is_open()) reopen(*work_, current_database_);
  return *work_;
}

Connection& Connections::discovery() {
  if (!discovery_) discovery_ = make_unavailable_connection("The connection is not open.");
  if (!discovery_->is_open()) reopen(*discovery_, discovery_catalogue_);
  return *discovery_;
}

}  // namespace db
