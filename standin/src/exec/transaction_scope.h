// The transaction machinery around one top-level statement of a session:
// it answers the executor's transaction statements, guards every write
// against the open transactions of other sessions, and hands the
// statement's undo to the transaction when the statement completes.
//
// BEGIN TRAN, COMMIT and ROLLBACK may sit inside IF or BEGIN...END, but not
// in the same such block as statements that change data: the journal keeps
// a top-level statement as one unit, inside a transaction or outside, so a
// block cannot be split at a COMMIT.
#pragma once

#include <vector>

#include "exec/server_impl.h"
#include "exec/transaction.h"

namespace standin {

class TransactionScope final : public TransactionControl {
 public:
  // Each transaction that begins or ends is told to `changes`.
  TransactionScope(Server::Impl& server, Transaction& transaction, StatementUndo& statement_undo,
                   std::vector<TransactionChange>& changes);

  int trancount() const override { return transaction_.count; }
  void begin() override;
  void commit() override;
  void rollback() override;
  void refuse_in_transaction(std::string_view statement) override;
  void check_database_free(const Database& db) override;

  // True when the statement ran BEGIN TRAN, COMMIT or ROLLBACK.
  bool ran_control() const { return ran_control_; }
  // The statement completed: inside a transaction, its undo and the
  // objects it changed become the transaction's.
  void statement_completed();

 private:
  void guard_write(const Table* table, Database* db, std::string_view name);
  void enter_control();
  const Transaction* other_owner(const ObjectKey& key) const;

  Server::Impl& server_;
  Transaction& transaction_;
  StatementUndo& statement_undo_;
  std::vector<TransactionChange>& changes_;
  std::vector<ObjectKey> touched_;
  bool ran_control_ = false;
};

}  // namespace standin
