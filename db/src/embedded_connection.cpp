// The embedded backend. A session of the stand-in server is one connection;
// errors come back in the batch result and are thrown here as DbError with
// the first error's text, after every statement before it ran.
#include <standin/standin.h>

#include "db/embedded.h"

namespace db {
namespace {

std::optional<std::string> as_text(const standin::Value& value) {
  if (value.is_null()) return std::nullopt;
  if (value.type().is_string()) return value.string_value();
  return value.to_display();
}

Rowset snapshot(const standin::ResultSet& result) {
  Rowset rows;
  for (const auto& column : result.columns) rows.columns.push_back(column.name);
  for (const auto& row : result.rows) {
    std::vector<std::optional<std::string>> out;
    out.reserve(row.size());
    for (const auto& value : row) out.push_back(as_text(value));
    rows.rows.push_back(std::move(out));
  }
  return rows;
}

standin::Value as_value(const Parameter& p) {
  switch (p.kind) {
    case Parameter::Kind::Null: return standin::Value::null();
    case Parameter::Kind::Integer: return standin::Value::integer(p.integer, standin::Type::BigInt);
    case Parameter::Kind::Text: return standin::Value::nvarchar(p.text);
    case Parameter::Kind::Date: return standin::Value::datetime(standin::DateTime::from_civil(p.year, p.month, p.day));
  }
  return standin::Value::null();
}

void throw_first_error(const standin::BatchResult& result) {
  if (result.ok()) return;
  const standin::Error& error = result.errors.front();
  throw DbError(error.message, error.number);
}

class EmbeddedConnection final : public Connection {
 public:
  EmbeddedConnection(EmbeddedServers& servers, std::filesystem::path directory, std::string catalogue)
      : servers_(servers), directory_(std::move(directory)), catalogue_(std::move(catalogue)) {}

  void open() override {
    close();
    server_ = servers_.server(directory_);
    standin::Error error;
    session_ = server_->connect(catalogue_, &error);
    if (!session_) throw DbError(error.message, error.number);
  }

  void close() override { session_.reset(); }
  bool is_open() const override { return session_ != nullptr; }

  void execute(std::string_view text) override { counted(session().execute(text)); }

  void execute(std::string_view text, std::span<const Parameter> params) override {
    std::vector<standin::Param> values;
    for (const Parameter& p : params) values.push_back({p.name, as_value(p)});
    counted(session().execute(text, values));
  }

  long long rows_affected() const override { return rows_affected_; }

  Rowset query(std::string_view text) override {
    standin::BatchResult result = session().execute(text);
    throw_first_error(result);
    return result.result_sets.empty() ? Rowset{} : snapshot(result.result_sets.front());
  }

 private:
  void counted(const standin::BatchResult& result) {
    rows_affected_ = result.rows_affected;
    throw_first_error(result);
  }

  standin::Session& session() {
    if (!session_) throw DbError("The connection is not open.");
    return *session_;
  }

  EmbeddedServers& servers_;
  std::filesystem::path directory_;
  std::string catalogue_;
  std::shared_ptr<standin::Server> server_;
  std::unique_ptr<standin::Session> session_;
  long long rows_affected_ = -1;
};

}  // namespace

EmbeddedServers::EmbeddedServers() = default;
EmbeddedServers::~EmbeddedServers() = default;

std::filesystem::path embedded_data_directory(const Settings& settings) {
  std::filesystem::path source = settings.data_source;
  if (source.empty() || source.is_absolute()) return source;
  return settings.directory / source;
}

std::shared_ptr<standin::Server> EmbeddedServers::server(const std::filesystem::path& directory) {
  if (directory.empty()) throw DbError("Data Source names no data directory.");
  std::error_code ignored;
  std::filesystem::path key = std::filesystem::weakly_canonical(directory, ignored);
  if (key.empty()) key = directory;
  auto& slot = servers_[key];
  if (!slot) {
    try {
      // Data Source names existing databases: a wrong path must not give an
      // empty server. Data directories are made by standin-sql and seeding.
      slot = standin::Server::open(key, standin::OpenMode::MustExist);
    } catch (const std::exception& e) {
      servers_.erase(key);
      throw DbError(e.what());
    }
  }
  return slot;
}

std::unique_ptr<Connection> EmbeddedServers::connect(const Settings& settings, std::string_view catalogue) {
  return std::make_unique<EmbeddedConnection>(*this, embedded_data_directory(settings), std::string(catalogue));
}

}  // namespace db
