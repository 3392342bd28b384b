// CHECK constraints: the definition text SQL Server stores for one, adding
// one to a table, and checking rows against a table's constraints.
#include <algorithm>
#include <optional>

#include "exec/executor.h"
#include "exec/messages.h"
#include "exec/table_definition.h"
#include "parser/parser.h"
#include "types/ascii.h"

namespace standin {

namespace {

std::string bracketed(const std::string& name) {
  std::string out = "[";
  for (char ch : name) {
    out += ch;
    if (ch == ']') out += ']';
  }
  return out + "]";
}

std::string rendered(const Expr& e);

// The connective a predicate is stored as: IN as comparisons joined by OR,
// BETWEEN as two joined by AND (NOT IN and NOT BETWEEN the other way).
std::optional<ExprKind> stored_connective(const Expr& e) {
  switch (e.kind) {
    case ExprKind::And:
    case ExprKind::Or: return e.kind;
    case ExprKind::InList: return e.negated ? ExprKind::And : ExprKind::Or;
    case ExprKind::Between: return e.negated ? ExprKind::Or : ExprKind::And;
    default: return std::nullopt;
  }
}

// An operand of AND or OR: a chain of the other connective keeps its
// parentheses, one of the same connective reads the same without them.
std::string connective_operand(const Expr& e, ExprKind parent) {
  std::optional<ExprKind> own = stored_connective(e);
  return own && *own != parent ? "(" + rendered(e) + ")" : rendered(e);
}

std::string rendered_literal(const Value& v) {
  if (v.is_null()) return "NULL";
  if (v.type().is_string()) return quoted_literal(v);
  return "(" + v.to_display() + ")";
}

std::string rendered_list(const Expr& e, size_t from) {
  std::string out;
  for (size_t i = from; i < e.args.size(); ++i) out += (i > from ? "," : "") + rendered(*e.args[i]);
  return out;
}

std::string rendered_in_list(const Expr& e) {
  // SQL Server stores IN (...) as one comparison per value, the last value
  // first, joined by OR; NOT IN as <> comparisons joined by AND.
  std::string out;
  const std::string left = rendered(*e.args[0]);
  for (size_t i = e.args.size() - 1; i >= 1; --i) {
    if (i + 1 < e.args.size()) out += e.negated ? " AND " : " OR ";
    out += left + (e.negated ? "<>" : "=") + rendered(*e.args[i]);
  }
  return out;
}

std::string rendered_type(const TypeSpec& t) {
  std::string out = ascii_lowered(t.name);
  if (t.max) return out + "(max)";
  if (t.arg1) out += "(" + std::to_string(*t.arg1) + (t.arg2 ? "," + std::to_string(*t.arg2) : "") + ")";
  return out;
}

std::string rendered_case(const Expr& e) {
  std::string out = "case";
  size_t i = 0;
  if (e.has_operand) out += " " + rendered(*e.args[i++]);
  size_t end = e.args.size() - (e.has_else ? 1 : 0);
  for (; i + 1 < end; i += 2) out += " when " + rendered(*e.args[i]) + " then " + rendered(*e.args[i + 1]);
  if (e.has_else) out += " else " + rendered(*e.args.back());
  return out + " end";
}

std::string rendered(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal: return rendered_literal(e.value);
    case ExprKind::Column: return bracketed(e.names.back());
    case ExprKind::Negate: return "-" + rendered(*e.args[0]);
    case ExprKind::Plus: return rendered(*e.args[0]);
    case ExprKind::BitNot: return "~" + rendered(*e.args[0]);
    case ExprKind::Arith: return "(" + rendered(*e.args[0]) + e.op + rendered(*e.args[1]) + ")";
    case ExprKind::Compare: return rendered(*e.args[0]) + e.op + rendered(*e.args[1]);
    case ExprKind::And:
    case ExprKind::Or:
      return connective_operand(*e.args[0], e.kind) + (e.kind == ExprKind::And ? " AND " : " OR ") +
             connective_operand(*e.args[1], e.kind);
    case ExprKind::Not: return "NOT (" + rendered(*e.args[0]) + ")";
    case ExprKind::IsNull: return rendered(*e.args[0]) + (e.negated ? " IS NOT NULL" : " IS NULL");
    case ExprKind::Like:
      return rendered(*e.args[0]) + (e.negated ? " not like " : " like ") + rendered(*e.args[1]) +
             (e.args.size() > 2 ? " escape " + rendered(*e.args[2]) : "");
    case ExprKind::InList: return rendered_in_list(e);
    case ExprKind::Between:
      if (e.negated)
        return rendered(*e.args[0]) + "<" + rendered(*e.args[1]) + " OR " + rendered(*e.args[0]) + ">" +
               rendered(*e.args[2]);
      return rendered(*e.args[0]) + ">=" + rendered(*e.args[1]) + " AND " + rendered(*e.args[0]) +
             "<=" + rendered(*e.args[2]);
    case ExprKind::Case: return "(" + rendered_case(e) + ")";
    case ExprKind::Function: return ascii_lowered(e.op) + "(" + rendered_list(e, 0) + ")";
    case ExprKind::Cast: return "CONVERT(" + rendered_type(*e.cast_type) + "," + rendered(*e.args[0]) + ")";
    case ExprKind::DatePart: return ascii_lowered(e.value.string_value());
    case ExprKind::Aggregate:  // refused when the definition is compiled
      return ascii_lowered(e.op) + "(" + (e.distinct ? "DISTINCT " : "") + (e.star ? "*" : rendered_list(e, 0)) + ")";
    case ExprKind::Variable:
    case ExprKind::InQuery:
    case ExprKind::Exists:
    case ExprKind::Subquery: break;
  }
  return e.op;
}

// What a CHECK expression may not hold: subqueries (1046) and variables,
// which are refused as a name that is no column of the table.
void refuse_non_scalar(const Expr& e) {
  if (e.kind == ExprKind::InQuery || e.kind == ExprKind::Exists || e.kind == ExprKind::Subquery)
    throw_error(1046, "Subqueries are not allowed in this context. Only scalar expressions are allowed.", 15);
  if (e.kind == ExprKind::Variable) throw_invalid_column_name(e.names.back());
  for (const auto& a : e.args) refuse_non_scalar(*a);
}

void collect_columns(const Expr& e, const Table& t, std::vector<std::string>* out) {
  if (e.kind == ExprKind::Column) {
    int ci = t.find_column(e.names.back());
    if (ci < 0) throw_invalid_column_name(e.names.back());
    const std::string& name = t.columns[static_cast<size_t>(ci)].name;
    if (std::none_of(out->begin(), out->end(), [&](const std::string& n) { return names_equal(n, name); }))
      out->push_back(name);
  }
  for (const auto& a : e.args) collect_columns(*a, t, out);
}

// A constraint's expression, parsed from its definition and bound to the
// columns of `t` as they are now (ALTER COLUMN may have changed their types).
struct CompiledCheck {
  const CheckConstraint* constraint;
  ExprPtr expr;
};

// The columns of `t` as the one source a CHECK expression is bound to.
Relation table_relation(const Table& t) {
  Relation rel;
  rel.name = t.name;
  for (const Column& c : t.columns) {
    rel.column_names.push_back(c.name);
    rel.column_types.push_back(c.type);
  }
  rel.rows = &t.rows;
  return rel;
}

CompiledCheck compiled(Executor& ex, const CheckConstraint& k, const Scope& scope) {
  CompiledCheck c{&k, nullptr};
  Error err;
  if (!parse_expression_text(k.definition, &c.expr, &err)) throw_error(err);
  ex.bind(*c.expr, scope, nullptr);
  return c;
}

[[noreturn]] void throw_check_conflict(const Database& db, const Table& t, const CheckConstraint& k,
                                       const char* statement) {
  std::vector<std::string> bound;
  if (k.column_id != 0) bound = k.columns;
  throw_error(547, std::string("The ") + statement + " statement conflicted with the CHECK constraint \"" + k.name +
                       "\". " + conflict_place(db, t, bound));
}

// Checks `rows` of `t` against `constraints` (of `t`).
void check_rows(Executor& ex, const Database& db, const Table& t,
                const std::vector<const CheckConstraint*>& constraints, const std::vector<size_t>& rows,
                const char* statement) {
  if (constraints.empty() || rows.empty()) return;
  Relation rel = table_relation(t);
  Scope scope{{&rel}, nullptr};
  std::vector<CompiledCheck> checks;
  for (const CheckConstraint* k : constraints) checks.push_back(compiled(ex, *k, scope));
  for (size_t i : rows) {
    Tuple tuple{&t.rows[i]};
    Frame f{&tuple, nullptr, nullptr, &scope};
    for (const CompiledCheck& c : checks) {
      Value v = ex.eval(*c.expr, f);
      if (!v.is_null() && v.int_value() == 0) throw_check_conflict(db, t, *c.constraint, statement);
    }
  }
}

}  // namespace

