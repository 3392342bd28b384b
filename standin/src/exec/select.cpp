// Queries, phase by phase: the sources (FROM and WHERE, from_clause.cpp),
// the select list, grouping with aggregates and HAVING, DISTINCT, ORDER BY
// and TOP of each query term; then UNION [ALL], EXCEPT and INTERSECT between
// the terms and ORDER BY over their combination.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "exec/executor.h"
#include "exec/large_objects.h"
#include "exec/messages.h"
#include "parser/lexer.h"
#include "types/aggregate.h"
#include "types/compare.h"
#include "types/convert.h"

namespace standin {

namespace {

int compare_for_sort(const Value& a, const Value& b, const EvalContext& ctx) {
  // NULL sorts first, as on SQL Server.
  if (a.is_null() || b.is_null()) return a.is_null() == b.is_null() ? 0 : (a.is_null() ? -1 : 1);
  int r = 0;
  Error err;
  if (!compare_values(a, b, ctx, &r, &err)) throw_error(err);
  return r;
}

struct OutputRow {
  Row values;
  Row sort_keys;
};
using OutputRows = std::vector<OutputRow>;

// One entry of the select list, with * expanded into columns.
struct Item {
  const Expr* expr = nullptr;
  int source = -1, column = -1;  // a star-expanded column
  std::string name;
};

// One query term while it runs.
struct TermRun {
  std::unique_ptr<FromResult> from;
  std::vector<Item> items;
  std::vector<Expr*> aggregates;
  std::vector<int> order_output;  // per ORDER BY item: its select-list position, or -1
  OutputRows rows;
  std::vector<ColumnInfo> columns;
};

// The query a term belongs to and where it runs.
struct TermContext {
  Executor& ex;
  Query& query;
  bool single;  // the term is the whole query: ORDER BY sees its sources
  const Scope* outer_scope;
  const Frame* outer_frame;
  MemoryReservation& reservation;
};

std::string value_key(const Value& v) {
  Row r{v};
  return row_key(r, {0});
}

std::vector<int> all_columns(size_t n) {
  std::vector<int> all(n);
  for (size_t i = 0; i < n; ++i) all[i] = static_cast<int>(i);
  return all;
}

uint64_t row_bytes(const Row& r) {
  uint64_t bytes = sizeof(OutputRow) + r.size() * sizeof(Value);
  for (const Value& v : r)
    if (!v.is_null() && (v.type().is_string() || v.type().is_binary())) bytes += v.string_value().size();
  return bytes;
}

bool qualifier_names(const Relation& r, const std::string& qualifier) {
  return r.alias.empty() ? names_equal(r.name, qualifier) : names_equal(r.alias, qualifier);
}

void expand_star(const SelectItem& si, const Scope& scope, std::vector<Item>* items) {
  bool any = false;
  for (size_t s = 0; s < scope.sources.size(); ++s) {
    const Relation& r = *scope.sources[s];
    if (!si.star_qualifier.empty() && !qualifier_names(r, si.star_qualifier)) continue;
    any = true;
    for (size_t c = 0; c < r.column_names.size(); ++c)
      items->push_back(Item{nullptr, static_cast<int>(s), static_cast<int>(c), r.column_names[c]});
  }
  if (any) return;
  if (si.star_qualifier.empty()) throw_error(263, "Must specify table to select from.", 15);
  throw_unbound_identifier(si.star_qualifier);
}

void bind_select_list(const TermContext& c, SelectCore& core, TermRun& run) {
  const Scope& scope = run.from->scope;
  for (SelectItem& si : core.items) {
    if (si.star) {
      expand_star(si, scope, &run.items);
      continue;
    }
    c.ex.bind(*si.expr, scope, &run.aggregates);
    std::string name = si.alias;
    if (name.empty() && si.expr->kind == ExprKind::Column) name = si.expr->names.back();
    run.items.push_back(Item{si.expr.get(), -1, -1, std::move(name)});
  }
  if (core.having) c.ex.bind(*core.having, scope, &run.aggregates);
}

// ORDER BY of a single query may name select-list aliases, ordinals or any
// expression over the sources.
void bind_order_by(const TermContext& c, SelectCore& core, TermRun& run) {
  run.order_output.assign(c.query.order_by.size(), -1);
  if (!c.single) return;
  for (size_t i = 0; i < c.query.order_by.size(); ++i) {
    Expr& oe = *c.query.order_by[i].expr;
    if (oe.kind == ExprKind::Literal && oe.value.type().is_integer() && !oe.value.is_null()) {
      int64_t n = oe.value.int_value();
      if (n < 1 || n > static_cast<int64_t>(run.items.size()))
        throw_error(108,
                    "The ORDER BY position number " + std::to_string(n) +
                        " is out of range of the number of items in the select list.",
                    15);
      run.order_output[i] = static_cast<int>(n - 1);
      continue;
    }
    if (oe.kind == ExprKind::Column && oe.names.size() == 1) {
      for (size_t k = 0; k < run.items.size(); ++k) {
        const Item& it = run.items[k];
        if (!it.name.empty() && names_equal(it.name, oe.names[0]) &&
            (it.expr == nullptr || it.expr->kind != ExprKind::Column || !core.items.empty())) {
          run.order_output[i] = static_cast<int>(k);
          break;
        }
      }
      if (run.order_output[i] >= 0) continue;
    }
    c.ex.bind(oe, run.from->scope, &run.aggregates);
  }
}

void project(const TermContext& c, TermRun& run, const Frame& f) {
  const Scope& scope = run.from->scope;
  OutputRow o;
  o.values.reserve(run.items.size());
  for (const Item& it : run.items) {
    if (it.expr) {
      o.values.push_back(c.ex.eval(*it.expr, f));
      continue;
    }
    const Row* r = (*f.rows)[static_cast<size_t>(it.source)];
    const Relation& rel = *scope.sources[static_cast<size_t>(it.source)];
    o.values.push_back(r ? (*r)[static_cast<size_t>(it.column)]
                         : Value::null(rel.column_types[static_cast<size_t>(it.column)]));
  }
  if (c.single)
    for (size_t i = 0; i < c.query.order_by.size(); ++i)
      o.sort_keys.push_back(run.order_output[i] >= 0 ? o.values[static_cast<size_t>(run.order_output[i])]
                                                     : c.ex.eval(*c.query.order_by[i].expr, f));
  c.reservation.add(row_bytes(o.values) + row_bytes(o.sort_keys));
  run.rows.push_back(std::move(o));
}

// The tuples by their GROUP BY values, groups in order of first appearance.
std::vector<std::vector<size_t>> group_tuples(const TermContext& c, SelectCore& core, const TermRun& run) {
  const std::vector<Tuple>& tuples = run.from->tuples;
  std::vector<std::vector<size_t>> members;
  std::unordered_map<std::string, size_t> index;
  for (size_t i = 0; i < tuples.size(); ++i) {
    Frame f{&tuples[i], c.outer_frame, nullptr, &run.from->scope};
    std::string key;
    for (auto& g : core.group_by) key += value_key(c.ex.eval(*g, f)) + '\x1f';
    auto [it, inserted] = index.emplace(key, members.size());
    if (inserted) {
      members.emplace_back();
      c.reservation.add(key.size() + 64);
    }
    members[it->second].push_back(i);
  }
  if (core.group_by.empty() && members.empty()) members.emplace_back();  // aggregates over no rows
  return members;
}

GroupState aggregate_group(const TermContext& c, const TermRun& run, const std::vector<size_t>& group) {
  GroupState gs;
  for (Expr* a : run.aggregates) {
    TypeInfo arg_type = a->star ? TypeInfo{Type::Int} : a->args[0]->result_type;
    auto agg = make_aggregate(a->op, a->distinct, arg_type);
    if (!agg) throw_error(aggregate_argument_error(a->op, arg_type));
    for (size_t m : group) {
      Frame f{&run.from->tuples[m], c.outer_frame, nullptr, &run.from->scope};
      Value v = a->star ? Value::integer(1) : c.ex.eval(*a->args[0], f);
      Error err;
      if (!agg->add(v, c.ex.ctx(), &err)) throw_error(err);
    }
    gs.aggregates.push_back(agg->result());
  }
  return gs;
}

void project_rows(const TermContext& c, SelectCore& core, TermRun& run) {
  const Scope& scope = run.from->scope;
  const std::vector<Tuple>& tuples = run.from->tuples;
  bool grouped = !core.group_by.empty() || !run.aggregates.empty();
  if (!grouped) {
    run.rows.reserve(tuples.size());
    for (const Tuple& t : tuples) project(c, run, Frame{&t, c.outer_frame, nullptr, &scope});
    return;
  }
  Tuple empty_tuple(scope.sources.size(), nullptr);
  for (const auto& group : group_tuples(c, core, run)) {
    GroupState gs = aggregate_group(c, run, group);
    const Tuple& rep = group.empty() ? empty_tuple : tuples[group.front()];
    Frame f{&rep, c.outer_frame, &gs, &scope};
    if (core.having && !c.ex.eval_predicate(*core.having, f)) continue;
    project(c, run, f);
  }
}

void remove_duplicates(OutputRows& rows, size_t width) {
  std::vector<int> all = all_columns(width);
  std::unordered_set<std::string> seen;
  OutputRows unique;
  for (OutputRow& r : rows)
    if (seen.insert(row_key(r.values, all)).second) unique.push_back(std::move(r));
  rows = std::move(unique);
}

void sort_rows(OutputRows& rows, const std::vector<OrderItem>& order, const EvalContext& ctx,
               const std::vector<size_t>* columns) {
  std::stable_sort(rows.begin(), rows.end(), [&](const OutputRow& a, const OutputRow& b) {
    for (size_t i = 0; i < order.size(); ++i) {
      int cmp = columns ? compare_for_sort(a.values[(*columns)[i]], b.values[(*columns)[i]], ctx)
                        : compare_for_sort(a.sort_keys[i], b.sort_keys[i], ctx);
      if (cmp != 0) return order[i].descending ? cmp > 0 : cmp < 0;
    }
    return false;
  });
}

// TOP sees the enclosing query only, not this level's sources.
void apply_top(const TermContext& c, SelectCore& core, OutputRows& rows) {
  Scope top_scope;
  top_scope.outer = c.outer_scope;
  c.ex.bind(*core.top, top_scope, nullptr);
  Frame f{nullptr, c.outer_frame, nullptr, &top_scope};
  Value n = c.ex.eval(*core.top, f);
  if (n.is_null()) return;
  int64_t limit = n.type().is_integer() ? n.int_value() : static_cast<int64_t>(n.decimal_value().to_double());
  if (core.top_percent)
    limit = static_cast<int64_t>((static_cast<double>(rows.size()) * static_cast<double>(limit) + 99) / 100);
  if (limit < 0)
    throw_error(1060, "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer.");
  if (static_cast<size_t>(limit) < rows.size()) rows.resize(static_cast<size_t>(limit));
}

// The type of an output column as binding knows it; a computed column's
// type is known only from its values (finish_result).
TypeInfo item_type(const TermRun& run, const Item& it) {
  if (it.expr) return it.expr->kind == ExprKind::Column ? it.expr->result_type : TypeInfo::varchar(1);
  return run.from->scope.sources[static_cast<size_t>(it.source)]->column_types[static_cast<size_t>(it.column)];
}

std::vector<ColumnInfo> output_columns(TermRun& run) {
  std::vector<ColumnInfo> columns;
  for (Item& it : run.items) {
    ColumnInfo col;
    col.type = item_type(run, it);
    col.name = std::move(it.name);
    columns.push_back(std::move(col));
  }
  return columns;
}

// Sorting, grouping and DISTINCT need comparable values: refused for text,
// ntext and image before any row is projected.
void check_comparable_term(const TermContext& c, const SelectCore& core, const TermRun& run) {
  for (const auto& g : core.group_by) check_sortable(*g);
  if (c.single) {
    for (size_t i = 0; i < c.query.order_by.size(); ++i) {
      int k = run.order_output[i];
      if (k < 0)
        check_sortable(*c.query.order_by[i].expr);
      else
        check_sortable(item_type(run, run.items[static_cast<size_t>(k)]));
    }
  }
  bool distinct_rows = core.distinct || std::any_of(c.query.ops.begin(), c.query.ops.end(),
                                                    [](SetOp op) { return op != SetOp::UnionAll; });
  if (distinct_rows)
    for (const Item& it : run.items) check_distinct_column(item_type(run, it));
}

TermRun run_nested(const TermContext& c, Query& nested) {
  TermRun run;
  ResultSet rs = c.ex.run_query(nested, c.outer_scope, c.outer_frame);
  run.columns = std::move(rs.columns);
  for (Row& r : rs.rows) {
    c.reservation.add(row_bytes(r));
    run.rows.push_back(OutputRow{std::move(r), {}});
  }
  return run;
}

TermRun run_term(const TermContext& c, SelectCore& core) {
  if (core.nested) return run_nested(c, *core.nested);
  TermRun run;
  run.from = c.ex.evaluate_from(core.from, core.where.get(), c.outer_scope, c.outer_frame);
  bind_select_list(c, core, run);
  bind_order_by(c, core, run);
  for (auto& g : core.group_by) c.ex.bind(*g, run.from->scope, nullptr);
  check_comparable_term(c, core, run);
  project_rows(c, core, run);
  run.columns = output_columns(run);
  run.from.reset();  // the joined tuples are no longer needed
  if (core.distinct) remove_duplicates(run.rows, run.items.size());
  if (c.single && !c.query.order_by.empty()) sort_rows(run.rows, c.query.order_by, c.ex.ctx(), nullptr);
  if (core.top) apply_top(c, core, run.rows);
  return run;
}

// The distinct rows of `a` that `b` holds (or, for EXCEPT, does not hold);
// NULLs compare equal here.
OutputRows rows_matching(OutputRows a, const OutputRows& b, bool present, size_t width) {
  std::vector<int> all = all_columns(width);
  std::unordered_set<std::string> in_b;
  for (const OutputRow& r : b) in_b.insert(row_key(r.values, all));
  std::unordered_set<std::string> seen;
  OutputRows out;
  for (OutputRow& r : a) {
    std::string key = row_key(r.values, all);
    if (in_b.contains(key) == present && seen.insert(std::move(key)).second) out.push_back(std::move(r));
  }
  return out;
}

OutputRows combine_terms(std::vector<OutputRows> terms, const std::vector<SetOp>& ops, size_t width) {
  // INTERSECT first, then the other operators from left to right.
  std::vector<OutputRows> operands;
  std::vector<SetOp> rest;
  operands.push_back(std::move(terms[0]));
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i] == SetOp::Intersect) {
      operands.back() = rows_matching(std::move(operands.back()), terms[i + 1], true, width);
      continue;
    }
    rest.push_back(ops[i]);
    operands.push_back(std::move(terms[i + 1]));
  }
  OutputRows rows = std::move(operands[0]);
  for (size_t i = 0; i < rest.size(); ++i) {
    OutputRows& next = operands[i + 1];
    if (rest[i] == SetOp::Except) {
      rows = rows_matching(std::move(rows), next, false, width);
      continue;
    }
    for (OutputRow& r : next) rows.push_back(std::move(r));
    if (rest[i] == SetOp::Union) remove_duplicates(rows, width);
  }
  return rows;
}

