#include "server/listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace standin::server {

Listener::Listener(const std::string& host, uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  std::string where = host + ":" + std::to_string(port);
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
    throw std::runtime_error("not an IPv4 address: " + host);
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw std::runtime_error(std::string("cannot open a socket: ") + std::strerror(errno));
  int yes = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 64) != 0) {
    std::string reason = std::strerror(errno);
    ::close(fd_);
    throw std::runtime_error("cannot listen on " + where + ": " + reason);
  }
  socklen_t length = sizeof address;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

Listener::~Listener() {
  stop();
  std::lock_guard lock(mutex_);
  for (auto& c : clients_) {
    c->thread.join();
    ::close(c->fd);
  }
  ::close(fd_);
}

void Listener::stop() {
  if (stopping_.exchange(true)) return;
  // Wakes the accept() of serve(); the descriptor is closed by the destructor.
  ::shutdown(fd_, SHUT_RDWR);
  std::lock_guard lock(mutex_);
  for (auto& c : clients_) ::shutdown(c->fd, SHUT_RDWR);
}

void Listener::reap_finished() {
  std::lock_guard lock(mutex_);
  for (auto it = clients_.begin(); it != clients_.end();) {
    if ((*it)->finished) {
      (*it)->thread.join();
      ::close((*it)->fd);
      it = clients_.erase(it);
    } else {
      ++it;
    }
  }
}

void Listener::serve(Server& server, const Credentials& credentials, const Log& log) {
  while (!stopping_) {
    int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (stopping_) break;
      log(std::string("accept failed: ") + std::strerror(errno));
      break;
    }
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    reap_finished();
    std::lock_guard lock(mutex_);
    if (stopping_) {
      ::close(fd);
      break;
    }
    auto client = std::make_unique<Client>();
    Client* c = client.get();
    c->fd = fd;
    c->thread = std::thread([c, &server, &credentials, &log] {
      serve_connection(c->fd, server, credentials, log);
      // The client sees the end now; the descriptor itself is closed after
      // the join, so that stop() never shuts down a reused number.
      ::shutdown(c->fd, SHUT_RDWR);
      c->finished = true;
    });
    clients_.push_back(std::move(client));
  }
  // stop() may have run before the last client was added: wake them all.
  std::lock_guard lock(mutex_);
  for (auto& c : clients_) ::shutdown(c->fd, SHUT_RDWR);
  for (auto& c : clients_) {
    c->thread.join();
    ::close(c->fd);
  }
  clients_.clear();
}

}  // namespace standin::server
