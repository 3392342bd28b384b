// Stage I on a work connection whose every statement is recorded, with the
// progress steps, dialogs and close requests in their places. The scripted
// backend answers every query by `present` (rows when it returns true) and
// fails every statement whose text contains a key of `refusals`.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connections.h"
#include "db/primitives.h"
#include "db/statement_runner.h"
#include "upgrade/progress.h"
#include "upgrade/stage_one.h"
#include "upgrade/tenant.h"

namespace stage1_testing {

struct Catalogue {
  std::function<bool(const std::string&)> present = [](const std::string&) { return false; };
  std::map<std::string, db::Rowset> rows;       // exact query text -> rows read
  std::map<std::string, std::string> refusals;  // text fragment -> error
};

class CatalogueConnection final : public db::Connection {
 public:
  explicit CatalogueConnection(Catalogue& catalogue) : catalogue_(catalogue) {}
  void open() override { open_ = true; }
  void close() override { open_ = false; }
  bool is_open() const override { return open_; }
  void execute(std::string_view text) override { refuse_if_listed(text); }
  void execute(std::string_view text, std::span<const db::Parameter>) override { refuse_if_listed(text); }
  db::Rowset query(std::string_view text) override {
    refuse_if_listed(text);
    std::string key(text);
    if (auto it = catalogue_.rows.find(key); it != catalogue_.rows.end()) return it->second;
    db::Rowset r;
    if (catalogue_.present(key)) {
      r.columns = {"x"};
      r.rows.push_back({std::string("1")});
    }
    return r;
  }

 private:
  void refuse_if_listed(std::string_view text) {
    for (const auto& [fragment, message] : catalogue_.refusals)
      if (text.find(fragment) != std::string_view::npos) throw db::DbError(message);
  }
  Catalogue& catalogue_;
  bool open_ = false;
};

class CatalogueFactory final : public db::ConnectionFactory {
 public:
  explicit CatalogueFactory(Catalogue& catalogue) : catalogue_(catalogue) {}
  std::unique_ptr<db::Connection> make(const db::Settings&, std::string_view) override {
    return std::make_unique<CatalogueConnection>(catalogue_);
  }

 private:
  Catalogue& catalogue_;
};

// One line of a run's log: a statement, or a note on what the user saw
// (a progress value with its counter, a dialog, a close request).
struct Entry {
  std::optional<db::StatementRecord> statement;
  std::string note;
};

// Keeps the dialogs and close requests of the db layer, and notes them in
// the log where they happen.
struct LoggingFeedback final : db::Feedback {
  struct Shown {
    db::Report kind;
    std::string text;
  };
  std::vector<Entry>* log = nullptr;
  std::vector<Shown> reports;
  int close_requests = 0;

  void report(db::Report kind, const std::string& text) override {
    reports.push_back({kind, text});
    static const char* const kNames[] = {"warning", "error", "plain"};
    log->push_back({std::nullopt, std::string("[dialog ") + kNames[static_cast<int>(kind)] + "] " + text});
  }
  void set_wait_cursor(bool) override {}
  void request_close() override {
    ++close_requests;
    log->push_back({std::nullopt, "[close request]"});
  }
};

// Passes every progress value on to `on_progress`.
struct ProgressUi final : upgrade::Ui {
  std::function<void()> on_progress;
  void set_caption(const std::string&) override {}
  void set_progress(int) override {
    if (on_progress) on_progress();
  }
  void set_wait_cursor(bool) override {}
  void process_messages() override {}
  void show_dialog(upgrade::DialogKind, const std::string&, upgrade::Dismissal) override {}
  void request_close() override {}
};

// The objects of one run of stage I on the work connection that `Backend`
// (a base holding `factory`) provides.
template <typename Backend>
class StageOneFixture : public ::testing::Test, protected Backend {
 protected:
  StageOneFixture() {
    runner.add_observer([this](const db::StatementRecord& r) {
      transcript.push_back(r);
      log.push_back({r, {}});
    });
    feedback.log = &log;
    ui.on_progress = [this] {
      log.push_back({std::nullopt, "[progress] counter " + std::to_string(progress.counter())});
    };
    connections.MandantChange("DRAVOK01");
    // The approved transcripts show the session settings of the switch; the
    // statements the tests look at begin after them.
    transcript.clear();
  }

  // Runs stage I from the frame's start (counter 1).
  void run_stage_one() {
    progress.start();
    upgrade::run_stage_one(tenant);
  }

  // The column probe of AddField for `table`.`column`.
  static bool is_column_probe(const std::string& q, std::string_view table, std::string_view column) {
    return q.find("Table_Name='" + std::string(table) + "' AND Column_Name='" + std::string(column) + "'") !=
           std::string::npos;
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& r : transcript) out.push_back(r.text);
    return out;
  }
  bool sent(std::string_view text) const { return index_of(text) >= 0; }
  // Index of the first statement with exactly `text`, or -1.
  int index_of(std::string_view text) const {
    for (size_t i = 0; i < transcript.size(); ++i)
      if (transcript[i].text == text) return static_cast<int>(i);
    return -1;
  }

  std::vector<Entry> log;
  LoggingFeedback feedback;
  ProgressUi ui;
  db::Connections connections{this->factory, "/nonexistent/SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
  db::Primitives sql{runner};
  upgrade::Progress progress{ui};
  upgrade::Tenant tenant{sql, progress, ui};
  std::vector<db::StatementRecord> transcript;
};

struct ScriptedBackend {
  Catalogue catalogue;
  CatalogueFactory factory{catalogue};
};

using StageOneTest = StageOneFixture<ScriptedBackend>;

}  // namespace stage1_testing
