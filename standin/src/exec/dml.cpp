// INSERT, UPDATE, DELETE and TRUNCATE TABLE.
#include <unordered_map>

#include "exec/executor.h"
#include "exec/messages.h"
#include "exec/table_definition.h"
#include "types/convert.h"

namespace standin {

namespace {

bool identity_insert_on(const SessionState& s, const Database& db, const Table& t) {
  return s.identity_insert && names_equal(s.identity_insert->first, db.name) &&
         names_equal(s.identity_insert->second, t.name);
}

// The target of UPDATE/DELETE with a FROM clause: the source that the
// target name stands for (an alias, or the one instance of the table).
int find_target_source(const FromResult& from, const std::vector<std::string>& target, const Table* table) {
  if (target.size() == 1)
    for (size_t i = 0; i < from.scope.sources.size(); ++i)
      if (!from.scope.sources[i]->alias.empty() && names_equal(from.scope.sources[i]->alias, target[0]))
        return static_cast<int>(i);
  for (size_t i = 0; i < from.scope.sources.size(); ++i)
    if (table && from.scope.sources[i]->table == table) return static_cast<int>(i);
  return -1;
}

// The rows an UPDATE or DELETE changes: its FROM clause after WHERE (the
// target table alone without one) and which source is the target.
struct ChangedRows {
  Database* db = nullptr;
  Table* table = nullptr;
  std::unique_ptr<FromResult> from;
  int source = 0;
};

ChangedRows changed_rows(Executor& ex, Statement& s) {
  ChangedRows out;
  out.db = &ex.current_database();
  if (s.from.empty()) {
    out.table = ex.resolve_table(s.target, true, &out.db);
    auto ref = std::make_unique<TableRef>();
    ref->names = s.target;
    s.from.push_back(std::move(ref));
    out.from = ex.evaluate_from(s.from, s.where.get(), nullptr, nullptr);
    return out;
  }
  Table* named = ex.resolve_table(s.target, false, &out.db);
  out.from = ex.evaluate_from(s.from, s.where.get(), nullptr, nullptr);
  out.source = find_target_source(*out.from, s.target, named);
  if (out.source < 0) throw_invalid_object_name(s.target.back());
  out.table = out.from->scope.sources[static_cast<size_t>(out.source)]->table;
  if (!out.table) throw_derived_table_not_updatable();
  return out;
}

// The columns of UPDATE's SET list, in order; their expressions are bound
// against the statement's sources.
std::vector<int> bind_assignments(Executor& ex, Statement& s, const Table& t, const Scope& scope) {
  std::vector<int> set_columns;
  for (auto& [names, expr] : s.assignments) {
    int c = t.find_column(names.back());
    if (c < 0) throw_invalid_column_name(names.back());
    if (t.columns[static_cast<size_t>(c)].identity)
      throw_error(8102, "Cannot update identity column '" + t.columns[static_cast<size_t>(c)].name + "'.");
    set_columns.push_back(c);
    ex.bind(*expr, scope, nullptr);
  }
  return set_columns;
}

}  // namespace

void Executor::insert_rows(Table& t, std::vector<int> target_columns, std::vector<Row> values, Database& db,
                           int64_t* count) {
  undo_.before_insert(&t);
  size_t first_new = t.rows.size();
  int id_col = t.identity_column();
  bool explicit_identity = false;
  for (int c : target_columns) explicit_identity = explicit_identity || c == id_col;

  for (Row& source : values) {
    Row row(t.columns.size());
    std::vector<bool> given(t.columns.size(), false);
    for (size_t i = 0; i < target_columns.size(); ++i) {
      size_t c = static_cast<size_t>(target_columns[i]);
      const Column& col = t.columns[c];
      Value out;
      Error err;
      if (!assign_value(source[i], col.type, ctx_, &out, &err)) throw_error(err);
      row[c] = std::move(out);
      given[c] = true;
    }
    for (size_t c = 0; c < t.columns.size(); ++c) {
      const Column& col = t.columns[c];
      if (static_cast<int>(c) == id_col && !given[c]) {
        int64_t next = 0;
        Value v;
        Error err;
        if (!t.next_identity(col, &next) || !assign_value(Value::integer(next, Type::BigInt), col.type, ctx_, &v, &err))
          throw_identity_overflow(col);
        t.identity_current = next;
        t.identity_used = true;
        row[c] = std::move(v);
        continue;
      }
      if (!given[c]) {
        row[c] = col.default_constraint ? col.default_constraint->value : Value::null(col.type);
        if (col.default_constraint) {
          Value v;
          Error err;
          if (assign_value(col.default_constraint->value, col.type, ctx_, &v, &err)) row[c] = std::move(v);
        }
      }
      if (row[c].is_null() && !col.nullable) throw_null_not_allowed(db, t, col, "INSERT");
      if (row[c].is_null()) row[c] = Value::null(col.type);
    }
    if (explicit_identity && id_col >= 0 && !row[static_cast<size_t>(id_col)].is_null()) {
      // An explicit identity value moves the counter forward, never back.
      int64_t v = row[static_cast<size_t>(id_col)].type().is_integer()
                      ? row[static_cast<size_t>(id_col)].int_value()
                      : static_cast<int64_t>(row[static_cast<size_t>(id_col)].decimal_value().to_double());
      const Column& col = t.columns[static_cast<size_t>(id_col)];
      if (!t.identity_used || (col.increment > 0 ? v > t.identity_current : v < t.identity_current)) {
        t.identity_current = v;
        t.identity_used = true;
      }
    }
    t.rows.push_back(std::move(row));
  }
  check_unique_keys(t, db, first_new, false);
  if (!t.foreign_keys.empty()) {
    std::vector<size_t> added;
    for (size_t i = first_new; i < t.rows.size(); ++i) added.push_back(i);
    check_foreign_keys_of(t, db, added, "INSERT");
  }
  if (!t.checks.empty()) {
    std::vector<size_t> added;
    for (size_t i = first_new; i < t.rows.size(); ++i) added.push_back(i);
    check_constraints_of(*this, db, t, added, "INSERT");
  }
  *count = static_cast<int64_t>(values.size());
}

void Executor::run_insert(Statement& s, BatchResult& out) {
  Database* db = nullptr;
  Table& t = *resolve_table(s.target, true, &db);
  std::vector<int> targets = s.default_values ? std::vector<int>{} : insert_targets(s, t, *db);
  std::vector<Row> rows = insert_source_rows(s, targets);
  int64_t count = 0;
  insert_rows(t, std::move(targets), std::move(rows), *db, &count);
  out.rows_affected = count;
}

// The columns an INSERT fills, in the order of its values: the column list,
// or every column but the identity.
std::vector<int> Executor::insert_targets(const Statement& s, const Table& t, const Database& db) {
  int id_col = t.identity_column();
  bool id_insert = identity_insert_on(session_, db, t);
  std::vector<int> targets;
  if (!s.columns.empty()) {
    for (const std::string& name : s.columns) {
      int c = t.find_column(name);
      if (c < 0) throw_invalid_column_name(name);
      targets.push_back(c);
    }
    bool has_identity = std::find(targets.begin(), targets.end(), id_col) != targets.end() && id_col >= 0;
    if (has_identity && !id_insert)
      throw_error(544, "Cannot insert explicit value for identity column in table '" + t.name +
                           "' when IDENTITY_INSERT is set to OFF.");
    if (!has_identity && id_insert && id_col >= 0)
      throw_error(545, "Explicit value must be specified for identity column in table '" + t.name +
                           "' either when IDENTITY_INSERT is set to ON or when a replication user is inserting "
                           "into a NOT FOR REPLICATION identity column.");
  } else {
    if (id_insert && id_col >= 0 && !s.default_values)
      throw_error(8101, "An explicit value for the identity column in table '" + t.name +
                            "' can only be specified when a column list is used and IDENTITY_INSERT is ON.");
    for (size_t c = 0; c < t.columns.size(); ++c)
      if (static_cast<int>(c) != id_col) targets.push_back(static_cast<int>(c));
  }
  return targets;
}

// The rows of VALUES or of the query, checked against the number of targets.
std::vector<Row> Executor::insert_source_rows(Statement& s, const std::vector<int>& targets) {
  std::vector<Row> rows;
  if (s.default_values) {
    rows.emplace_back();
  } else if (!s.values.empty()) {
    for (auto& value_row : s.values) {
      if (value_row.size() != targets.size()) {
        if (!s.columns.empty())
          throw_error(value_row.size() > targets.size() ? 110 : 109,
                      value_row.size() > targets.size()
                          ? "There are fewer columns in the INSERT statement than values specified in the VALUES "
                            "clause. The number of values in the VALUES clause must match the number of columns "
                            "specified in the INSERT statement."
                          : "There are more columns in the INSERT statement than values specified in the VALUES "
                            "clause. The number of values in the VALUES clause must match the number of columns "
                            "specified in the INSERT statement.",
                      15);
        throw_insert_column_count_mismatch();
      }
      Row r;
      r.reserve(value_row.size());
      for (auto& e : value_row) r.push_back(eval_constant(*e));
      rows.push_back(std::move(r));
    }
  } else {
    ResultSet rs = run_query(*s.query, nullptr, nullptr);
    if (rs.columns.size() != targets.size()) {
      if (s.columns.empty()) throw_insert_column_count_mismatch();
      throw_error(rs.columns.size() < targets.size() ? 120 : 121,
                  rs.columns.size() < targets.size()
                      ? "The select list for the INSERT statement contains fewer items than the insert list. The "
                        "number of SELECT values must match the number of INSERT columns."
                      : "The select list for the INSERT statement contains more items than the insert list. The number "
                        "of SELECT values must match the number of INSERT columns.",
                  15);
    }
    rows = std::move(rs.rows);
  }
  return rows;
}

void Executor::run_update(Statement& s, BatchResult& out) {
  ChangedRows target = changed_rows(*this, s);
  Database* db = target.db;
  std::unique_ptr<FromResult>& from = target.from;
  Table& t = *target.table;
  std::vector<int> set_columns = bind_assignments(*this, s, t, from->scope);

  // New values, computed from the old rows; the first match of a row wins.
  const Row* base = t.rows.data();
  std::unordered_map<size_t, Row> changes;
  std::vector<size_t> order;
  for (const Tuple& tuple : from->tuples) {
    const Row* row = tuple[static_cast<size_t>(target.source)];
    if (!row) continue;
    size_t index = static_cast<size_t>(row - base);
    if (changes.count(index)) continue;
    Frame f{&tuple, nullptr, nullptr, &from->scope};
    Row updated = *row;
    for (size_t i = 0; i < set_columns.size(); ++i) {
      const Column& col = t.columns[static_cast<size_t>(set_columns[i])];
      Value v = eval(*s.assignments[i].second, f);
      Value stored;
      Error err;
      if (!assign_value(v, col.type, ctx_, &stored, &err)) throw_error(err);
      if (stored.is_null() && !col.nullable) throw_null_not_allowed(*db, t, col, "UPDATE");
      if (stored.is_null()) stored = Value::null(col.type);
      updated[static_cast<size_t>(set_columns[i])] = std::move(stored);
    }
    changes.emplace(index, std::move(updated));
    order.push_back(index);
  }
  if (s.top) {
    Value n = eval_constant(*s.top);
    if (!n.is_null() && static_cast<size_t>(n.int_value()) < order.size()) {
      for (size_t i = static_cast<size_t>(n.int_value()); i < order.size(); ++i) changes.erase(order[i]);
      order.resize(static_cast<size_t>(n.int_value()));
    }
  }
  from.reset();
  if (!order.empty()) {
    undo_.before_change(&t);
    std::vector<Row> before, after;
    for (size_t index : order) {
      before.push_back(t.rows[index]);
      t.rows[index] = std::move(changes[index]);
      after.push_back(t.rows[index]);
    }
    t.touch();
    check_unique_keys(t, *db, 0, true);
    check_foreign_keys_of(t, *db, order, "UPDATE");
    check_constraints_of(*this, *db, t, order, "UPDATE");
    cascade_update(*this, *db, t, before, after);
  }
  out.rows_affected = static_cast<int64_t>(order.size());
}

void Executor::run_delete(Statement& s, BatchResult& out) {
  ChangedRows target = changed_rows(*this, s);
  Database* db = target.db;
  std::unique_ptr<FromResult>& from = target.from;
  int target_source = target.source;
  Table& t = *target.table;
  const Row* base = t.rows.data();
  std::vector<bool> doomed(t.rows.size(), false);
  size_t count = 0;
  int64_t limit = -1;
  if (s.top) {
    Value n = eval_constant(*s.top);
    if (!n.is_null()) limit = n.int_value();
  }
  for (const Tuple& tuple : from->tuples) {
    const Row* row = tuple[static_cast<size_t>(target_source)];
    if (!row) continue;
    size_t index = static_cast<size_t>(row - base);
    if (doomed[index]) continue;
    if (limit >= 0 && static_cast<int64_t>(count) >= limit) break;
    doomed[index] = true;
    ++count;
  }
  from.reset();
  if (count > 0) {
    undo_.before_change(&t);
    std::vector<Row> kept, removed;
    kept.reserve(t.rows.size() - count);
    for (size_t i = 0; i < t.rows.size(); ++i) (doomed[i] ? removed : kept).push_back(std::move(t.rows[i]));
    t.rows = std::move(kept);
    t.touch();
    cascade_delete(*this, *db, t, removed);
  }
  out.rows_affected = static_cast<int64_t>(count);
}

void Executor::run_truncate(Statement& s) {
  Database* db = nullptr;
  Table& t = *resolve_table(s.target, true, &db);
  for (const auto& other : db->tables)
    for (const ForeignKey& fk : other->foreign_keys)
      if (names_equal(fk.ref_table, t.name))
        throw_error(
            4712, "Cannot truncate table '" + t.name + "' because it is being referenced by a FOREIGN KEY constraint.");
  undo_.before_schema(&t);
  t.rows.clear();
  t.identity_used = false;
  t.identity_current = 0;
  t.touch();
}

}  // namespace standin
