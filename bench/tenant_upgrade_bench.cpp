// One tenant database upgraded the way the program does it: a demo club of
// an old release seeded into a data directory of the embedded server, the
// work connection of the real backend switched to it, and the three stages
// run over it twice (a first run, then a re-run over the upgraded tenant).
// Prints, per run, the wall time, the statements sent (by channel) and the
// rows the tenant holds before and after. Asserts nothing.
//
// usage: tenant_upgrade_bench [SOURCE_DIR]   (default: the source tree it
// was built from)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "db/connection_factory.h"
#include "db/connections.h"
#include "db/primitives.h"
#include "db/statement_runner.h"
#include "standin/standin.h"
#include "upgrade/progress.h"
#include "upgrade/stages.h"
#include "upgrade/tenant.h"
#include "upgrade/ui.h"
#include "upgrade/ui_feedback.h"

namespace {

struct SilentUi final : upgrade::Ui {
  void set_caption(const std::string&) override {}
  void set_progress(int) override {}
  void set_wait_cursor(bool) override {}
  void process_messages() override {}
  void show_dialog(upgrade::DialogKind, const std::string& text, upgrade::Dismissal) override {
    std::printf("  dialog: %s\n", text.c_str());
  }
  void request_close() override {}
};

std::string file_text(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// DRAVOK01 from the old-release schema and the first demo club.
bool seed(const std::filesystem::path& data, const std::filesystem::path& source) {
  auto server = standin::Server::open(data);
  server->connect("master")->execute("CREATE DATABASE DRAVOK01");
  auto tenant = server->connect("DRAVOK01");
  tenant->execute("SET DATEFORMAT dmy");
  for (const char* file : {"demo/schema_old_release.sql", "demo/club_01.sql"}) {
    for (const std::string& batch : db::go_batches(file_text(source / file) + "\nGO\n")) {
      if (batch.find_first_not_of(" \t\r\n") == std::string::npos) continue;
      standin::BatchResult result = tenant->execute(batch);
      if (!result.ok()) {
        std::printf("seeding %s failed: %s\n", file, result.errors.front().message.c_str());
        return false;
      }
    }
  }
  return true;
}

long long rows_in_tenant(db::Connection& work) {
  long long total = 0;
  db::Rowset tables = work.query("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES");
  for (size_t i = 0; i < tables.rows.size(); ++i)
    total += std::stoll(work.query("SELECT COUNT(*) FROM [" + tables.text(i, "TABLE_NAME") + "]").text(0, ""));
  return total;
}

void run_once(const char* title, const std::filesystem::path& ini) {
  SilentUi ui;
  upgrade::UiFeedback feedback(ui);
  auto factory = db::make_backend_factory();
  db::Connections connections(*factory, ini, feedback);
  db::StatementRunner runner(connections, feedback);
  std::map<std::string, long> sent;
  long total = 0;
  runner.add_observer([&](const db::StatementRecord& r) {
    if (r.skipped) return;
    ++sent[db::to_string(r.channel)];
    ++total;
  });
  connections.MandantChange("DRAVOK01");
  const long long rows_before = rows_in_tenant(connections.work());
  db::Primitives sql(runner);
  upgrade::Progress progress(ui);
  upgrade::Tenant tenant{sql, progress, ui};
  const auto start = std::chrono::steady_clock::now();
  progress.start();
  upgrade::run_stages(tenant);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %.0f ms, %ld statements sent (", title, ms, total);
  const char* separator = "";
  for (const auto& [channel, count] : sent) {
    std::printf("%s%s %ld", separator, channel.c_str(), count);
    separator = ", ";
  }
  std::printf("), rows in the tenant %lld before, %lld after\n", rows_before,
              rows_in_tenant(connections.work()));
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path source = argc > 1 ? argv[1] : SQLUPDATE_SOURCE_DIR;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tenant_upgrade_bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  if (!seed(dir / "data", source)) return 1;
  std::ofstream(dir / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\nData Source=data\n";
  run_once("first run", dir / "SysDBAdo.INI");
  run_once("re-run", dir / "SysDBAdo.INI");
  std::filesystem::remove_all(dir);
  return 0;
}
