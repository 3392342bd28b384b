// A fresh in-memory server with a database T, and short ways to run text
// and read results as display strings.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "standin/standin.h"

namespace standin::test {

using Rows = std::vector<std::vector<std::string>>;

class Engine {
 public:
  Engine() : server_(Server::in_memory()) {
    auto master = server_->connect("master");
    master->execute("CREATE DATABASE T");
    session_ = server_->connect("T");
  }

  BatchResult run(std::string_view text) { return session_->execute(text); }

  // Runs text that must succeed; fails the test with the first error.
  void ok(std::string_view text) {
    BatchResult r = run(text);
    if (!r.ok()) ADD_FAILURE() << "Msg " << r.errors[0].number << ": " << r.errors[0].message << "\n in: " << text;
  }

  // The rows of the last result set, each value as it is displayed.
  Rows rows(std::string_view text) {
    BatchResult r = run(text);
    if (!r.ok()) {
      ADD_FAILURE() << "Msg " << r.errors[0].number << ": " << r.errors[0].message << "\n in: " << text;
      return {};
    }
    if (r.result_sets.empty()) return {};
    Rows out;
    for (const auto& row : r.result_sets.back().rows) {
      std::vector<std::string> line;
      for (const Value& v : row) line.push_back(v.to_display());
      out.push_back(line);
    }
    return out;
  }

  std::string scalar(std::string_view text) {
    Rows r = rows(text);
    if (r.empty() || r[0].empty()) return "<no row>";
    return r[0][0];
  }

  // The first error's number (0 when the text succeeded).
  int error(std::string_view text) {
    BatchResult r = run(text);
    return r.ok() ? 0 : r.errors[0].number;
  }

  std::string message(std::string_view text) {
    BatchResult r = run(text);
    return r.ok() ? "" : r.errors[0].message;
  }

  Server& server() { return *server_; }
  Session& session() { return *session_; }

 private:
  std::unique_ptr<Server> server_;
  std::unique_ptr<Session> session_;
};

}  // namespace standin::test
