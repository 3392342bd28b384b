// One interface for both backends of the tool: the embedded stand-in and a
// real SQL Server reached through ODBC.
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// A failure of the server or of the client library. what() is the text that
// dialogs show: the server's message as received, without driver prefixes.
// It never contains a password.
class DbError : public std::runtime_error {
 public:
  explicit DbError(const std::string& message, int number = 0) : std::runtime_error(message), number_(number) {}
  int number() const { return number_; }  // server message number, 0 if none

 private:
  int number_;
};

// A static snapshot of a query's rows. Values are read as text (NULL is
// nullopt), the way the stages read them.
struct Rowset {
  std::vector<std::string> columns;
  std::vector<std::vector<std::optional<std::string>>> rows;

  bool empty() const { return rows.empty(); }
  // Index of a column by name, compared case-insensitively; -1 if missing.
  int column_index(std::string_view name) const;
  // The value of `column` in row `row` ("" for NULL or a missing column).
  std::string text(size_t row, std::string_view column) const;
};

// A typed value for a parameterised statement.
struct Parameter {
  enum class Kind { Null, Integer, Text, Date };
  std::string name;  // without '@'
  Kind kind = Kind::Null;
  long long integer = 0;
  std::string text;                  // Text
  int year = 0, month = 0, day = 0;  // Date (midnight)
};

class Connection {
 public:
  virtual ~Connection() = default;

  // Opens the connection described by the connection string items (already
  // mapped onto the backend). Throws DbError.
  virtual void open() = 0;
  virtual void close() = 0;
  virtual bool is_open() const = 0;

  // Sends a command text (one or more statements) as one execution and
  // drains every result; throws DbError with the first error's text. An
  // empty text is refused with the client layer's own message.
  virtual void execute(std::string_view command_text) = 0;

  // Sends a command text with named parameters (@name in the text).
  virtual void execute(std::string_view command_text, std::span<const Parameter> params) = 0;

  // Runs a query and returns its first result set as a snapshot.
  virtual Rowset query(std::string_view command_text) = 0;

  // Rows affected by the last statement of the last execute() that counts
  // rows; -1 when none did or the backend does not say.
  virtual long long rows_affected() const { return -1; }
};

}  // namespace db
