// A stand-in server session for running the stored scripts in tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scripts/catalog.h"
#include "standin/standin.h"

class ScriptSession {
 public:
  ScriptSession() : server_(standin::Server::in_memory()), session_(server_->connect("master")) {
    // Every connection of the upgrade runs with day-month-year dates.
    ok("SET DATEFORMAT dmy");
  }

  standin::BatchResult run(std::string_view text) { return session_->execute(text); }

  // Runs `text` and records a test failure with the first error, if any.
  void ok(std::string_view text) {
    standin::BatchResult result = run(text);
    EXPECT_TRUE(result.ok()) << first_error(result) << "\nin: " << std::string(text.substr(0, 300));
  }

  // Runs the stored script `name` as one command.
  standin::BatchResult run_script(std::string_view name) {
    const scripts::Script* script = scripts::find(name);
    if (script == nullptr) {
      ADD_FAILURE() << "no script " << name;
      return {};
    }
    return run(script->text);
  }
  void load(std::string_view name) {
    standin::BatchResult result = run_script(name);
    EXPECT_TRUE(result.ok()) << name << ": " << first_error(result);
  }

  // The rows of `query`, every value as the client shows it.
  std::vector<std::vector<std::string>> rows(std::string_view query) {
    standin::BatchResult result = run(query);
    EXPECT_TRUE(result.ok()) << first_error(result) << "\nin: " << query;
    std::vector<std::vector<std::string>> out;
    if (result.result_sets.empty()) return out;
    for (const auto& row : result.result_sets.back().rows) {
      std::vector<std::string> values;
      for (const standin::Value& value : row) values.push_back(value.is_null() ? "NULL" : display(value));
      out.push_back(std::move(values));
    }
    return out;
  }

  // The single value of `query`.
  std::string value(std::string_view query) {
    auto result = rows(query);
    if (result.empty() || result[0].empty()) return "<no rows>";
    return result[0][0];
  }
  long long count(std::string_view query) { return std::stoll(value(query)); }

  static std::string first_error(const standin::BatchResult& result) {
    if (result.errors.empty()) return {};
    const standin::Error& e = result.errors.front();
    return "Msg " + std::to_string(e.number) + ", line " + std::to_string(e.line) + ": " + e.message;
  }

 private:
  // Strings are shown as stored (to_display would do so too, but make it
  // explicit: the tests compare texts byte for byte).
  static std::string display(const standin::Value& value) {
    return value.type().is_string() ? value.string_value() : value.to_display();
  }

  std::unique_ptr<standin::Server> server_;
  std::unique_ptr<standin::Session> session_;
};
