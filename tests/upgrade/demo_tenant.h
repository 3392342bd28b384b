// A demo club of an old release on the embedded engine, with the tool's work
// connection switched to it and every statement recorded: the fixture of the
// tests that upgrade a real tenant and look at what the upgrade left.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "stage1_fixture.h"
#include "standin_tenant.h"
#include "support/database_dump.h"

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
    Rows r = rows(
        "SELECT DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE FROM INFORMATION_SCHEMA.COLUMNS "
        "WHERE TABLE_NAME='" +
        table + "' AND COLUMN_NAME='" + name + "'");
    return r.empty() ? std::string("missing") : r[0][0] + " " + r[0][1] + " " + r[0][2];
  }

  // Every table's columns and rows, keys, indexes and objects: what a run
  // may change. The rows of the tables in `skip` are left out.
  std::string dump(const std::vector<std::string>& skip = {}) {
    return testing_support::dump_database(*server->connect("DRAVOK01"),
                                          std::set<std::string>(skip.begin(), skip.end()));
  }

  // Forgets the log of the run before.
  void clear_log() {
    log.clear();
    transcript.clear();
    feedback.reports.clear();
  }
};

}  // namespace stage1_testing