// ORDER BY over combined terms: output column names or ordinals.
void sort_combined(OutputRows& rows, const std::vector<OrderItem>& order, const std::vector<ColumnInfo>& columns,
                   const EvalContext& ctx) {
  std::vector<size_t> positions;
  for (const OrderItem& o : order) {
    const Expr& oe = *o.expr;
    int found = -1;
    if (oe.kind == ExprKind::Literal && oe.value.type().is_integer())
      found = static_cast<int>(oe.value.int_value()) - 1;
    if (oe.kind == ExprKind::Column)
      for (size_t k = 0; k < columns.size(); ++k)
        if (names_equal(columns[k].name, oe.names.back())) found = static_cast<int>(k);
    if (found < 0 || found >= static_cast<int>(columns.size()))
      throw_error(104,
                  "ORDER BY items must appear in the select list if the statement contains a UNION, INTERSECT or "
                  "EXCEPT operator.");
    positions.push_back(static_cast<size_t>(found));
  }
  sort_rows(rows, order, ctx, &positions);
}

ResultSet finish_result(std::vector<ColumnInfo> columns, OutputRows& rows) {
  ResultSet result;
  result.columns = std::move(columns);
  result.rows.reserve(rows.size());
  for (OutputRow& r : rows) result.rows.push_back(std::move(r.values));
  // Column types of computed columns: the type of the first non-null value.
  for (size_t c = 0; c < result.columns.size(); ++c) {
    for (const Row& r : result.rows)
      if (!r[c].is_null()) {
        result.columns[c].type = r[c].type();
        break;
      }
  }
  return result;
}

}  // namespace

ResultSet Executor::run_query(Query& q, const Scope* outer_scope, const Frame* outer_frame) {
  MemoryReservation reservation(memory_);
  bool single = q.cores.size() == 1 && !q.cores[0].nested;
  TermContext c{*this, q, single, outer_scope, outer_frame, reservation};
  std::vector<ColumnInfo> columns;
  std::vector<OutputRows> terms;
  for (SelectCore& core : q.cores) {
    TermRun run = run_term(c, core);
    if (terms.empty()) {
      columns = std::move(run.columns);
    } else if (run.columns.size() != columns.size()) {
      throw_error(205,
                  "All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal "
                  "number of expressions in their target lists.");
    }
    terms.push_back(std::move(run.rows));
  }
  OutputRows rows = combine_terms(std::move(terms), q.ops, columns.size());
  if (!single && !q.order_by.empty()) sort_combined(rows, q.order_by, columns, ctx_);
  return finish_result(std::move(columns), rows);
}

}  // namespace standin
