// standin-server: the engine on the network. Serves one existing data
// directory to SQL Server clients over the tabular data stream protocol,
// one thread per connection, until SIGTERM or SIGINT; then it stops
// accepting, ends every session (open transactions roll back), writes a
// checkpoint and exits 0.
//
// The first line of standard output is the port it listens on, so that a
// test can start it on port 0 and read where to connect.
#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "exec/server_impl.h"
#include "server/listener.h"
#include "server/server_options.h"
#include "standin/standin.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 64;  // EX_USAGE of sysexits.h

std::mutex log_mutex;

void log_line(std::string_view line) {
  std::lock_guard lock(log_mutex);
  std::cerr << "standin-server: " << line << std::endl;
}

// Blocks SIGTERM and SIGINT in every thread (the mask is inherited), so
// that only the watcher's sigwait sees them.
sigset_t block_stop_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

int run(const standin::server::ServerOptions& options) {
  using namespace standin::server;
  Credentials credentials;
  credentials.login = options.login;
  credentials.password = configured_password(options, std::getenv("STANDIN_PASSWORD"));
  if (!credentials.password)
    log_line("no --password-file and no STANDIN_PASSWORD: login '" + options.login + "' takes any password");

  sigset_t signals = block_stop_signals();
  auto server = standin::Server::open(options.data_directory, standin::OpenMode::MustExist);
  if (options.max_query_memory) server->impl().max_query_memory = options.max_query_memory;
  Listener listener(options.host, options.port);
  std::cout << listener.port() << std::endl;  // endl flushes: a test waits for this line
  log_line("serving " + options.data_directory + " on " + options.host + ":" + std::to_string(listener.port()));

  std::thread watcher([&] {
    int received = 0;
    sigwait(&signals, &received);
    log_line(std::string("stopping on ") + (received == SIGINT ? "SIGINT" : "SIGTERM"));
    listener.stop();
  });
  listener.serve(*server, credentials, log_line);
  // serve() returns only after stop(), i.e. after the watcher got its signal.
  watcher.join();
  server->checkpoint();
  server.reset();  // releases the data directory
  log_line("stopped");
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> raw(argv + 1, argv + argc);
  std::string problem;
  auto options = standin::server::parse_server_options(raw, &problem);
  if (!options) {
    std::cerr << "standin-server: " << problem << "\n" << standin::server::kServerUsage;
    return kExitUsage;
  }
  if (options->help) {
    std::cout << standin::server::kServerUsage;
    return kExitOk;
  }
  try {
    return run(*options);
  } catch (const std::exception& e) {  // OpenError, a port in use, an unreadable password file
    std::cerr << "standin-server: " << e.what() << "\n";
    return kExitFailed;
  }
}
