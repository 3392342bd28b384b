// One client connection from its first byte to its end: prelogin, login,
// then requests until the client leaves. Runs on its own thread; everything
// it shares with other connections is the Server, which serialises
// statements itself.
//
// Input that breaks the protocol ends this connection only: the reason goes
// to the log, the socket is closed, the session (and any transaction it
// left open) ends.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "standin/standin.h"

namespace standin::server {

// Who may log in: one login name (compared without regard to case, as
// SQL Server compares logins) and its password, or any password when none
// is set.
struct Credentials {
  std::string login = "sa";
  std::optional<std::string> password;
};

using Log = std::function<void(std::string_view line)>;

// Serves the client on `socket_fd` until it disconnects, breaks the
// protocol, or the socket is shut down from outside. Does not close the
// descriptor.
void serve_connection(int socket_fd, Server& server, const Credentials& credentials, const Log& log);

}  // namespace standin::server
