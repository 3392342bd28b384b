// The listening socket and the threads of its connections: one thread per
// client, as many at once as connect. stop() may be called from any thread
// (the signal watcher): it closes the door, wakes every connection by
// shutting its socket down, and serve() returns once all have ended, so
// that every session (and its open transaction) is gone before the data
// directory is checkpointed.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "server/connection.h"
#include "standin/standin.h"

namespace standin::server {

class Listener {
 public:
  // Binds and listens on `host` (an IPv4 address) and `port` (0: any free
  // port). Throws std::runtime_error naming the address when it cannot.
  Listener(const std::string& host, uint16_t port);
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  uint16_t port() const { return port_; }

  // Accepts clients until stop(); returns when every connection has ended.
  void serve(Server& server, const Credentials& credentials, const Log& log);
  void stop();

 private:
  struct Client {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
  };
  void reap_finished();

  int fd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;  // guards clients_
  std::list<std::unique_ptr<Client>> clients_;
};

}  // namespace standin::server
