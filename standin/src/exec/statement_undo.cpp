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
  if (find(t, Entry::Kind::Insert) || find(t, Entry::Kind::Change) || find(t, Entry::Kind::Schema))
    return;
  Entry e{Entry::Kind::Insert};
  e.table = t;
  e.row_count = t->rows.size();
  entries_.push_back(std::move(e));
}

void StatementUndo::before_change(Table* t) {
  if (find(t, Entry::Kind::Change) || find(t, Entry::Kind::Schema)) return;
  Entry e{Entry::Kind::Change};
  e.table = t;
  e.rows = t->rows;
  // An earlier insert entry of this statement restores to a shorter state.
  if (Entry* ins = find(t, Entry::Kind::Insert)) e.rows.resize(ins->row_count);
  entries_.push_back(std::move(e));
}

void StatementUndo::before_schema(Table* t) {
  if (find(t, Entry::Kind::Schema)) return;
  Entry e{Entry::Kind::Schema};
  e.table = t;
  e.copy = std::make_unique<Table>(*t);
  entries_.push_back(std::move(e));
}

void StatementUndo::created_table(Database* db, Table* t) {
  Entry e{Entry::Kind::CreateTable};
  e.db = db;
  e.table = t;
  entries_.push_back(std::move(e));
}

void StatementUndo::dropped_table(Database* db, std::unique_ptr<Table> t) {
  Entry e{Entry::Kind::DropTable};
  e.db = db;
  e.copy = std::move(t);
  entries_.push_back(std::move(e));
}

void StatementUndo::created_function(Database* db, FunctionDef* f) {
  Entry e{Entry::Kind::CreateFunction};
  e.db = db;
  e.function = f;
  entries_.push_back(std::move(e));
}

void StatementUndo::dropped_function(Database* db, std::unique_ptr<FunctionDef> f) {
  Entry e{Entry::Kind::DropFunction};
  e.db = db;
  e.function_copy = std::move(f);
  entries_.push_back(std::move(e));
}

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
        *e.table = std::move(*e.copy);
        e.table->touch();
        break;
      case Entry::Kind::CreateTable:
        e.db->remove_table(e.table);
        break;
      case Entry::Kind::DropTable:
        e.db->tables.push_back(std::move(e.copy));
        break;
      case Entry::Kind::CreateFunction: {
        auto& fs = e.db->functions;
        fs.erase(std::remove_if(fs.begin(), fs.end(), [&](const auto& f) { return f.get() == e.function; }),
                 fs.end());
        break;
      }
      case Entry::Kind::DropFunction:
        e.db->functions.push_back(std::move(e.function_copy));
        break;
    }
  }
  entries_.clear();
}

}  // namespace standin
