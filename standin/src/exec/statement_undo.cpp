#include <algorithm>

#include "exec/executor.h"

namespace standin {

StatementUndo::Entry* StatementUndo::find(Table* t, Entry::Kind kind) {
  for (Entry& e : entries_)
    if (e.table == t && e.kind == kind) return &e;
  return nullptr;
}

void StatementUndo::before_insert(Table* t) {
  // A full copy or a row copy taken earlier already restores the rows.
  if (find(t, Entry::Kind::Insert) || find(t, Entry::Kind::Change) || find(t, Entry::Kind::Schema)) return;
  guard(t, nullptr, t->name);
  Entry e{Entry::Kind::Insert};
  e.table = t;
  e.row_count = t->rows.size();
  entries_.push_back(std::move(e));
}

bool StatementUndo::changed_nothing() const {
  return std::all_of(entries_.begin(), entries_.end(), [](const Entry& e) {
    return e.kind == Entry::Kind::Insert && e.table->rows.size() == e.row_count;
  });
}

void StatementUndo::before_change(Table* t) {
  if (find(t, Entry::Kind::Change) || find(t, Entry::Kind::Schema)) return;
  guard(t, nullptr, t->name);
  Entry e{Entry::Kind::Change};
  e.table = t;
  e.rows = t->rows;
  // An earlier insert entry of this statement restores to a shorter state.
  if (Entry* ins = find(t, Entry::Kind::Insert)) e.rows.resize(ins->row_count);
  entries_.push_back(std::move(e));
}

void StatementUndo::before_schema(Table* t) {
  if (find(t, Entry::Kind::Schema)) return;
  guard(t, nullptr, t->name);
  Entry e{Entry::Kind::Schema};
  e.table = t;
  e.copy = std::make_unique<Table>(*t);
  entries_.push_back(std::move(e));
}

void StatementUndo::before_function_change(Database* db, FunctionDef* f) {
  for (const Entry& e : entries_)
    if (e.function == f) return;
  guard(nullptr, db, f->name);
  Entry e{Entry::Kind::FunctionChange};
  e.db = db;
  e.function = f;
  e.function_copy = std::make_unique<FunctionDef>(*f);
  entries_.push_back(std::move(e));
}

// The entries for created and dropped objects are recorded before the guard
// is asked, so that a refusal undoes the creation or the drop.
void StatementUndo::created_table(Database* db, Table* t) {
  Entry e{Entry::Kind::CreateTable};
  e.db = db;
  e.table = t;
  entries_.push_back(std::move(e));
  guard(t, db, t->name);
}

void StatementUndo::dropped_table(Database* db, std::unique_ptr<Table> t) {
  Entry e{Entry::Kind::DropTable};
  e.db = db;
  const Table* table = t.get();
  e.copy = std::move(t);
  entries_.push_back(std::move(e));
  guard(table, db, table->name);
}

void StatementUndo::created_function(Database* db, FunctionDef* f) {
  Entry e{Entry::Kind::CreateFunction};
  e.db = db;
  e.function = f;
  entries_.push_back(std::move(e));
  guard(nullptr, db, f->name);
}

void StatementUndo::dropped_function(Database* db, std::unique_ptr<FunctionDef> f) {
  Entry e{Entry::Kind::DropFunction};
  e.db = db;
  const std::string name = f->name;
  e.function_copy = std::move(f);
  entries_.push_back(std::move(e));
  guard(nullptr, db, name);
}

// An entry held here restores an older state than `later` would, so `later`
// adds nothing: a table created here is removed as a whole; a row copy or a
// full copy restores the rows a later insert or row copy would; an insert
// entry only restores a row count, so a later row copy is still needed.
bool StatementUndo::covers(const Entry& later) {
  using Kind = Entry::Kind;
  switch (later.kind) {
    case Kind::Insert:
    case Kind::Change:
    case Kind::Schema:
      if (find(later.table, Kind::CreateTable) || find(later.table, Kind::Schema)) return true;
      if (later.kind == Kind::Schema) return false;
      return find(later.table, Kind::Change) || (later.kind == Kind::Insert && find(later.table, Kind::Insert));
    case Kind::FunctionChange:
      return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.function == later.function && (e.kind == Kind::FunctionChange || e.kind == Kind::CreateFunction);
      });
    default: return false;  // creations and drops are always undone in order
  }
}

void StatementUndo::absorb(StatementUndo&& later) {
  for (Entry& e : later.entries_) {
    if (covers(e)) continue;
    if (e.kind == Entry::Kind::Change)
      if (Entry* ins = find(e.table, Entry::Kind::Insert)) e.rows.resize(ins->row_count);
    entries_.push_back(std::move(e));
  }
  later.entries_.clear();
}

namespace {

// Identity values once handed out are not handed out again, also when the
// statement or transaction that took them is undone.
void restore_keeping_identity(Table* t, Table&& copy) {
  int live_column = t->identity_column();
  int copy_column = copy.identity_column();
  bool same_identity = live_column >= 0 && copy_column >= 0 &&
                       t->columns[static_cast<size_t>(live_column)].column_id ==
                           copy.columns[static_cast<size_t>(copy_column)].column_id;
  int64_t current = t->identity_current;
  bool used = t->identity_used;
  *t = std::move(copy);
  if (same_identity) {
    t->identity_current = current;
    t->identity_used = used;
  }
}

}  // namespace

void StatementUndo::rollback() {
  // Newest first, so that a later change is undone before an earlier one.
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    Entry& e = *it;
    switch (e.kind) {
      case Entry::Kind::Insert:
        e.table->touch();
        e.table->rows.resize(e.row_count);
        break;
      case Entry::Kind::Change:
        e.table->touch();
        e.table->rows = std::move(e.rows);
        break;
      case Entry::Kind::Schema:
        restore_keeping_identity(e.table, std::move(*e.copy));
        e.table->touch();
        break;
      case Entry::Kind::FunctionChange: *e.function = std::move(*e.function_copy); break;
      case Entry::Kind::CreateTable: e.db->remove_table(e.table); break;
      case Entry::Kind::DropTable: e.db->tables.push_back(std::move(e.copy)); break;
      case Entry::Kind::CreateFunction: {
        auto& fs = e.db->functions;
        fs.erase(std::remove_if(fs.begin(), fs.end(), [&](const auto& f) { return f.get() == e.function; }), fs.end());
        break;
      }
      case Entry::Kind::DropFunction: e.db->functions.push_back(std::move(e.function_copy)); break;
    }
  }
  entries_.clear();
}

}  // namespace standin
