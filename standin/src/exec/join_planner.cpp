#include "exec/join_planner.h"

#include <algorithm>
#include <bitset>
#include <functional>
#include <unordered_map>

#include "exec/join_key.h"

namespace standin {

namespace {

// SQL Server joins at most 256 tables in one query level.
constexpr size_t kMaxSources = 256;
using SourceSet = std::bitset<kMaxSources>;

bool subset(const SourceSet& a, const SourceSet& b) { return (a & ~b).none(); }

// One AND-ed term of WHERE or ON, with the sources of this level it names.
struct Term {
  Expr* expr = nullptr;
  SourceSet sources;
  bool whole_level = false;  // holds a subquery: waits until every source is bound
  bool applied = false;
};

void collect_sources_of(const Expr& e, Term* t) {
  if (e.kind == ExprKind::Column && e.depth == 0 && e.source >= 0) t->sources.set(static_cast<size_t>(e.source));
  if (e.kind == ExprKind::InQuery || e.kind == ExprKind::Exists || e.kind == ExprKind::Subquery) t->whole_level = true;
  for (const auto& a : e.args) collect_sources_of(*a, t);
}

void split_terms(Expr* e, std::vector<Term>* out) {
  if (!e) return;
  if (e->kind == ExprKind::And) {
    for (auto& a : e->args) split_terms(a.get(), out);
    return;
  }
  Term t;
  t.expr = e;
  collect_sources_of(*e, &t);
  out->push_back(t);
}

// A leaf source, or a LEFT JOIN built as a whole.
struct Unit {
  SourceSet sources;
  std::vector<size_t> source_list;
  std::vector<Tuple> tuples;
  int leaf = -1;  // the source index of a leaf not yet read
};

// An equality term usable as a hash key: `bound_side` names bound sources
// only, `unit_side` the joining unit's only.
struct KeyPair {
  const Expr* bound_side;
  const Expr* unit_side;
  size_t term;
};

class JoinPlanner {
 public:
  JoinPlanner(Executor& ex, const Scope& scope, const Frame* outer, MemoryReservation& reservation)
      : ex_(ex), scope_(scope), outer_(outer), reservation_(reservation), width_(scope.sources.size()) {}

  void flatten(TableRef& ref, size_t* next_source, std::vector<Unit>* units, std::vector<Term>* terms);
  std::vector<Tuple> plan(std::vector<Unit> units, std::vector<Term>& terms);

 private:
  Unit left_join(TableRef& ref, size_t* next_source);
  void read_leaf(Unit& u, std::vector<Term>& terms);
  void filter(std::vector<Tuple>& tuples, const SourceSet& bound, std::vector<Term>& terms, bool all_bound);
  size_t pick_next(const std::vector<Unit>& units, const SourceSet& bound, const std::vector<Term>& terms) const;
  std::vector<KeyPair> key_pairs(const SourceSet& bound, const Unit& u, const std::vector<Term>& terms) const;
  std::vector<Tuple> join(std::vector<Tuple>& left, const SourceSet& bound, Unit& right, std::vector<Term>& terms,
                          bool preserve_left);
  bool passes(const Tuple& t, const std::vector<const Expr*>& filters) const;
  std::optional<std::string> key_of(const Tuple& t, const std::vector<const Expr*>& exprs) const;
  void keep(std::vector<Tuple>* out, Tuple t) {
    reservation_.add(sizeof(Tuple) + width_ * sizeof(const Row*));
    out->push_back(std::move(t));
  }

