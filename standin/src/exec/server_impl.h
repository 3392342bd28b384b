// The server's and the session's inner state, shared by server.cpp and the
// durable storage of a data directory (persistence.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "exec/executor.h"
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

  BatchResult execute(SessionState& state, std::string_view text, std::span<const Param> params);

  // Called after a statement completed: journals it when the server is
  // backed by a data directory.
  void committed(const SessionState& before, std::string_view statement_text, const Statement& s,
                 const Capture& capture, std::span<const Param> params);
  void sync();  // makes the journal durable; once per command text
  void checkpoint_locked();

  Catalog catalog;
  std::mutex mutex;
  std::unique_ptr<storage::DataDirectory> directory;
  bool replaying = false;
  const Capture* replay_capture = nullptr;  // values to hand out while replaying
};

struct Session::Impl {
  Server::Impl* server = nullptr;
  SessionState state;
};

}  // namespace standin
