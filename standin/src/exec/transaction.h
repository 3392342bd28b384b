// Transactions. BEGIN TRAN nests by count; only the COMMIT that brings the
// count back to 0 commits, and ROLLBACK undoes everything since the first
// BEGIN TRAN. A statement that fails inside a transaction undoes only
// itself; the transaction stays open.
//
// There are no locks: another session reads a transaction's uncommitted
// rows. What it may not do is write to a table or function that an open
// transaction of another session changed (error 1222), because that
// transaction's rollback would wipe the write.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exec/executor.h"

namespace standin {

// A table or function by database and name, both upper-cased. Objects are
// known by name so that a table a transaction dropped, or one it created,
// still counts as its own.
using ObjectKey = std::pair<std::string, std::string>;
ObjectKey object_key(std::string_view database, std::string_view name);

// One session's transaction.
struct Transaction {
  int count = 0;                     // @@TRANCOUNT
  StatementUndo undo;                // restores the state before BEGIN TRAN
  std::vector<std::string> records;  // journal records, written at the commit
  std::set<ObjectKey> changed;       // what other sessions may not write

  bool open() const { return count > 0; }
  // Forgets the transaction; its changes stay as they are.
  void end() {
    count = 0;
    undo.discard();
    records.clear();
    changed.clear();
  }
};

// What the executor asks of the transaction machinery while it runs a
// statement.
class TransactionControl {
 public:
  virtual ~TransactionControl() = default;
  virtual int trancount() const = 0;
  virtual void begin() = 0;
  virtual void commit() = 0;    // error 3902 without a transaction
  virtual void rollback() = 0;  // error 3903 without a transaction
  // Error 226 inside a transaction, for statements that cannot be undone.
  virtual void refuse_in_transaction(std::string_view statement) = 0;
  // Error 1222 when an open transaction of another session changed
  // something in `db`.
  virtual void check_database_free(const Database& db) = 0;
};

}  // namespace standin
