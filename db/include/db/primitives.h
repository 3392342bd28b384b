// The schema and script vocabulary that the upgrade stages speak: idempotent
// schema operations that ask the catalogue first, the table and row probes,
// and the GO-batch script runner. Every statement
// goes through the StatementRunner on the work connection. Names are passed
// as literals and written into the text unchanged (no quoting).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/statement_runner.h"

namespace db {

class Primitives {
 public:
  explicit Primitives(StatementRunner& runner) : runner_(runner) {}

  // Adds `column` to dbo.`table` when the catalogue of the current tenant
  // database does not list it. Returns true when the column was missing
  // (whether or not the server accepted the addition), so that a step that
  // fills a new column asks the call that added it. The probe is unguarded,
  // the addition silent.
  bool AddField(std::string_view table, std::string_view column, std::string_view type, std::string_view size,
                std::string_view null_text);

  // Creates a non-clustered index unless an index of that name exists on
  // any table. Columns 2 to 4 may be empty. Reported with a warning.
  void AddIndex(std::string_view table, std::string_view index, std::string_view column1, std::string_view column2 = {},
                std::string_view column3 = {}, std::string_view column4 = {});

  // Drops a named constraint when an object of that name exists. Reported
  // with a warning.
  void DropConstraint(std::string_view table, std::string_view constraint);

  // Drops the primary key of `table`, whatever its name. Reported with a
  // warning; nothing is sent when the table has no primary key.
  void DropPrimaryKey(std::string_view table);

  // Sends `alter`, an ALTER TABLE ... ALTER COLUMN that gives `column` of
  // `table` the type `new_type` (a name as TYPE_NAME gives it: varchar,
  // numeric), on `channel` under `guard`, and returns whether it succeeded.
  // The server refuses to change the type of a column bound to a DEFAULT
  // constraint, so when the column has one and is not of `new_type` yet, the
  // default is dropped, the column altered and the same default (name and
  // definition) added back, all three in one transaction. Without such a
  // default only the probe is added. The probe is unguarded.
  bool AlterColumnType(std::string_view table, std::string_view column, std::string_view new_type,
                       std::string_view alter, Channel channel, Guard guard);

  // The table probe: true when any object named `table` exists. Unguarded.
  bool TableExists(std::string_view table);

  // A row probe: true when `query` returns rows. Unguarded.
  bool RowsExist(std::string_view query);

  // Cuts `script` into batches at its GO lines and sends them one by one;
  // a failing batch is shown in the plain message box and dropped. Text
  // after the last GO line is not sent. Never throws; asks the window to
  // close at the end.
  void SQLExec(std::string_view script);

  // Sends a whole text as one command on `channel` (qryExec, qryUpd or a
  // command script's own command object).
  bool Execute(std::string_view text, Channel channel, Guard guard);

  // What the last AddField returned. Kept for the stages that still ask
  // after the call; new code uses AddField's result.
  bool added() const { return added_; }

  StatementRunner& runner() { return runner_; }
  const std::string& current_database() const { return runner_.connections().current_database(); }

 private:
  StatementRunner& runner_;
  bool added_ = false;
};

// True for a line that separates batches: "GO" in any case, with any blanks
// or control characters around it.
bool is_go_line(std::string_view line);

// The batches that SQLExec sends for `script`, in order. Ordinary lines are
// kept unchanged, each followed by LF; the rest after the last GO line is
// dropped.
std::vector<std::string> go_batches(std::string_view script);

}  // namespace db
