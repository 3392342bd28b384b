// Joins the FROM items of one query level and applies its WHERE clause.
//
// WHERE and the ON conditions of inner joins are split into their AND-ed
// terms; each term is applied as soon as every source it names is bound, so
// that no cross product is built only to be filtered afterwards. An equality
// between a column of the bound sources and a column of the next source joins
// them through a hash table. The order starts from the smallest input after
// its own filters and takes next, among the sources an equality connects,
// the smallest.
//
// A LEFT JOIN stays one unit: its ON terms stay with it (those naming the
// inner side alone filter that side first), and no WHERE term reaches below
// it, so that rows the join preserves are not lost.
//
// The tuples come out in the order of nested loops over the sources as
// written, whatever order the joins ran in: statements without ORDER BY see
// the rows as before.
#pragma once

#include <memory>
#include <vector>

#include "exec/executor.h"

namespace standin {

// `scope` holds the sources in the order collect_sources opened them; the
// conditions are bound. Reserves what it builds in `reservation`.
std::vector<Tuple> join_from_items(Executor& ex, std::vector<std::unique_ptr<TableRef>>& from, Expr* where,
                                   const Scope& scope, const Frame* outer_frame, MemoryReservation& reservation);

}  // namespace standin
