// The FROM clause: opens its sources in order and joins them with nested
// loops; then filters the joined tuples by WHERE.
#include "exec/executor.h"

namespace standin {

namespace {

// Opens the leaves of a FROM item in order, so that they become the sources
// of the query level.
void collect_sources(Executor& ex, const TableRef& ref, const Scope* outer_scope, const Frame* outer_frame,
                     std::vector<std::unique_ptr<Relation>>* out) {
  if (ref.kind == TableRef::Kind::Join) {
    collect_sources(ex, *ref.left, outer_scope, outer_frame, out);
    collect_sources(ex, *ref.right, outer_scope, outer_frame, out);
    return;
  }
  out->push_back(ex.open_relation(ref, outer_scope, outer_frame));
}

struct TupleBuilder {
  Executor& ex;
  const Scope& scope;
  const Frame* outer_frame;
  size_t width;
  size_t next_source = 0;

  // The tuples of one FROM item; sources of other items stay null.
  std::vector<Tuple> build(const TableRef& ref) {
    if (ref.kind != TableRef::Kind::Join) {
      size_t index = next_source++;
      const Relation& rel = *scope.sources[index];
      std::vector<Tuple> out;
      out.reserve(rel.rows->size());
      for (const Row& r : *rel.rows) {
        Tuple t(width, nullptr);
        t[index] = &r;
        out.push_back(std::move(t));
      }
      return out;
    }
    std::vector<Tuple> left = build(*ref.left);
    size_t right_first = next_source;
    std::vector<Tuple> right = build(*ref.right);
    size_t right_end = next_source;
    std::vector<Tuple> out;
    for (const Tuple& l : left) {
      bool matched = false;
      for (const Tuple& r : right) {
        Tuple t = l;
        for (size_t i = right_first; i < right_end; ++i) t[i] = r[i];
        if (ref.on) {
          Frame f{&t, outer_frame, nullptr, &scope};
          if (!ex.eval_predicate(*ref.on, f)) continue;
        }
        matched = true;
        out.push_back(std::move(t));
      }
      if (!matched && ref.join == JoinType::Left) out.push_back(l);
    }
    return out;
  }
};

void bind_join_conditions(Executor& ex, TableRef& ref, const Scope& scope) {
  if (ref.kind != TableRef::Kind::Join) return;
  bind_join_conditions(ex, *ref.left, scope);
  bind_join_conditions(ex, *ref.right, scope);
  if (ref.on) ex.bind(*ref.on, scope, nullptr);
}

std::vector<Tuple> cross(std::vector<Tuple> a, const std::vector<Tuple>& b) {
  std::vector<Tuple> out;
  out.reserve(a.size() * b.size());
  for (const Tuple& x : a)
    for (const Tuple& y : b) {
      Tuple t = x;
      for (size_t i = 0; i < t.size(); ++i)
        if (y[i]) t[i] = y[i];
      out.push_back(std::move(t));
    }
  return out;
}

}  // namespace

std::unique_ptr<FromResult> Executor::evaluate_from(std::vector<std::unique_ptr<TableRef>>& from, Expr* where,
                                                    const Scope* outer_scope, const Frame* outer_frame) {
  auto result = std::make_unique<FromResult>();
  const Expr* enclosing_filter = view_filter();
  set_view_filter(from.size() == 1 && from[0]->kind == TableRef::Kind::Named ? where : nullptr);
  for (auto& ref : from) collect_sources(*this, *ref, outer_scope, outer_frame, &result->relations);
  set_view_filter(enclosing_filter);
  Scope& scope = result->scope;
  scope.outer = outer_scope;
  for (auto& r : result->relations) scope.sources.push_back(r.get());
  for (auto& ref : from) bind_join_conditions(*this, *ref, scope);

  std::vector<Tuple>& tuples = result->tuples;
  if (from.empty()) {
    tuples.emplace_back();
  } else {
    TupleBuilder builder{*this, scope, outer_frame, scope.sources.size()};
    for (size_t i = 0; i < from.size(); ++i) {
      std::vector<Tuple> item = builder.build(*from[i]);
      tuples = i == 0 ? std::move(item) : cross(std::move(tuples), item);
    }
  }
  if (where) {
    bind(*where, scope, nullptr);
    std::vector<Tuple> kept;
    kept.reserve(tuples.size());
    for (Tuple& t : tuples) {
      Frame f{&t, outer_frame, nullptr, &scope};
      if (eval_predicate(*where, f)) kept.push_back(std::move(t));
    }
    tuples = std::move(kept);
  }
  return result;
}

}  // namespace standin
