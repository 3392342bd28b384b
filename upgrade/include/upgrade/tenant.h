// What a stage block works with while one tenant database is upgraded: the
// primitives on the work connection (AddField and friends, the added flag),
// the progress bar and the user interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/primitives.h"
#include "db/transaction.h"
#include "upgrade/progress.h"
#include "upgrade/ui.h"

namespace upgrade {

struct Tenant {
  db::Primitives& sql;
  Progress& progress;
  Ui& ui;
  // Stage III: set when the SKR 49 result categories were (re)loaded.
  bool reload = false;

  // One progress step.
  void step() { progress.step(); }

  // A statement given as one text (qryExec).
  bool exec(std::string_view text, db::Guard guard) { return sql.runner().run(db::Channel::Single, text, guard); }
  // A statement built line by line (qryUpd): every line ended by CR LF.
  bool lines(const std::vector<std::string>& text, db::Guard guard) { return sql.runner().run_lines(text, guard); }
  // Rows of a query; unguarded.
  db::Rowset read(std::string_view query) {
    return sql.runner().query(db::Channel::Probe, query, db::Guard::unguarded());
  }

  // Runs `work` as one transaction: a crash leaves all of it or none.
  template <typename Work>
  void atomically(Work&& work) {
    db::in_one_transaction(sql.runner(), work);
  }

  const std::string& database() const { return sql.current_database(); }
};

}  // namespace upgrade