void check_constraints_of(Executor& ex, const Database& db, const Table& t, const std::vector<size_t>& rows,
                          const char* statement) {
  std::vector<const CheckConstraint*> enabled;
  for (const CheckConstraint& k : t.checks)
    if (!k.disabled) enabled.push_back(&k);
  check_rows(ex, db, t, enabled, rows, statement);
}

void check_existing_rows(Executor& ex, const Database& db, const Table& t, const CheckConstraint& k) {
  std::vector<size_t> all(t.rows.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  check_rows(ex, db, t, {&k}, all, "ALTER TABLE");
}

void add_check_constraint(Executor& ex, Database& db, Table& t, const ConstraintDef& c, int column,
                          bool check_existing) {
  if (!c.name.empty()) check_new_object_name(db, c.name);
  refuse_non_scalar(*c.expr);
  CheckConstraint k;
  collect_columns(*c.expr, t, &k.columns);
  if (column >= 0) {
    const Column& own = t.columns[static_cast<size_t>(column)];
    for (const std::string& read : k.columns)
      if (!names_equal(read, own.name))
        throw_could_not_create(8141, "Column CHECK constraint for column '" + own.name +
                                         "' references another column, table '" + t.name + "'.");
  }
  // A constraint that reads one column is bound to that column, wherever
  // it was written.
  const Column* bound = k.columns.size() == 1 ? &t.columns[static_cast<size_t>(t.find_column(k.columns[0]))] : nullptr;
  k.column_id = bound ? bound->column_id : 0;
  k.object_id = db.allocate_object_id();
  k.system_named = c.name.empty();
  k.name = k.system_named ? generated_constraint_name("CK", t, bound, k.object_id) : c.name;
  k.definition = "(" + rendered(*c.expr) + ")";
  k.trusted = check_existing;
  t.checks.push_back(std::move(k));
  // Compiled once now, so that a definition that cannot be bound (an
  // unknown function, an aggregate, a type clash) is refused when it is
  // written, not when a row first meets it.
  Relation rel = table_relation(t);
  Scope scope{{&rel}, nullptr};
  compiled(ex, t.checks.back(), scope);
  if (check_existing) check_existing_rows(ex, db, t, t.checks.back());
}

}  // namespace standin
