// The ODBC backend. Texts travel as UTF-16 (the wide ODBC calls), so the
// driver manager and the driver never guess a code page. Every result of a
// command text is drained, so that an error in a later statement of a
// multi-statement text is seen; the first error is thrown.
#include "odbc_headers.h"

#include <cstring>
#include <optional>

#include "db/odbc.h"
#include "db/odbc_drivers.h"
#include "db/server_address.h"

namespace db {
namespace {

constexpr SQLULEN kLoginTimeoutSeconds = 15;

using WideString = std::basic_string<SQLWCHAR>;

WideString to_wide(std::string_view utf8) {
  WideString out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t code;
    int extra;
    if (c < 0x80) {
      code = c;
      extra = 0;
    } else if ((c >> 5) == 0x6) {
      code = c & 0x1F;
      extra = 1;
    } else if ((c >> 4) == 0xE) {
      code = c & 0x0F;
      extra = 2;
    } else if ((c >> 3) == 0x1E) {
      code = c & 0x07;
      extra = 3;
    } else {
      code = 0xFFFD;
      extra = 0;
    }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<SQLWCHAR>(0xD800 + (code >> 10));
      out += static_cast<SQLWCHAR>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<SQLWCHAR>(code);
    }
  }
  return out;
}

std::string to_utf8(const SQLWCHAR* text, size_t length) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < length) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// "[unixODBC][FreeTDS][SQL Server]Invalid object name 'x'." -> the server's
// own text.
std::string without_prefixes(std::string text) {
  while (!text.empty() && text.front() == '[') {
    auto close = text.find(']');
    if (close == std::string::npos) break;
    text.erase(0, close + 1);
  }
  return text;
}

// The first diagnostic record of a handle as a DbError.
DbError diagnostic(SQLSMALLINT type, SQLHANDLE handle, const char* fallback) {
  SQLWCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLWCHAR message[2048];
  SQLSMALLINT length = 0;
  SQLRETURN rc =
      SQLGetDiagRecW(type, handle, 1, state, &native, message, static_cast<SQLSMALLINT>(std::size(message)), &length);
  if (!SQL_SUCCEEDED(rc)) return DbError(fallback);
  size_t n = std::min<size_t>(static_cast<size_t>(length), std::size(message) - 1);
  return DbError(without_prefixes(to_utf8(message, n)), static_cast<int>(native));
}

class Statement {
 public:
  explicit Statement(SQLHDBC dbc) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle_)))
      throw diagnostic(SQL_HANDLE_DBC, dbc, "Cannot create a statement.");
  }
  ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, handle_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  SQLHSTMT get() const { return handle_; }

 private:
  SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

std::optional<std::string> read_value(SQLHSTMT stmt, SQLUSMALLINT column) {
  std::string value;
  SQLWCHAR buffer[4096];
  for (;;) {
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(stmt, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) throw diagnostic(SQL_HANDLE_STMT, stmt, "Cannot read a value.");
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    size_t chars = (indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) >= sizeof buffer)
                       ? std::size(buffer) - 1
                       : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
    value += to_utf8(buffer, chars);
    if (rc == SQL_SUCCESS) break;  // SUCCESS_WITH_INFO: more of the value follows
  }
  return value;
}

Rowset fetch(SQLHSTMT stmt, SQLSMALLINT columns) {
  Rowset rows;
  for (SQLUSMALLINT c = 1; c <= columns; ++c) {
    SQLWCHAR name[256];
    SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLDescribeColW(stmt, c, name, static_cast<SQLSMALLINT>(std::size(name)), &length, &type, &size, &digits,
                    &nullable);
    rows.columns.push_back(to_utf8(name, std::min<size_t>(length, std::size(name) - 1)));
  }
  for (;;) {
    SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) throw diagnostic(SQL_HANDLE_STMT, stmt, "Cannot fetch a row.");
    std::vector<std::optional<std::string>> row;
    for (SQLUSMALLINT c = 1; c <= columns; ++c) row.push_back(read_value(stmt, c));
    rows.rows.push_back(std::move(row));
  }
  return rows;
}

// Walks every result of an executed command text. Keeps the first result
// set when `first_rows` is given and the last row count in `rows_affected`;
// throws the first error at the end.
void drain(SQLHSTMT stmt, SQLRETURN rc, Rowset* first_rows, long long* rows_affected = nullptr) {
  std::optional<DbError> first_error;
  bool have_rows = false;
  for (;;) {
    if (rc == SQL_ERROR) {
      if (!first_error) first_error = diagnostic(SQL_HANDLE_STMT, stmt, "The statement failed.");
    } else if (SQL_SUCCEEDED(rc)) {
      SQLSMALLINT columns = 0;
      SQLNumResultCols(stmt, &columns);
      if (columns == 0 && rows_affected) {
        SQLLEN count = -1;
        if (SQL_SUCCEEDED(SQLRowCount(stmt, &count)) && count >= 0) *rows_affected = count;
      }
      if (columns > 0) {
        if (first_rows && !have_rows) {
          *first_rows = fetch(stmt, columns);
          have_rows = true;
        } else {
          SQLCloseCursor(stmt);
        }
      }
    } else if (rc != SQL_NO_DATA) {
      break;  // SQL_INVALID_HANDLE, SQL_NEED_DATA: nothing more to read
    }
    rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) break;
  }
  if (first_error) throw *first_error;
}

