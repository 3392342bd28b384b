#include "db/connection_factory.h"

#include "db/sql_text.h"

namespace db {
namespace {

class UnavailableConnection final : public Connection {
 public:
  explicit UnavailableConnection(std::string message) : message_(std::move(message)) {}
  void open() override { throw DbError(message_); }
  void close() override {}
  bool is_open() const override { return false; }
  void execute(std::string_view) override { throw DbError(message_); }
  void execute(std::string_view, std::span<const Parameter>) override { throw DbError(message_); }
  Rowset query(std::string_view) override { throw DbError(message_); }

 private:
  std::string message_;
};

bool starts_with_icase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && iequals(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::unique_ptr<Connection> make_unavailable_connection(std::string message) {
  return std::make_unique<UnavailableConnection>(std::move(message));
}

Backend backend_for(std::string_view provider) {
  if (iequals(provider, "Embedded")) return Backend::Embedded;
  if (iequals(provider, "SQLOLEDB") || iequals(provider, "SQLOLEDB.1") || starts_with_icase(provider, "SQLNCLI") ||
      starts_with_icase(provider, "MSOLEDBSQL"))
    return Backend::Odbc;
  return Backend::Unknown;
}

}  // namespace db
