// A tenant database on the embedded engine, seeded with the old-release
// schema and a demo club, with the work connection of the tool switched to
// it. Every connection runs with day-month-year dates, as the tool's do.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/connection_factory.h"
#include "db/primitives.h"
#include "standin/standin.h"
#include "support/demo_server.h"

namespace stage1_testing {

inline std::string shown(const standin::Value& v) { return v.type().is_string() ? v.string_value() : v.to_display(); }

class StandinConnection final : public db::Connection {
 public:
  StandinConnection(standin::Server& server, std::string database) : server_(server), database_(std::move(database)) {}

  void open() override {
    standin::Error error;
    session_ = server_.connect(database_, &error);
    if (!session_) throw db::DbError(error.message, error.number);
    execute("SET DATEFORMAT dmy");
  }
  void close() override { session_.reset(); }
  bool is_open() const override { return session_ != nullptr; }
  void execute(std::string_view text) override { run(text); }
  void execute(std::string_view text, std::span<const db::Parameter> params) override {
    std::vector<standin::Param> values;
    for (const db::Parameter& p : params) values.push_back({p.name, value_of(p)});
    run(text, values);
  }
  db::Rowset query(std::string_view text) override {
    standin::BatchResult result = run(text);
    db::Rowset rows;
    if (result.result_sets.empty()) return rows;
    const standin::ResultSet& set = result.result_sets.front();
    for (const auto& c : set.columns) rows.columns.push_back(c.name);
    for (const auto& row : set.rows) {
      std::vector<std::optional<std::string>> values;
      for (const auto& v : row) values.push_back(v.is_null() ? std::nullopt : std::optional(shown(v)));
      rows.rows.push_back(std::move(values));
    }
    return rows;
  }

 private:
  static standin::Value value_of(const db::Parameter& p) {
    switch (p.kind) {
      case db::Parameter::Kind::Null: return standin::Value::null();
      case db::Parameter::Kind::Integer: return standin::Value::integer(p.integer, standin::Type::BigInt);
      case db::Parameter::Kind::Text: return standin::Value::nvarchar(p.text);
      case db::Parameter::Kind::Date:
        return standin::Value::datetime(standin::DateTime::from_civil(p.year, p.month, p.day));
    }
    return standin::Value::null();
  }
  standin::BatchResult run(std::string_view text, std::span<const standin::Param> params = {}) {
    if (!session_) throw db::DbError("closed");
    standin::BatchResult result = session_->execute(text, params);
    if (!result.ok()) throw db::DbError(result.errors.front().message, result.errors.front().number);
    return result;
  }
  standin::Server& server_;
  std::string database_;
  std::unique_ptr<standin::Session> session_;
};

// Connections on `server`; a catalogue listed in `aliases` opens the
// database it maps to.
class StandinFactory final : public db::ConnectionFactory {
 public:
  explicit StandinFactory(standin::Server& server, std::map<std::string, std::string> aliases = {})
      : server_(server), aliases_(std::move(aliases)) {}
  std::unique_ptr<db::Connection> make(const db::Settings&, std::string_view catalogue) override {
    std::string name(catalogue);
    if (auto it = aliases_.find(name); it != aliases_.end()) name = it->second;
    return std::make_unique<StandinConnection>(server_, name);
  }

 private:
  standin::Server& server_;
  std::map<std::string, std::string> aliases_;
};

}  // namespace stage1_testing
