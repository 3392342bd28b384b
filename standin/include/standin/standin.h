// standin: an embedded T-SQL engine that answers the statements of the
// upgrade tool the way Microsoft SQL Server does.
//
// One Server owns a set of databases (in memory, optionally backed by a data
// directory) and serves any number of Sessions. A Session is one connection:
// it has a current database and its own settings (IDENTITY_INSERT,
// ANSI_WARNINGS, DATEFORMAT), which last until changed or until the session
// ends.
//
// Transactions: outside a transaction every statement commits by itself.
// BEGIN TRAN opens one (or nests: @@TRANCOUNT counts), the COMMIT that brings
// @@TRANCOUNT back to 0 commits, ROLLBACK undoes everything since the first
// BEGIN TRAN, DDL included (identity values once handed out stay used). A
// failed statement inside a transaction undoes itself only and leaves the
// transaction open. A session that ends with an open transaction rolls it
// back. CREATE and DROP DATABASE are refused inside a transaction (226).
// BEGIN TRAN, COMMIT and ROLLBACK may stand inside IF or BEGIN...END, but not
// in the same such block as statements that change data.
//
// There are no locks. A session reads the uncommitted rows of another
// session's open transaction, as with NOLOCK. A write (DML or DDL) to a table
// or function that an open transaction of another session changed is
// refused with error 1222 and does nothing, so that no session's committed
// change is wiped by another's rollback; DROP DATABASE of a database such a
// transaction changed is refused likewise. The journal keeps transactions in
// commit order, so a statement that read data another session changed while
// it was uncommitted, or changed after the read but before this session's
// commit, may give a different result when a data directory is replayed.
//
// Thread safety: a Server may be used from several threads; it runs one
// command text at a time.
#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "standin/value.h"

namespace standin {

// An error as SQL Server reports it: message number, severity, state, the
// line of the command text it refers to, and the message text.
struct Error {
  int number = 0;
  int severity = 16;
  int state = 1;
  int line = 1;
  std::string message;
};

struct ColumnInfo {
  std::string name;  // empty for an unnamed expression
  TypeInfo type;
  bool nullable = true;
};

// A static snapshot of one result set.
struct ResultSet {
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<Value>> rows;
};

// What a command text produced. Statements run in order; a statement-level
// error (a key violation, a truncation, a refused ALTER) is recorded and the
// next statement runs, as on SQL Server; a batch-level error (a syntax error,
// which stops the batch before anything runs, an invalid object or column
// name, a failed conversion) ends the batch. Statements before an error stay
// done.
// How a command text changed the session's transaction: one opened
// (@@TRANCOUNT left 0), or the open one committed or was rolled back
// (@@TRANCOUNT back to 0), by a statement or by an error that ends it.
// A nested BEGIN TRAN or COMMIT changes only the count and is not one.
enum class TransactionChange { Began, Committed, RolledBack };

struct BatchResult {
  std::vector<ResultSet> result_sets;
  std::vector<Error> errors;
  int64_t rows_affected = -1;                          // of the last statement that counts rows
  std::vector<TransactionChange> transaction_changes;  // in the order they happened

  bool ok() const { return errors.empty(); }
};

// A named parameter of a command text, referenced there as @name.
struct Param {
  std::string name;  // with or without the leading '@'
  Value value;
};

// Thrown when a data directory cannot be opened: locked by another process,
// a file that fails its checksum, an unknown format version.
class OpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Session;

// Whether opening a data directory may start a new one. A program that is
// told where existing databases live opens with MustExist, so that a wrong
// path ends in an error instead of an empty server.
enum class OpenMode {
  CreateIfMissing,  // a missing or empty directory becomes a new data directory
  MustExist,        // only a directory that already holds a data directory
};

class Server {
 public:
  // A server whose databases live only in memory. It starts with the
  // database "master".
  static std::unique_ptr<Server> in_memory();

  // A server backed by `dir` (created when missing, unless `mode` is
  // MustExist): each database is loaded from its snapshot and journal; every
  // completed statement outside a transaction is journaled before execute()
  // returns, a transaction's statements at its commit. A transaction left
  // open by a crashed process is never applied. Throws OpenError.
  static std::unique_ptr<Server> open(const std::filesystem::path& dir, OpenMode mode = OpenMode::CreateIfMissing);

  // Writes a checkpoint (unless a transaction is still open: see checkpoint())
  // and releases the directory.
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Opens a session on `database`. Returns null and fills `error` (Msg 4060)
  // when the database does not exist.
  std::unique_ptr<Session> connect(std::string_view database = "master", Error* error = nullptr);

  // Names of all databases, in creation order (master first).
  std::vector<std::string> database_names() const;

  // Writes a snapshot of every database and empties the journal. Does
  // nothing while any session has an open transaction: a snapshot holds
  // committed state only, and the journal already keeps everything that
  // committed.
  void checkpoint();

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  explicit Server(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class Session {
 public:
  ~Session();  // rolls back a transaction left open
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Runs every statement of `command_text` in order. Never throws for bad
  // input: errors come back in the result.
  BatchResult execute(std::string_view command_text, std::span<const Param> params = {});

  std::string current_database() const;

  struct Impl;

 private:
  friend class Server;
  explicit Session(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace standin
