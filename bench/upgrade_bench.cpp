// The whole upgrade of a server with N demo tenants, the way users wait for
// it: the tool's run (every tenant through stages I to III, then the
// finishing pass) over the embedded backend, once on tenants of an old
// release and once more on the upgraded tenants. Prints per N the seconds
// per tenant of both runs, the statements sent, the syncs of the data
// directory, the peak resident memory, and how the time per tenant scales.
// Each N runs in a child process of its own, so that peak memory is its own.
// Asserts nothing.
//
// usage: upgrade_bench [N ...]   (default: 1 10 50; the discovery catalogue,
// itself a tenant, comes on top of the N clubs)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "db/connection_factory.h"
#include "db/primitives.h"
#include "standin/standin.h"
#include "storage/file_io.h"
#include "upgrade/run_driver.h"
#include "upgrade/ui.h"

#include "isolated_run.h"

namespace {

namespace fs = std::filesystem;

struct SilentUi final : upgrade::Ui {
  void set_caption(const std::string&) override {}
  void set_progress(int) override {}
  void set_wait_cursor(bool) override {}
  void process_messages() override {}
  void show_dialog(upgrade::DialogKind, const std::string& text, upgrade::Dismissal) override {
    std::fprintf(stderr, "  dialog: %s\n", text.c_str());
  }
  void request_close() override {}
};

std::string file_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One database from the old-release schema and a data script. The batches
// run in one transaction, so that seeding costs one sync per tenant.
bool seed_database(standin::Server& server, const std::string& name, const fs::path& source, const char* data_file) {
  server.connect("master")->execute("CREATE DATABASE " + name);
  auto tenant = server.connect(name);
  tenant->execute("SET DATEFORMAT dmy");
  tenant->execute("BEGIN TRANSACTION");
  for (const char* file : {"demo/schema_old_release.sql", data_file}) {
    for (const std::string& batch : db::go_batches(file_text(source / file) + "\nGO\n")) {
      if (batch.find_first_not_of(" \t\r\n") == std::string::npos) continue;
      standin::BatchResult result = tenant->execute(batch);
      if (!result.ok()) {
        std::fprintf(stderr, "seeding %s from %s failed: %s\n", name.c_str(), file,
                     result.errors.front().message.c_str());
        return false;
      }
    }
  }
  return tenant->execute("COMMIT").ok();
}

// The discovery catalogue DRAVOK and the clubs DRAVOK01 .. DRAVOKnn.
bool seed(const fs::path& data, const fs::path& source, int clubs) {
  auto server = standin::Server::open(data);
  if (!seed_database(*server, "DRAVOK", source, "demo/catalogue.sql")) return false;
  for (int i = 1; i <= clubs; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "DRAVOK%02d", i);
    if (!seed_database(*server, name, source, "demo/club_01.sql")) return false;
  }
  return true;
}

struct RunFigures {
  double seconds = 0;
  double cpu_seconds = 0;  // user and system: the part a faster disk does not change
  long statements = 0;
  unsigned long long syncs = 0;
  bool completed = false;
};

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Timed up to the end of the tool's process: the embedded server's closing
// checkpoint included.
RunFigures run_tool(const fs::path& ini) {
  SilentUi ui;
  RunFigures figures;
  const auto syncs = standin::storage::syncs_so_far();
  const double cpu = cpu_seconds();
  const auto start = std::chrono::steady_clock::now();
  upgrade::RunOutcome outcome;
  {
    auto factory = db::make_backend_factory();
    upgrade::RunDriver driver(ui, *factory, ini);
    driver.add_observer([&](const db::StatementRecord& r) { figures.statements += r.skipped ? 0 : 1; });
    outcome = driver.run();
  }
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  figures.syncs = standin::storage::syncs_so_far() - syncs;
  figures.cpu_seconds = cpu_seconds() - cpu;
  figures.completed = outcome.ending != upgrade::RunOutcome::Ending::Aborted;
  if (!figures.completed) std::fprintf(stderr, "  run aborted: %s\n", outcome.abort_text.c_str());
  return figures;
}

// What the child sends back through the pipe.
struct Report {
  int tenants = 0;
  RunFigures first, rerun;
  long start_rss_kb = 0;
};

Report upgrade_server(const fs::path& source, int clubs) {
  Report report;
  const fs::path dir = fs::temp_directory_path() / ("upgrade_bench_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  if (seed(dir / "data", source, clubs)) {
    std::ofstream(dir / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\nData Source=data\n";
    report.tenants = clubs + 1;
    report.start_rss_kb = bench::own_max_rss_kb();
    report.first = run_tool(dir / "SysDBAdo.INI");
    report.rerun = run_tool(dir / "SysDBAdo.INI");
  }
  fs::remove_all(dir);
  return report;
}

// Runs upgrade_server in a child; returns false when the child failed.
bool measure(const fs::path& source, int clubs, Report* report, long* peak_rss_kb) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    Report r = upgrade_server(source, clubs);
    _exit(write(fds[1], &r, sizeof r) == sizeof r ? 0 : 1);
  }
  close(fds[1]);
  ssize_t got = read(fds[0], report, sizeof *report);
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  *peak_rss_kb = usage.ru_maxrss;
  return got == static_cast<ssize_t>(sizeof *report) && report->tenants > 0;
}

void print_run(const char* title, const RunFigures& run, int tenants) {
  std::printf("  %-9s %7.3f s per tenant (cpu %.3f s)  %6ld statements  %6llu syncs per tenant%s\n", title,
              run.seconds / tenants, run.cpu_seconds / tenants, run.statements / tenants,
              run.syncs / static_cast<unsigned long long>(tenants), run.completed ? "" : "  (aborted)");
}

}  // namespace

int main(int argc, char** argv) {
  const char* from_env = std::getenv("SQLUPDATE_SOURCE_DIR");
  const fs::path source = from_env ? from_env : SQLUPDATE_SOURCE_DIR;
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {1, 10, 50};

  double first_per_tenant = 0, first_rss = 0;
  for (int clubs : counts) {
    Report report;
    long peak_kb = 0;
    if (!measure(source, clubs, &report, &peak_kb)) {
      std::printf("N = %d: FAILED (see above)\n", clubs);
      return 1;
    }
    const double per_tenant = report.first.seconds / report.tenants;
    std::printf("N = %d clubs (%d tenants with the catalogue)\n", clubs, report.tenants);
    print_run("first run", report.first, report.tenants);
    print_run("re-run", report.rerun, report.tenants);
    std::printf("  peak %.1f MB (%.1f MB after seeding)\n", peak_kb / 1024.0, report.start_rss_kb / 1024.0);
    if (first_per_tenant == 0) {
      first_per_tenant = per_tenant;
      first_rss = static_cast<double>(peak_kb);
    } else {
      std::printf("  against N = %d: time per tenant %.2fx, peak memory %.2fx\n", counts.front(),
                  per_tenant / first_per_tenant, peak_kb / first_rss);
    }
    std::fflush(stdout);
  }
  return 0;
}
