// A scripted stand-in for a server, for unit tests of the db and upgrade
// layers: queries answer from a table of exact texts, statements fail when
// their text is listed as refused, and every text sent is kept.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/connection_factory.h"

namespace testing_support {

struct FakeServer {
  std::map<std::string, db::Rowset> results;       // query text -> rows
  std::map<std::string, std::string> refusals;     // text -> error message
  std::map<std::string, std::string> open_errors;  // catalogue -> error
  std::vector<std::string> sent;                   // every text, in order
  std::vector<std::string> opened;                 // catalogues opened

  static db::Rowset rows(std::vector<std::string> columns, std::vector<std::vector<std::string>> values) {
    db::Rowset r;
    r.columns = std::move(columns);
    for (auto& row : values) {
      std::vector<std::optional<std::string>> out(row.begin(), row.end());
      r.rows.push_back(std::move(out));
    }
    return r;
  }
  static db::Rowset one_row() { return rows({"x"}, {{"1"}}); }
};

class FakeConnection final : public db::Connection {
 public:
  FakeConnection(FakeServer& server, std::string catalogue) : server_(server), catalogue_(std::move(catalogue)) {}

  void open() override {
    auto it = server_.open_errors.find(catalogue_);
    if (it != server_.open_errors.end()) throw db::DbError(it->second);
    server_.opened.push_back(catalogue_);
    open_ = true;
  }
  void close() override { open_ = false; }
  bool is_open() const override { return open_; }

  void execute(std::string_view text) override { send(text); }
  void execute(std::string_view text, std::span<const db::Parameter>) override { send(text); }
  db::Rowset query(std::string_view text) override {
    send(text);
    auto it = server_.results.find(std::string(text));
    return it == server_.results.end() ? db::Rowset{} : it->second;
  }

 private:
  void send(std::string_view text) {
    if (!open_) throw db::DbError("closed");
    server_.sent.emplace_back(text);
    auto it = server_.refusals.find(std::string(text));
    if (it != server_.refusals.end()) throw db::DbError(it->second);
  }

  FakeServer& server_;
  std::string catalogue_;
  bool open_ = false;
};

class FakeFactory final : public db::ConnectionFactory {
 public:
  explicit FakeFactory(FakeServer& server) : server_(server) {}
  std::unique_ptr<db::Connection> make(const db::Settings&, std::string_view catalogue) override {
    return std::make_unique<FakeConnection>(server_, std::string(catalogue));
  }

 private:
  FakeServer& server_;
};

}  // namespace testing_support