  Executor& ex_;
  const Scope& scope_;
  const Frame* outer_;
  MemoryReservation& reservation_;
  size_t width_;
};

void JoinPlanner::flatten(TableRef& ref, size_t* next_source, std::vector<Unit>* units, std::vector<Term>* terms) {
  if (ref.kind != TableRef::Kind::Join) {
    Unit u;
    u.leaf = static_cast<int>((*next_source)++);
    u.sources.set(static_cast<size_t>(u.leaf));
    u.source_list.push_back(static_cast<size_t>(u.leaf));
    units->push_back(std::move(u));
    return;
  }
  if (ref.join == JoinType::Left) {
    units->push_back(left_join(ref, next_source));
    return;
  }
  flatten(*ref.left, next_source, units, terms);
  flatten(*ref.right, next_source, units, terms);
  split_terms(ref.on.get(), terms);
}

// The left side and the right side are planned apart; the ON terms that name
// the right side alone filter it before the join, the others decide matches.
Unit JoinPlanner::left_join(TableRef& ref, size_t* next_source) {
  std::vector<Unit> left_units, right_units;
  std::vector<Term> left_terms, right_terms, on_terms;
  flatten(*ref.left, next_source, &left_units, &left_terms);
  size_t right_first = *next_source;
  flatten(*ref.right, next_source, &right_units, &right_terms);
  SourceSet right_sources;
  for (size_t s = right_first; s < *next_source; ++s) right_sources.set(s);
  split_terms(ref.on.get(), &on_terms);
  for (Term& t : on_terms)
    if (!t.whole_level && t.sources.any() && subset(t.sources, right_sources)) {
      right_terms.push_back(t);
      t.applied = true;
    }
  SourceSet left_sources;
  for (const Unit& u : left_units) left_sources |= u.sources;
  std::vector<Tuple> left = plan(std::move(left_units), left_terms);
  Unit right;
  right.sources = right_sources;
  for (size_t s = right_first; s < *next_source; ++s) right.source_list.push_back(s);
  right.tuples = plan(std::move(right_units), right_terms);
  Unit joined;
  joined.tuples = join(left, left_sources, right, on_terms, true);
  joined.sources = left_sources | right_sources;
  for (size_t s = 0; s < width_; ++s)
    if (joined.sources.test(s)) joined.source_list.push_back(s);
  return joined;
}

void JoinPlanner::read_leaf(Unit& u, std::vector<Term>& terms) {
  std::vector<const Expr*> filters;
  for (Term& t : terms)
    if (!t.applied && !t.whole_level && t.sources.any() && subset(t.sources, u.sources)) {
      filters.push_back(t.expr);
      t.applied = true;
    }
  size_t index = static_cast<size_t>(u.leaf);
  for (const Row& r : *scope_.sources[index]->rows) {
    Tuple t(width_, nullptr);
    t[index] = &r;
    if (passes(t, filters)) keep(&u.tuples, std::move(t));
  }
  u.leaf = -1;
}

std::vector<Tuple> JoinPlanner::plan(std::vector<Unit> units, std::vector<Term>& terms) {
  for (Unit& u : units) {
    if (u.leaf >= 0)
      read_leaf(u, terms);
    else
      filter(u.tuples, u.sources, terms, false);
  }
  auto smallest = std::min_element(units.begin(), units.end(),
                                   [](const Unit& a, const Unit& b) { return a.tuples.size() < b.tuples.size(); });
  SourceSet bound = smallest->sources;
  std::vector<Tuple> tuples = std::move(smallest->tuples);
  units.erase(smallest);
  filter(tuples, bound, terms, false);
  while (!units.empty()) {
    size_t next = pick_next(units, bound, terms);
    Unit u = std::move(units[next]);
    units.erase(units.begin() + static_cast<std::ptrdiff_t>(next));
    tuples = join(tuples, bound, u, terms, false);
    bound |= u.sources;
  }
  filter(tuples, bound, terms, true);
  return tuples;
}

// Applies the terms not applied yet that name bound sources only (all of
// them once every source is bound).
void JoinPlanner::filter(std::vector<Tuple>& tuples, const SourceSet& bound, std::vector<Term>& terms, bool all_bound) {
  std::vector<const Expr*> filters;
  for (Term& t : terms)
    if (!t.applied && (all_bound || (!t.whole_level && subset(t.sources, bound)))) {
      filters.push_back(t.expr);
      t.applied = true;
    }
  if (filters.empty()) return;
  std::erase_if(tuples, [&](const Tuple& t) { return !passes(t, filters); });
}

// The smallest unit an equality (or any other term) connects to the bound
// sources; the smallest of all when none is connected.
size_t JoinPlanner::pick_next(const std::vector<Unit>& units, const SourceSet& bound,
                              const std::vector<Term>& terms) const {
  size_t best = 0;
  int best_rank = -1;
  for (size_t i = 0; i < units.size(); ++i) {
    const Unit& u = units[i];
    int rank = 0;
    if (!key_pairs(bound, u, terms).empty()) {
      rank = 2;
    } else {
      for (const Term& t : terms)
        if (!t.applied && !t.whole_level && (t.sources & bound).any() && (t.sources & u.sources).any() &&
            subset(t.sources, bound | u.sources))
          rank = 1;
    }
    if (rank > best_rank || (rank == best_rank && u.tuples.size() < units[best].tuples.size())) {
      best = i;
      best_rank = rank;
    }
  }
  return best;
}

std::vector<KeyPair> JoinPlanner::key_pairs(const SourceSet& bound, const Unit& u,
                                            const std::vector<Term>& terms) const {
  std::vector<KeyPair> pairs;
  for (size_t i = 0; i < terms.size(); ++i) {
    const Term& t = terms[i];
    const Expr& e = *t.expr;
    if (t.applied || e.kind != ExprKind::Compare || e.op != "=" || e.args.size() != 2) continue;
    const Expr& a = *e.args[0];
    const Expr& b = *e.args[1];
    if (a.kind != ExprKind::Column || b.kind != ExprKind::Column || a.depth != 0 || b.depth != 0) continue;
    KeyFamily family = key_family(a.result_type);
    if (family == KeyFamily::None || family != key_family(b.result_type)) continue;
    size_t sa = static_cast<size_t>(a.source), sb = static_cast<size_t>(b.source);
    if (bound.test(sa) && u.sources.test(sb))
      pairs.push_back({&a, &b, i});
    else if (bound.test(sb) && u.sources.test(sa))
      pairs.push_back({&b, &a, i});
  }
  return pairs;
}

// Joins the bound tuples with a unit: by hash on the equalities between
// them, else by nested loops; every term the two sides complete is checked
// on each candidate, so that only matching tuples are built. With
// `preserve_left` (a LEFT JOIN) all remaining terms are its ON condition and
// an unmatched left tuple is kept with the right side null.
std::vector<Tuple> JoinPlanner::join(std::vector<Tuple>& left, const SourceSet& bound, Unit& right,
                                     std::vector<Term>& terms, bool preserve_left) {
  std::vector<const Expr*> left_keys, right_keys, filters;
  for (const KeyPair& k : key_pairs(bound, right, terms)) {
    left_keys.push_back(k.bound_side);
    right_keys.push_back(k.unit_side);
    terms[k.term].applied = true;
  }
  SourceSet combined = bound | right.sources;
  for (Term& t : terms)
    if (!t.applied && (preserve_left || (!t.whole_level && subset(t.sources, combined)))) {
      filters.push_back(t.expr);
      t.applied = true;
    }
  std::unordered_map<std::string, std::vector<const Tuple*>> table;
  if (!right_keys.empty()) {
    reservation_.add(right.tuples.size() * (sizeof(const Tuple*) + 64));
    for (const Tuple& r : right.tuples)
      if (auto k = key_of(r, right_keys)) table[*k].push_back(&r);
  }
  std::vector<Tuple> out;
  Tuple scratch(width_, nullptr);
  for (const Tuple& l : left) {
    bool matched = false;
    auto visit = [&](const Tuple& r) {
      scratch = l;
      for (size_t s : right.source_list) scratch[s] = r[s];
      if (!passes(scratch, filters)) return;
      matched = true;
      keep(&out, scratch);
    };
    if (right_keys.empty()) {
      for (const Tuple& r : right.tuples) visit(r);
    } else if (auto k = key_of(l, left_keys)) {
      auto it = table.find(*k);
      if (it != table.end())
        for (const Tuple* r : it->second) visit(*r);
    }
    if (!matched && preserve_left) keep(&out, l);
  }
  return out;
}

bool JoinPlanner::passes(const Tuple& t, const std::vector<const Expr*>& filters) const {
  if (filters.empty()) return true;
  Frame f{&t, outer_, nullptr, &scope_};
  for (const Expr* e : filters)
    if (!ex_.eval_predicate(*e, f)) return false;
  return true;
}

// The hash key of the values `exprs` take on `t`; nullopt when one is NULL.
std::optional<std::string> JoinPlanner::key_of(const Tuple& t, const std::vector<const Expr*>& exprs) const {
  Frame f{&t, outer_, nullptr, &scope_};
  std::string key;
  for (const Expr* e : exprs) {
    std::optional<std::string> part = join_key(ex_.eval(*e, f));
    if (!part) return std::nullopt;
    key += *part;
    key += '\x1f';
  }
  return key;
}

}  // namespace

std::vector<Tuple> join_from_items(Executor& ex, std::vector<std::unique_ptr<TableRef>>& from, Expr* where,
                                   const Scope& scope, const Frame* outer_frame, MemoryReservation& reservation) {
  JoinPlanner planner(ex, scope, outer_frame, reservation);
  std::vector<Unit> units;
  std::vector<Term> terms;
  size_t next_source = 0;
  for (auto& ref : from) planner.flatten(*ref, &next_source, &units, &terms);
  split_terms(where, &terms);
  if (units.empty()) {
    // No FROM: one empty tuple, which WHERE may still remove.
    Unit nothing;
    nothing.tuples.emplace_back();
    units.push_back(std::move(nothing));
  }
  std::vector<Tuple> tuples = planner.plan(std::move(units), terms);
  // Rows of one source lie in one array, so comparing their addresses
  // compares their positions: this is the order of nested loops.
  if (scope.sources.size() > 1)
    std::sort(tuples.begin(), tuples.end(), [](const Tuple& a, const Tuple& b) {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), std::less<const Row*>());
    });
  return tuples;
}

}  // namespace standin
