// Queries: FROM (nested-loop joins), WHERE, GROUP BY with aggregates,
// HAVING, the select list, DISTINCT, UNION [ALL], ORDER BY and TOP.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "exec/executor.h"
#include "exec/messages.h"
#include "parser/lexer.h"
#include "types/aggregate.h"
#include "types/compare.h"
#include "types/convert.h"

namespace standin {

namespace {

std::string value_key(const Value& v) {
  Row r{v};
  return row_key(r, {0});
}

int compare_for_sort(const Value& a, const Value& b, const EvalContext& ctx) {
  // NULL sorts first, as on SQL Server.
  if (a.is_null() || b.is_null()) return a.is_null() == b.is_null() ? 0 : (a.is_null() ? -1 : 1);
  int r = 0;
  Error err;
  if (!compare_values(a, b, ctx, &r, &err)) throw_error(err, true);
  return r;
}

struct OutputRow {
  Row values;
  Row sort_keys;
};

}  // namespace

ResultSet Executor::run_query(Query& q, const Scope* outer_scope, const Frame* outer_frame) {
  ResultSet result;
  std::vector<OutputRow> rows;
  bool single = q.cores.size() == 1;

  for (size_t ci = 0; ci < q.cores.size(); ++ci) {
    SelectCore& core = q.cores[ci];

    // FROM and WHERE: the sources of this level and the tuples that pass.
    std::unique_ptr<FromResult> from = evaluate_from(core.from, core.where.get(), outer_scope, outer_frame);
    const Scope& scope = from->scope;
    std::vector<Tuple>& tuples = from->tuples;

    // The select list, with * expanded.
    struct Item {
      const Expr* expr = nullptr;
      int source = -1, column = -1;  // a star-expanded column
      std::string name;
    };
    std::vector<Item> items;
    std::vector<Expr*> aggregates;
    for (SelectItem& si : core.items) {
      if (si.star) {
        bool any = false;
        for (size_t s = 0; s < scope.sources.size(); ++s) {
          const Relation& r = *scope.sources[s];
          if (!si.star_qualifier.empty()) {
            bool match = r.alias.empty() ? names_equal(r.name, si.star_qualifier) : names_equal(r.alias, si.star_qualifier);
            if (!match) continue;
          }
          any = true;
          for (size_t c = 0; c < r.column_names.size(); ++c)
            items.push_back(Item{nullptr, static_cast<int>(s), static_cast<int>(c), r.column_names[c]});
        }
        if (!any) {
          if (si.star_qualifier.empty())
            throw_error(263, "Must specify table to select from.", true, 15);
          throw_unbound_identifier(si.star_qualifier);
        }
        continue;
      }
      bind(*si.expr, scope, &aggregates);
      std::string name = si.alias;
      if (name.empty() && si.expr->kind == ExprKind::Column) name = si.expr->names.back();
      items.push_back(Item{si.expr.get(), -1, -1, std::move(name)});
    }
    if (core.having) bind(*core.having, scope, &aggregates);

    // ORDER BY of a single query may name select-list aliases, ordinals or
    // any expression over the sources.
    std::vector<int> order_output(q.order_by.size(), -1);
    if (single) {
      for (size_t i = 0; i < q.order_by.size(); ++i) {
        Expr& oe = *q.order_by[i].expr;
        if (oe.kind == ExprKind::Literal && oe.value.type().is_integer() && !oe.value.is_null()) {
          int64_t n = oe.value.int_value();
          if (n < 1 || n > static_cast<int64_t>(items.size()))
            throw_error(108, "The ORDER BY position number " + std::to_string(n) +
                                 " is out of range of the number of items in the select list.", true, 15);
          order_output[i] = static_cast<int>(n - 1);
          continue;
        }
        if (oe.kind == ExprKind::Column && oe.names.size() == 1) {
          for (size_t k = 0; k < items.size(); ++k)
            if (!items[k].name.empty() && names_equal(items[k].name, oe.names[0]) &&
                (items[k].expr == nullptr || items[k].expr->kind != ExprKind::Column ||
                 !core.items.empty())) {
              order_output[i] = static_cast<int>(k);
              break;
            }
          if (order_output[i] >= 0) continue;
        }
        bind(oe, scope, &aggregates);
      }
    }

    bool grouped = !core.group_by.empty() || !aggregates.empty();
    for (auto& g : core.group_by) bind(*g, scope, nullptr);

    auto project = [&](const Frame& f, std::vector<OutputRow>* out) {
      OutputRow o;
      o.values.reserve(items.size());
      for (const Item& it : items) {
        if (it.expr) {
          o.values.push_back(eval(*it.expr, f));
        } else {
          const Row* r = (*f.rows)[static_cast<size_t>(it.source)];
          o.values.push_back(r ? (*r)[static_cast<size_t>(it.column)]
                               : Value::null(scope.sources[static_cast<size_t>(it.source)]->column_types[static_cast<size_t>(it.column)]));
        }
      }
      if (single) {
        for (size_t i = 0; i < q.order_by.size(); ++i)
          o.sort_keys.push_back(order_output[i] >= 0 ? o.values[static_cast<size_t>(order_output[i])]
                                                     : eval(*q.order_by[i].expr, f));
      }
      out->push_back(std::move(o));
    };

    std::vector<OutputRow> core_rows;
    if (!grouped) {
      core_rows.reserve(tuples.size());
      for (const Tuple& t : tuples) {
        Frame f{&t, outer_frame, nullptr, &scope};
        project(f, &core_rows);
      }
    } else {
      // Group the tuples by the GROUP BY values, in order of first appearance.
      std::vector<std::string> keys;
      std::vector<std::vector<size_t>> members;
      std::unordered_map<std::string, size_t> index;
      for (size_t i = 0; i < tuples.size(); ++i) {
        Frame f{&tuples[i], outer_frame, nullptr, &scope};
        std::string key;
        for (auto& g : core.group_by) key += value_key(eval(*g, f)) + '\x1f';
        auto [it, inserted] = index.emplace(key, members.size());
        if (inserted) members.emplace_back();
        members[it->second].push_back(i);
      }
      if (core.group_by.empty() && members.empty()) members.emplace_back();  // aggregates over no rows
      Tuple empty_tuple(scope.sources.size(), nullptr);
      for (const auto& group : members) {
        GroupState gs;
        for (Expr* a : aggregates) {
          TypeInfo arg_type = a->star ? TypeInfo{Type::Int} : a->args[0]->result_type;
          auto agg = make_aggregate(a->op, a->distinct, arg_type);
          if (!agg) throw_error(aggregate_argument_error(a->op, arg_type), true);
          for (size_t m : group) {
            Frame f{&tuples[m], outer_frame, nullptr, &scope};
            Value v = a->star ? Value::integer(1) : eval(*a->args[0], f);
            Error err;
            if (!agg->add(v, ctx_, &err)) throw_error(err, true);
          }
          gs.aggregates.push_back(agg->result());
        }
        const Tuple& rep = group.empty() ? empty_tuple : tuples[group.front()];
        Frame f{&rep, outer_frame, &gs, &scope};
        if (core.having && !eval_predicate(*core.having, f)) continue;
        project(f, &core_rows);
      }
    }

    if (core.distinct) {
      std::vector<int> all(items.size());
      for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
      std::unordered_set<std::string> seen;
      std::vector<OutputRow> unique;
      for (OutputRow& r : core_rows)
        if (seen.insert(row_key(r.values, all)).second) unique.push_back(std::move(r));
      core_rows = std::move(unique);
    }

    if (single && !q.order_by.empty()) {
      std::stable_sort(core_rows.begin(), core_rows.end(), [&](const OutputRow& a, const OutputRow& b) {
        for (size_t i = 0; i < q.order_by.size(); ++i) {
          int c = compare_for_sort(a.sort_keys[i], b.sort_keys[i], ctx_);
          if (c != 0) return q.order_by[i].descending ? c > 0 : c < 0;
        }
        return false;
      });
    }

    if (core.top) {
      // TOP sees the enclosing query only, not this level's sources.
      Scope top_scope;
      top_scope.outer = outer_scope;
      bind(*core.top, top_scope, nullptr);
      Frame f{nullptr, outer_frame, nullptr, &top_scope};
      Value n = eval(*core.top, f);
      if (!n.is_null()) {
        int64_t limit = n.type().is_integer() ? n.int_value() : static_cast<int64_t>(n.decimal_value().to_double());
        if (core.top_percent) limit = static_cast<int64_t>((static_cast<double>(core_rows.size()) * static_cast<double>(limit) + 99) / 100);
        if (limit < 0) throw_error(1060, "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer.", true);
        if (static_cast<size_t>(limit) < core_rows.size()) core_rows.resize(static_cast<size_t>(limit));
      }
    }

    if (ci == 0) {
      for (Item& it : items) {
        ColumnInfo c;
        c.name = std::move(it.name);  // the last use of the item's name
        if (it.expr)
          c.type = it.expr->kind == ExprKind::Column ? it.expr->result_type : TypeInfo::varchar(1);
        else
          c.type = scope.sources[static_cast<size_t>(it.source)]->column_types[static_cast<size_t>(it.column)];
        result.columns.push_back(std::move(c));
      }
    } else if (items.size() != result.columns.size()) {
      throw_error(205,
                  "All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal "
                  "number of expressions in their target lists.",
                  true);
    }
    bool union_all = ci == 0 || q.union_all[ci - 1];
    if (!union_all) {
      std::vector<int> all(items.size());
      for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
      std::unordered_set<std::string> seen;
      std::vector<OutputRow> merged;
      for (auto* src : {&rows, &core_rows})
        for (OutputRow& r : *src)
          if (seen.insert(row_key(r.values, all)).second) merged.push_back(std::move(r));
      rows = std::move(merged);
    } else {
      for (OutputRow& r : core_rows) rows.push_back(std::move(r));
    }
  }

  // ORDER BY over a UNION: output column names or ordinals.
  if (!single && !q.order_by.empty()) {
    std::vector<size_t> cols;
    for (auto& o : q.order_by) {
      const Expr& oe = *o.expr;
      int found = -1;
      if (oe.kind == ExprKind::Literal && oe.value.type().is_integer()) found = static_cast<int>(oe.value.int_value()) - 1;
      if (oe.kind == ExprKind::Column)
        for (size_t k = 0; k < result.columns.size(); ++k)
          if (names_equal(result.columns[k].name, oe.names.back())) found = static_cast<int>(k);
      if (found < 0 || found >= static_cast<int>(result.columns.size()))
        throw_error(104, "ORDER BY items must appear in the select list if the statement contains a UNION, INTERSECT or EXCEPT operator.", true);
      cols.push_back(static_cast<size_t>(found));
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const OutputRow& a, const OutputRow& b) {
      for (size_t i = 0; i < cols.size(); ++i) {
        int c = compare_for_sort(a.values[cols[i]], b.values[cols[i]], ctx_);
        if (c != 0) return q.order_by[i].descending ? c > 0 : c < 0;
      }
      return false;
    });
  }

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

}  // namespace standin
