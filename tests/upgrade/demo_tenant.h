// A demo club of an old release on the embedded engine, with the tool's work
// connection switched to it and every statement recorded: the fixture of the
// tests that upgrade a real tenant and look at what the upgrade left.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "stage1_fixture.h"
#include "standin_tenant.h"

namespace stage1_testing {

using Rows = std::vector<std::vector<std::string>>;

struct DemoBackend {
  DemoBackend() { testing_support::seed_demo_database(*server, "DRAVOK01", "demo/club_01.sql"); }
  std::unique_ptr<standin::Server> server = standin::Server::in_memory();
  StandinFactory factory{*server};
};

class DemoTenantTest : public StageOneFixture<DemoBackend> {
 protected:
  // Every value as text, NULL as "NULL".
  Rows rows(const std::string& query) {
    db::Rowset r = connections.work().query(query);
    Rows out;
    for (const auto& row : r.rows) {
      std::vector<std::string> values;
      for (const auto& v : row) values.push_back(v ? *v : "NULL");
      out.push_back(std::move(values));
    }
    return out;
  }
  std::string value(const std::string& query) {
    Rows r = rows(query);
    return r.empty() || r[0].empty() ? "<no rows>" : r[0][0];
  }
  void exec(const std::string& text) { connections.work().execute(text); }

  // "type length nullable" of a column, or "missing".
  std::string column(const std::string& table, const std::string& name) {
    Rows r = rows("SELECT DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE FROM INFORMATION_SCHEMA.COLUMNS "
                  "WHERE TABLE_NAME='" + table + "' AND COLUMN_NAME='" + name + "'");
    return r.empty() ? std::string("missing") : r[0][0] + " " + r[0][1] + " " + r[0][2];
  }

  // Every table's columns and rows (sorted), and every object's name: what a
  // run may change. Tables in `skip` are left out.
  std::string dump(const std::vector<std::string>& skip = {}) {
    std::string out;
    for (const auto& t : rows("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES ORDER BY TABLE_NAME")) {
      if (std::find(skip.begin(), skip.end(), t[0]) != skip.end()) continue;
      out += "== " + t[0] + "\n";
      for (const auto& c : rows("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE "
                                "FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='" + t[0] +
                                "' ORDER BY ORDINAL_POSITION"))
        out += c[0] + " " + c[1] + " " + c[2] + " " + c[3] + "\n";
      std::vector<std::string> lines;
      for (const auto& row : rows("SELECT * FROM [" + t[0] + "]")) {
        std::string line;
        for (const auto& v : row) line += v + "|";
        lines.push_back(line);
      }
      std::sort(lines.begin(), lines.end());
      for (const auto& line : lines) out += line + "\n";
    }
    for (const auto& o : rows("SELECT name FROM sysobjects ORDER BY name")) out += "object " + o[0] + "\n";
    return out;
  }

  // Forgets the log of the run before.
  void clear_log() {
    log.clear();
    transcript.clear();
    feedback.reports.clear();
  }
};

}  // namespace stage1_testing
