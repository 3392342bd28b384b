#include "exec/transaction_scope.h"

#include "exec/messages.h"
#include "types/ascii.h"

namespace standin {

ObjectKey object_key(std::string_view database, std::string_view name) {
  auto upper = [](std::string_view s) {
    std::string out = ascii_uppered(s);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
  };
  return {upper(database), upper(name)};
}

TransactionScope::TransactionScope(Server::Impl& server, Transaction& transaction, StatementUndo& statement_undo,
                                   std::vector<TransactionChange>& changes)
    : server_(server), transaction_(transaction), statement_undo_(statement_undo), changes_(changes) {
  statement_undo_.set_guard(
      [this](const Table* table, Database* db, std::string_view name) { guard_write(table, db, name); });
}

void TransactionScope::enter_control() {
  if (!statement_undo_.empty())
    throw_error(50000,
                "BEGIN TRAN, COMMIT and ROLLBACK cannot follow a change in the same IF or BEGIN...END "
                "block; run them as statements of their own.");
  ran_control_ = true;
}

void TransactionScope::begin() {
  enter_control();
  if (++transaction_.count == 1) changes_.push_back(TransactionChange::Began);
}

void TransactionScope::commit() {
  enter_control();
  if (!transaction_.open()) throw_error(3902, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  if (--transaction_.count > 0) return;
  server_.commit_transaction(transaction_);
  transaction_.end();
  changes_.push_back(TransactionChange::Committed);
}

void TransactionScope::rollback() {
  enter_control();
  if (!transaction_.open())
    throw_error(3903, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  transaction_.undo.rollback();
  transaction_.end();
  changes_.push_back(TransactionChange::RolledBack);
}

void TransactionScope::refuse_in_transaction(std::string_view statement) {
  if (transaction_.open())
    throw_error(226, std::string(statement) + " statement not allowed within multi-statement transaction.");
}

const Transaction* TransactionScope::other_owner(const ObjectKey& key) const {
  for (const Transaction* t : server_.transactions)
    if (t != &transaction_ && t->open() && t->changed.count(key)) return t;
  return nullptr;
}

void TransactionScope::check_database_free(const Database& db) {
  ObjectKey first = object_key(db.name, "");
  for (const Transaction* t : server_.transactions) {
    if (t == &transaction_ || !t->open()) continue;
    auto it = t->changed.lower_bound(first);
    if (it != t->changed.end() && it->first == first.first) throw_lock_timeout();
  }
}

void TransactionScope::guard_write(const Table* table, Database* db, std::string_view name) {
  if (ran_control_)
    throw_error(50000,
                "A change cannot follow BEGIN TRAN, COMMIT or ROLLBACK in the same IF or BEGIN...END "
                "block; run them as statements of their own.");
  if (!db) db = server_.catalog.database_of(table);
  if (!db) return;  // not in the catalog: nobody else can reach it
  ObjectKey key = object_key(db->name, name);
  if (other_owner(key)) throw_lock_timeout();
  touched_.push_back(std::move(key));
  db->saved = false;  // its snapshot no longer holds it
}

void TransactionScope::statement_completed() {
  if (!transaction_.open() || server_.replaying) return;
  transaction_.undo.absorb(std::move(statement_undo_));
  transaction_.changed.insert(touched_.begin(), touched_.end());
}

}  // namespace standin