// Replaces @name by ? outside string literals and returns the parameters in
// the order of their places.
std::string positional(std::string_view text, std::span<const Parameter> params, std::vector<const Parameter*>* order) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c == '\'') {
      size_t end = text.find('\'', i + 1);
      while (end != std::string_view::npos && end + 1 < text.size() && text[end + 1] == '\'')
        end = text.find('\'', end + 2);
      end = end == std::string_view::npos ? text.size() : end + 1;
      out += text.substr(i, end - i);
      i = end;
      continue;
    }
    if (c == '@') {
      size_t end = i + 1;
      while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
      std::string_view name = text.substr(i + 1, end - i - 1);
      for (const Parameter& p : params) {
        if (p.name == name) {
          order->push_back(&p);
          out += '?';
          i = end;
          break;
        }
      }
      if (i == end) continue;
    }
    out += c;
    ++i;
  }
  return out;
}

class OdbcConnection final : public Connection {
 public:
  OdbcConnection(std::string connection_string, ServerAddress address)
      : connection_string_(std::move(connection_string)), address_(std::move(address)) {}
  ~OdbcConnection() override { close(); }

  void open() override {
    close();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
      throw DbError("The ODBC driver manager cannot be used.");
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
      close();
      throw DbError("The ODBC driver manager cannot be used.");
    }
    // Only the login has a time limit; statements wait as long as they take.
    SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
    WideString text = to_wide(connection_string_);
    SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, text.data(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
      // The driver's reason seldom says where it tried; a typo in Data
      // Source shows only with the host and port.
      DbError reason = diagnostic(SQL_HANDLE_DBC, dbc_, "Cannot connect to the server.");
      close();
      throw DbError("Connecting to " + address_.description() + " failed: " + reason.what(), reason.number());
    }
    connected_ = true;
  }

  void close() override {
    if (connected_) SQLDisconnect(dbc_);
    connected_ = false;
    if (dbc_) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
    dbc_ = SQL_NULL_HDBC;
    env_ = SQL_NULL_HENV;
  }

  bool is_open() const override { return connected_; }

  void execute(std::string_view text) override {
    Statement stmt(connection());
    WideString wide = to_wide(text);
    rows_affected_ = -1;
    drain(stmt.get(), SQLExecDirectW(stmt.get(), wide.data(), static_cast<SQLINTEGER>(wide.size())), nullptr,
          &rows_affected_);
  }

  void execute(std::string_view text, std::span<const Parameter> params) override {
    Statement stmt(connection());
    std::vector<const Parameter*> order;
    WideString wide = to_wide(positional(text, params, &order));
    Bindings bindings(order.size());
    for (size_t i = 0; i < order.size(); ++i) bind(stmt.get(), i, *order[i], bindings[i]);
    rows_affected_ = -1;
    drain(stmt.get(), SQLExecDirectW(stmt.get(), wide.data(), static_cast<SQLINTEGER>(wide.size())), nullptr,
          &rows_affected_);
  }

  long long rows_affected() const override { return rows_affected_; }

  Rowset query(std::string_view text) override {
    Statement stmt(connection());
    WideString wide = to_wide(text);
    Rowset rows;
    drain(stmt.get(), SQLExecDirectW(stmt.get(), wide.data(), static_cast<SQLINTEGER>(wide.size())), &rows);
    return rows;
  }

 private:
  struct Binding {
    WideString text;
    SQLBIGINT integer = 0;
    SQL_TIMESTAMP_STRUCT date{};
    SQLLEN indicator = 0;
  };
  using Bindings = std::vector<Binding>;

  static void bind(SQLHSTMT stmt, size_t index, const Parameter& p, Binding& b) {
    auto number = static_cast<SQLUSMALLINT>(index + 1);
    SQLRETURN rc = SQL_SUCCESS;
    switch (p.kind) {
      case Parameter::Kind::Null:
        b.indicator = SQL_NULL_DATA;
        rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0, &b.indicator);
        break;
      case Parameter::Kind::Integer:
        b.integer = p.integer;
        rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &b.integer, 0, nullptr);
        break;
      case Parameter::Kind::Text:
        b.text = to_wide(p.text);
        b.indicator = static_cast<SQLLEN>(b.text.size() * sizeof(SQLWCHAR));
        rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                              std::max<SQLULEN>(1, b.text.size()), 0, b.text.data(), b.indicator, &b.indicator);
        break;
      case Parameter::Kind::Date:
        b.date.year = static_cast<SQLSMALLINT>(p.year);
        b.date.month = static_cast<SQLUSMALLINT>(p.month);
        b.date.day = static_cast<SQLUSMALLINT>(p.day);
        rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3, &b.date,
                              0, nullptr);
        break;
    }
    if (!SQL_SUCCEEDED(rc)) throw diagnostic(SQL_HANDLE_STMT, stmt, "Cannot bind a parameter.");
  }

  SQLHDBC connection() {
    if (!connected_) throw DbError("The connection is not open.");
    return dbc_;
  }

  std::string connection_string_;
  ServerAddress address_;
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
  long long rows_affected_ = -1;
};

}  // namespace

std::unique_ptr<Connection> make_odbc_connection(const Settings& settings, std::string_view catalogue) {
  const std::string driver = settings.odbc_driver.empty() ? default_odbc_driver() : settings.odbc_driver;
  return std::make_unique<OdbcConnection>(odbc_connection_string(settings, driver, catalogue),
                                          parse_server_address(settings.data_source));
}

}  // namespace db
