// Binding: resolves every column reference of an expression to a source of
// its query level (or of an enclosing level, for correlated subqueries) and
// every function name to its implementation. Subqueries are bound when they
// run, against the scope they run in.
#include "exec/executor.h"
#include "exec/large_objects.h"
#include "exec/messages.h"
#include "parser/lexer.h"
#include "types/functions.h"

namespace standin {

namespace {

// Does source `r` answer to the qualifier `q` (alias, or table name when the
// source has no alias)?
bool qualifier_matches(const Relation& r, std::string_view q) {
  if (!r.alias.empty()) return names_equal(r.alias, q);
  return names_equal(r.name, q);
}

bool is_null_literal(const Expr& e) { return e.kind == ExprKind::Literal && e.value.is_null(); }

// The first column called `column` in a source of `s` that answers to
// `qualifier` (any source when there is none); an unqualified name found
// in two sources is ambiguous.
bool find_column(const Scope& s, const std::string& column, const std::string* qualifier, int* source, int* index) {
  *source = -1;
  for (size_t i = 0; i < s.sources.size(); ++i) {
    const Relation& r = *s.sources[i];
    if (qualifier && !qualifier_matches(r, *qualifier)) continue;
    for (size_t c = 0; c < r.column_names.size(); ++c) {
      if (!names_equal(r.column_names[c], column)) continue;
      if (*source >= 0 && !qualifier) throw_error(209, "Ambiguous column name '" + column + "'.");
      *source = static_cast<int>(i);
      *index = static_cast<int>(c);
      break;
    }
  }
  return *source >= 0;
}

// The innermost level that has the column wins; a qualifier that names a
// source of a level without the column stops the search there.
void bind_column(Expr& e, const Scope& scope) {
  const std::string& column = e.names.back();
  const std::string* qualifier = e.names.size() >= 2 ? &e.names[e.names.size() - 2] : nullptr;
  int depth = 0;
  for (const Scope* s = &scope; s; s = s->outer, ++depth) {
    int source = -1, index = -1;
    if (find_column(*s, column, qualifier, &source, &index)) {
      e.depth = depth;
      e.source = source;
      e.column = index;
      e.result_type = s->sources[static_cast<size_t>(source)]->column_types[static_cast<size_t>(index)];
      return;
    }
    if (qualifier)
      for (const Relation* r : s->sources)
        if (qualifier_matches(*r, *qualifier)) throw_invalid_column_name(column);
  }
  if (qualifier) throw_unbound_identifier(dotted_name(e.names));
  throw_invalid_column_name(column);
}

// The catalog functions have no entry in the function table: the executor
// evaluates them by their upper-case name.
void bind_function_name(Expr& e) {
  e.function = find_scalar_function(e.op);
  if (!e.function) {
    std::string upper = ascii_uppered(e.op);
    if (upper != "OBJECT_ID" && upper != "OBJECT_NAME" && upper != "DB_NAME" && upper != "DB_ID" &&
        upper != "IDENT_CURRENT" && upper != "SCOPE_IDENTITY" && upper != "COL_LENGTH" && upper != "TYPE_NAME")
      throw_error(195, "'" + e.op + "' is not a recognized built-in function name.");
    e.op = upper;
    return;
  }
  int n = static_cast<int>(e.args.size());
  if (n < e.function->min_args || n > e.function->max_args)
    throw_error(174, "The " + e.op + " function requires " + std::to_string(e.function->min_args) + " argument(s).");
}

}  // namespace

void Executor::bind(Expr& e, const Scope& scope, std::vector<Expr*>* aggregates) {
  switch (e.kind) {
    case ExprKind::Column: return bind_column(e, scope);
    case ExprKind::Function: {
      // A bare NULL has no type of its own: ISNULL(NULL, b) is b, in b's
      // type, and COALESCE takes its type from the other arguments.
      if (e.args.size() == 2 && is_null_literal(*e.args[0]) && names_equal(e.op, "ISNULL")) {
        ExprPtr replacement = std::move(e.args[1]);
        e = std::move(*replacement);
        bind(e, scope, aggregates);
        return;
      }
      if (names_equal(e.op, "COALESCE") && e.args.size() >= 2) {
        std::erase_if(e.args, [](const ExprPtr& a) { return is_null_literal(*a); });
        if (e.args.empty())
          throw_error(4127,
                      "At least one of the arguments to COALESCE must be an expression that is not "
                      "the NULL constant.");
      }
      bind_function_name(e);
      break;
    }
    case ExprKind::Aggregate:
      if (!aggregates)
        throw_error(147,
                    "An aggregate may not appear in the WHERE clause unless it is in a subquery "
                    "contained in a HAVING clause or a select list, and the column being aggregated "
                    "is an outer reference.",
                    15);
      e.slot = static_cast<int>(aggregates->size());
      aggregates->push_back(&e);
      // The argument is evaluated per row, outside any group.
      for (auto& a : e.args) bind(*a, scope, nullptr);
      return;
    case ExprKind::InQuery:
    case ExprKind::Exists:
    case ExprKind::Subquery:
      // The subquery itself is bound when it runs.
      for (auto& a : e.args) bind(*a, scope, aggregates);
      return;
    default: break;
  }
  for (auto& a : e.args) bind(*a, scope, aggregates);
  if (e.kind == ExprKind::Compare || e.kind == ExprKind::InList) check_comparable_operands(e);
}

}  // namespace standin
