// The server's and the session's inner state, shared by server.cpp and the
// durable storage of a data directory (persistence.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "exec/executor.h"
#include "exec/transaction.h"
#include "standin/standin.h"

namespace standin {

namespace storage {
class DataDirectory;
}

// The values of non-deterministic functions a statement used, in order, so
// that replaying the journaled statement gives the same rows.
struct Capture {
  std::vector<DateTime> now;
  std::vector<std::string> guids;
};

struct Server::Impl {
  Impl();
  ~Impl();

  BatchResult execute(SessionState& state, Transaction& transaction, std::string_view text,
                      std::span<const Param> params);

  // Called after a statement completed: journals it when the server is
  // backed by a data directory, or keeps its record for the commit when it
  // ran inside a transaction.
  void committed(const SessionState& before, Transaction& transaction, std::string_view statement_text,
                 const Statement& s, const Capture& capture, std::span<const Param> params);
  // The outermost COMMIT: journals the transaction's records and a commit
  // record with one write.
  void commit_transaction(Transaction& transaction);
  // Rolls back what is still open and forgets the session.
  void end_session(const SessionState& state, Transaction& transaction);
  bool any_open_transaction() const;
  void sync();  // makes the journal durable; once per command text
  // Writes a checkpoint unless a transaction is open anywhere: a snapshot
  // holds committed state only. Returns whether it did.
  bool checkpoint_locked();
  // Unloads the databases no session is in, but for the `warm` ones used
  // last; writes a checkpoint first when one of them has changed since its
  // snapshot. A server upgrading tenant after tenant so holds one of them at
  // a time, however many there are.
  void unload_idle_databases(size_t warm);

  Catalog catalog;
  std::mutex mutex;
  std::unique_ptr<storage::DataDirectory> directory;
  bool replaying = false;
  const Capture* replay_capture = nullptr;  // values to hand out while replaying
  std::set<Transaction*> transactions;      // one per session, open or not
  std::set<const SessionState*> sessions;   // the database each session is in
  uint64_t use_clock = 0;                   // ticks once per command text
  // The memory one statement may hold in intermediate results; a statement
  // that needs more fails with error 701 (query_memory.h). Set before the
  // server is shared between threads.
  uint64_t max_query_memory = QueryMemory::default_limit();

 private:
  void run_statement(SessionState& state, Transaction& transaction, Statement& s, std::string_view text,
                     std::span<const Param> params, BatchResult& result, bool* stop);
  EvalContext statement_context(SessionState& state, Capture& capture);
  // Runs the statements of a command text whose syntax was checked: those
  // kept from the check, or read from the text again.
  void run_statements(SessionState& state, Transaction& transaction, std::string_view text,
                      std::span<const Param> params, std::vector<StatementPtr>& kept, BatchResult& result);

  size_t replay_now_ = 0, replay_guid_ = 0;  // captured values handed out so far
};

struct Session::Impl {
  Server::Impl* server = nullptr;
  SessionState state;
  Transaction transaction;
};

}  // namespace standin
