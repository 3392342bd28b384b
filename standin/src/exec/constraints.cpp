// Key and reference checks: primary keys and unique indexes refuse
// duplicates, foreign keys refuse orphans and cascade where declared.
#include "exec/executor.h"

namespace standin {

namespace {

std::string key_display(const Row& row, const std::vector<int>& cols) {
  std::string s;
  for (size_t i = 0; i < cols.size(); ++i) {
    if (i) s += ", ";
    const Value& v = row[static_cast<size_t>(cols[i])];
    s += v.is_null() ? "<NULL>" : v.to_display();
  }
  return s;
}

[[noreturn]] void duplicate_error(const Table& t, const KeyIndex& k, const Row& row, const std::vector<int>& cols) {
  std::string value = key_display(row, cols);
  if (k.object_id != 0)
    throw_error(2627,
                "Violation of " + std::string(k.primary ? "PRIMARY KEY" : "UNIQUE KEY") + " constraint '" + k.name +
                    "'. Cannot insert duplicate key in object '" + qualified_table_name(t) +
                    "'. The duplicate key value is (" + value + ").",
                14);
  throw_error(2601,
              "Cannot insert duplicate key row in object '" + qualified_table_name(t) + "' with unique index '" +
                  k.name + "'. The duplicate key value is (" + value + ").",
              14);
}

}  // namespace

std::string qualified_table_name(const Table& t) { return "dbo." + t.name; }

// SQL Server names the column of a reference conflict only when the key has
// one column; a composite key is reported by its database and table alone.
std::string conflict_place(const Database& db, const Table& t, const std::vector<std::string>& columns) {
  std::string place =
      "The conflict occurred in database \"" + db.name + "\", table \"" + qualified_table_name(t) + "\"";
  if (columns.size() == 1) place += ", column '" + columns[0] + "'";
  return place + ".";
}

void check_unique_keys(Table& t, Database&, size_t first_new_row, bool all_rows) {
  bool any_unique = false;
  for (const KeyIndex& k : t.indexes) any_unique = any_unique || k.unique;
  if (!any_unique) return;

  auto& cache = t.key_cache;
  bool reuse = !all_rows && cache && cache->generation == t.generation && cache->rows == first_new_row &&
               cache->keys.size() == t.indexes.size();
  if (!reuse) {
    cache = std::make_shared<Table::KeyCache>();
    cache->generation = t.generation;
    cache->keys.resize(t.indexes.size());
    first_new_row = 0;
  }
  for (size_t ki = 0; ki < t.indexes.size(); ++ki) {
    const KeyIndex& k = t.indexes[ki];
    if (!k.unique) continue;
    std::vector<int> cols = t.column_indexes(k.columns);
    auto& keys = cache->keys[ki];
    for (size_t r = first_new_row; r < t.rows.size(); ++r) {
      if (!keys.insert(row_key(t.rows[r], cols)).second) {
        cache.reset();
        duplicate_error(t, k, t.rows[r], cols);
      }
    }
  }
  cache->rows = t.rows.size();
}

void check_foreign_keys_of(Table& t, Database& db, const std::vector<size_t>& rows, const char* statement) {
  for (const ForeignKey& fk : t.foreign_keys) {
    Table* parent = db.find_table(fk.ref_table);
    if (!parent || fk.disabled) continue;
    std::vector<int> child_cols = t.column_indexes(fk.columns);
    std::vector<int> parent_cols = parent->column_indexes(fk.ref_columns);
    std::unordered_set<std::string> parent_keys;
    for (const Row& r : parent->rows) parent_keys.insert(row_key(r, parent_cols));
    for (size_t i : rows) {
      const Row& r = t.rows[i];
      bool has_null = false;
      for (int c : child_cols) has_null = has_null || r[static_cast<size_t>(c)].is_null();
      if (has_null) continue;
      if (!parent_keys.count(row_key(r, child_cols)))
        throw_error(547, std::string("The ") + statement + " statement conflicted with the FOREIGN KEY constraint \"" +
                             fk.name + "\". " + conflict_place(db, *parent, fk.ref_columns));
    }
  }
}

// Rows of `parent` are about to go: delete the children of cascading keys,
// refuse when a non-cascading key still refers to one of them.
void cascade_delete(Executor& ex, Database& db, Table& parent, const std::vector<Row>& deleted) {
  for (auto& child_ptr : db.tables) {
    Table& child = *child_ptr;
    for (const ForeignKey& fk : child.foreign_keys) {
      if (fk.disabled || !names_equal(fk.ref_table, parent.name)) continue;
      std::vector<int> parent_cols = parent.column_indexes(fk.ref_columns);
      std::vector<int> child_cols = child.column_indexes(fk.columns);
      std::unordered_set<std::string> gone;
      for (const Row& r : deleted) gone.insert(row_key(r, parent_cols));
      // A key value that some remaining row still holds is not gone.
      for (const Row& r : parent.rows) gone.erase(row_key(r, parent_cols));
      if (gone.empty()) continue;
      std::vector<Row> removed, kept;
      for (Row& r : child.rows) {
        if (gone.count(row_key(r, child_cols)))
          removed.push_back(r);
        else
          kept.push_back(r);
      }
      if (removed.empty()) continue;
      if (!fk.delete_cascade)
        throw_error(547, "The DELETE statement conflicted with the REFERENCE constraint \"" + fk.name + "\". " +
                             conflict_place(db, child, fk.columns));
      ex.undo().before_change(&child);
      child.rows = std::move(kept);
      child.touch();
      cascade_delete(ex, db, child, removed);
    }
  }
}

// Key values of `parent` changed from `before` to `after` (same order):
// carry them into cascading children, refuse orphans otherwise.
void cascade_update(Executor& ex, Database& db, Table& parent, const std::vector<Row>& before,
                    const std::vector<Row>& after) {
  for (auto& child_ptr : db.tables) {
    Table& child = *child_ptr;
    for (const ForeignKey& fk : child.foreign_keys) {
      if (fk.disabled || !names_equal(fk.ref_table, parent.name)) continue;
      std::vector<int> parent_cols = parent.column_indexes(fk.ref_columns);
      std::vector<int> child_cols = child.column_indexes(fk.columns);
      std::unordered_map<std::string, const Row*> changed;
      for (size_t i = 0; i < before.size(); ++i) {
        std::string old_key = row_key(before[i], parent_cols);
        if (old_key != row_key(after[i], parent_cols)) changed.emplace(old_key, &after[i]);
      }
      if (changed.empty()) continue;
      std::unordered_set<std::string> still_there;
      for (const Row& r : parent.rows) still_there.insert(row_key(r, parent_cols));
      bool touched = false;
      for (Row& r : child.rows) {
        auto it = changed.find(row_key(r, child_cols));
        if (it == changed.end() || still_there.count(it->first)) continue;
        if (!fk.update_cascade)
          throw_error(547, "The UPDATE statement conflicted with the REFERENCE constraint \"" + fk.name + "\". " +
                               conflict_place(db, child, fk.columns));
        if (!touched) ex.undo().before_change(&child);
        touched = true;
        for (size_t k = 0; k < child_cols.size(); ++k)
          r[static_cast<size_t>(child_cols[k])] = (*it->second)[static_cast<size_t>(parent_cols[k])];
      }
      if (touched) child.touch();
    }
  }
}

}  // namespace standin
