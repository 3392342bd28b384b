// The FROM clause: opens its sources in order, binds the join conditions and
// WHERE, and hands them to the join planner (join_planner.h).
#include "exec/executor.h"
#include "exec/join_planner.h"

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

void bind_join_conditions(Executor& ex, TableRef& ref, const Scope& scope) {
  if (ref.kind != TableRef::Kind::Join) return;
  bind_join_conditions(ex, *ref.left, scope);
  bind_join_conditions(ex, *ref.right, scope);
  if (ref.on) ex.bind(*ref.on, scope, nullptr);
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
  if (where) bind(*where, scope, nullptr);
  result->reservation = MemoryReservation(memory_);
  result->tuples = join_from_items(*this, from, where, scope, outer_frame, result->reservation);
  return result;
}

}  // namespace standin
