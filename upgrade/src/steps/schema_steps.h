// The small helpers that walk the tables of every stage: runs of add-column
// calls with their progress steps, and tables created (with their keys) only
// when the table probe misses them.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "upgrade/tenant.h"

namespace upgrade::steps {

// One AddField call of a run. `step_before` makes one progress step before
// the call.
struct ColumnAddition {
  bool step_before;
  std::string_view table;
  std::string_view column;
  std::string_view type;
  std::string_view size;
  std::string_view null_text;
};

inline constexpr bool kStepBefore = true;  // a progress step before the call
inline constexpr bool kNoStep = false;

// The calls in order, each silent. Which of them added its column is not
// reported: a step that depends on a new column adds that column with its
// own AddField call and asks its result.
void add_columns(Tenant& t, std::span<const ColumnAddition> run);

// Sends `statements` one after another through qryExec, each under `guard`.
void exec_each(Tenant& t, std::span<const char* const> statements, db::Guard guard);

// An ALTER COLUMN that gives a column another type. A DEFAULT constraint
// bound to the column would make the server refuse it, so such a default is
// dropped around it and added back (db::Primitives::AlterColumnType).
struct TypeChange {
  std::string_view table;
  std::string_view column;
  std::string_view new_type;  // as TYPE_NAME names it
  std::string_view statement;
};

// Sends each change through qryExec under `guard`, keeping the defaults.
void change_types(Tenant& t, std::span<const TypeChange> changes, db::Guard guard);

// A statement sent line by line, every line ended by CR LF.
using Lines = std::vector<std::string>;

// Probes for `table`; only when it is missing sends `statements` in order,
// each reported under `guard` (a warning dialog unless a block says
// otherwise) and each attempted whatever happened to the one before, and
// then `fill` (the table's first rows), if given. The table is the marker of
// all of it, so creation, keys and rows are one transaction: a crash never
// leaves a table that later runs take as done but that lacks its key or
// rows. Returns true when the table was missing.
bool create_if_missing(Tenant& t, std::string_view table, std::span<const Lines> statements,
                       db::Guard guard = db::Guard::warning(), const std::function<void()>& fill = nullptr);

// The text of the stored script `name` (a memo's lines joined by CR LF, or a
// command script's statements). Throws std::logic_error for a name the
// program does not carry: that is a programming error, not a server failure.
std::string_view stored_script(std::string_view name);

}  // namespace upgrade::steps
