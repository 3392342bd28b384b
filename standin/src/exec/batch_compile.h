// Compiling a command text before any of it runs, as SQL Server compiles a
// batch: each data statement (SELECT, INSERT, UPDATE, DELETE, also inside
// IF and BEGIN ... END) whose tables all exist when the batch starts is
// bound against them as they stand then, and a column that none of them
// has fails the whole batch with 207 before its first statement runs. So
// `ALTER TABLE t ADD x int` followed by `UPDATE t SET x = 1` in one batch
// runs neither. A statement that names a table missing at that point is
// compiled when it runs (deferred name resolution): a batch may create a
// table and then fill it.
//
// Limits: only what can be bound without running is checked here: columns
// of the statement's own tables, outside subqueries, derived tables, views
// and table-valued functions, and nothing after a USE, which changes the
// database the rest is compiled in. All of that is still bound, and
// refused, when its statement runs. Definitions (ALTER TABLE, CREATE INDEX)
// are compiled as they run, as on SQL Server.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "parser/ast.h"
#include "standin/standin.h"

namespace standin {

class BatchCompiler {
 public:
  // Binds against `database` as it stands when the batch starts.
  BatchCompiler(const Catalog& catalog, std::string_view database) : db_(catalog.find(database)) {}

  // Checks the next statement of the batch, in order. Returns false, with
  // one 207 per missing column of `s` in `errors`, when the batch fails.
  bool check(const Statement& s, std::vector<Error>* errors);

 private:
  const Database* db_;  // null: nothing to bind against
  bool after_use_ = false;
};

}  // namespace standin
