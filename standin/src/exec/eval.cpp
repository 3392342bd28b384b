// Expression evaluation with SQL's three-valued logic: a predicate is TRUE,
// FALSE or UNKNOWN (NULL); WHERE and ON keep a row only when it is TRUE.
#include <optional>
#include <span>

#include "exec/executor.h"
#include "exec/large_objects.h"
#include "exec/messages.h"
#include "parser/lexer.h"
#include "types/arith.h"
#include "types/compare.h"
#include "types/convert.h"
#include "types/functions.h"
#include "types/sql_error.h"
#include "types/type_names.h"

namespace standin {

namespace {

enum class Truth { False, True, Unknown };

Value truth_value(Truth t) {
  if (t == Truth::Unknown) return Value::null(TypeInfo{Type::Bit});
  return Value::bit(t == Truth::True);
}

Truth to_truth(const Value& v) {
  if (v.is_null()) return Truth::Unknown;
  return v.int_value() != 0 ? Truth::True : Truth::False;
}

[[noreturn]] void rethrow(const Error& e) { throw_error(e); }

int compare_or_throw(const Value& a, const Value& b, const EvalContext& ctx) {
  int r = 0;
  Error err;
  if (!compare_values(a, b, ctx, &r, &err)) rethrow(err);
  return r;
}

bool compare_op(std::string_view op, int r) {
  if (op == "=") return r == 0;
  if (op == "<>") return r != 0;
  if (op == "<") return r < 0;
  if (op == ">") return r > 0;
  if (op == "<=") return r <= 0;
  return r >= 0;  // ">="
}

ArithOp arith_op(std::string_view op) {
  switch (op[0]) {
    case '+': return ArithOp::Add;
    case '-': return ArithOp::Subtract;
    case '*': return ArithOp::Multiply;
    case '/': return ArithOp::Divide;
    default: return ArithOp::Modulo;
  }
}

// One function per expression kind. They are free functions over the
// executor's public face, so that eval() itself is only the dispatch.

Value column_value(const Expr& e, const Frame& f) {
  const Frame* fr = &f;
  for (int d = 0; d < e.depth; ++d) fr = fr->outer;
  const Row* row = (*fr->rows)[static_cast<size_t>(e.source)];
  if (!row) return Value::null(e.result_type);
  return (*row)[static_cast<size_t>(e.column)];
}

Value variable_value(Executor& ex, const Expr& e) {
  std::string name = ascii_uppered(e.names[0]);
  if (name == "@@TRANCOUNT") return Value::integer(ex.trancount());
  auto it = ex.session().variables.find(name);
  if (it == ex.session().variables.end())
    throw_error(137, "Must declare the scalar variable \"" + e.names[0] + "\".", 15);
  return it->second;
}

Value negated(const Value& v) {
  Value out;
  Error err;
  if (!negate(v, &out, &err)) rethrow(err);
  return out;
}

Value bit_not(const Value& v) {
  if (v.is_null()) return v;
  return Value::integer(~v.int_value(), v.type().type);
}

Value arithmetic(const Expr& e, const Value& a, const Value& b, const EvalContext& ctx) {
  Value out;
  Error err;
  char op = e.op[0];
  if (op == '&' || op == '|' || op == '^') {
    if (a.is_null() || b.is_null()) return Value::null();
    int64_t x = a.int_value(), y = b.int_value();
    return Value::integer(op == '&' ? (x & y) : op == '|' ? (x | y) : (x ^ y));
  }
  if (op == '+' && a.type().is_string() && b.type().is_string()) {
    if (!concat(a, b, &out, &err)) rethrow(err);
    return out;
  }
  if (!arith(arith_op(e.op), a, b, ctx, &out, &err)) rethrow(err);
  return out;
}

Value comparison(const Expr& e, const Value& a, const Value& b, const EvalContext& ctx) {
  check_comparable_values(e.op, a, b);
  if (a.is_null() || b.is_null()) return truth_value(Truth::Unknown);
  return truth_value(compare_op(e.op, compare_or_throw(a, b, ctx)) ? Truth::True : Truth::False);
}

// AND and OR look at their right side only when the left one leaves the
// answer open; FALSE AND x and TRUE OR x never evaluate x.
Value conjunction(Executor& ex, const Expr& e, const Frame& f) {
  Truth a = to_truth(ex.eval(*e.args[0], f));
  if (a == Truth::False) return truth_value(Truth::False);
  Truth b = to_truth(ex.eval(*e.args[1], f));
  if (b == Truth::False) return truth_value(Truth::False);
  if (a == Truth::True && b == Truth::True) return truth_value(Truth::True);
  return truth_value(Truth::Unknown);
}

Value disjunction(Executor& ex, const Expr& e, const Frame& f) {
  Truth a = to_truth(ex.eval(*e.args[0], f));
  if (a == Truth::True) return truth_value(Truth::True);
  Truth b = to_truth(ex.eval(*e.args[1], f));
  if (b == Truth::True) return truth_value(Truth::True);
  if (a == Truth::False && b == Truth::False) return truth_value(Truth::False);
  return truth_value(Truth::Unknown);
}

Value negation(const Value& v) {
  Truth a = to_truth(v);
  if (a == Truth::Unknown) return truth_value(a);
  return truth_value(a == Truth::True ? Truth::False : Truth::True);
}

Value like(Executor& ex, const Expr& e, const Frame& f) {
  Value text = ex.eval(*e.args[0], f);
  Value pattern = ex.eval(*e.args[1], f);
  if (text.is_null() || pattern.is_null()) return truth_value(Truth::Unknown);
  Value ts, ps;
  Error err;
  TypeInfo vc = TypeInfo::varchar(8000);
  if (!cast_value(text, vc, ex.ctx(), &ts, &err) || !cast_value(pattern, vc, ex.ctx(), &ps, &err)) rethrow(err);
  bool m;
  if (e.args.size() > 2) {
    Value esc = ex.eval(*e.args[2], f);
    if (esc.is_null() || esc.string_value().empty()) return truth_value(Truth::Unknown);
    m = like_match(ts.string_value(), ps.string_value(),
                   static_cast<char32_t>(static_cast<unsigned char>(esc.string_value()[0])));
  } else {
    m = like_match(ts.string_value(), ps.string_value());
  }
  return Value::bit(e.negated ? !m : m);
}

// IN over a list or a subquery's rows: TRUE on a match, else UNKNOWN when a
// candidate was NULL, else FALSE; NOT IN turns TRUE and FALSE round.
template <typename Candidates, typename ValueOf>
Value membership(const Expr& e, const Value& v, const EvalContext& ctx, const Candidates& candidates,
                 ValueOf value_of) {
  bool saw_null = false;
  for (const auto& candidate : candidates) {
    Value item = value_of(candidate);
    check_comparable_values("=", v, item);
    if (item.is_null()) {
      saw_null = true;
      continue;
    }
    if (compare_or_throw(v, item, ctx) == 0) return truth_value(e.negated ? Truth::False : Truth::True);
  }
  if (saw_null) return truth_value(Truth::Unknown);
  return truth_value(e.negated ? Truth::True : Truth::False);
}

Value in_list(Executor& ex, const Expr& e, const Frame& f) {
  Value v = ex.eval(*e.args[0], f);
  if (v.is_null()) return truth_value(Truth::Unknown);
  auto items = std::span(e.args).subspan(1);
  return membership(e, v, ex.ctx(), items, [&](const ExprPtr& item) { return ex.eval(*item, f); });
}

Value in_query(Executor& ex, const Expr& e, const Frame& f) {
  Value v = ex.eval(*e.args[0], f);
  ResultSet rs = ex.run_query(*e.query, f.scope, &f);
  if (rs.columns.size() != 1) throw_subquery_too_many_columns();
  if (v.is_null())
    return rs.rows.empty() ? truth_value(e.negated ? Truth::True : Truth::False) : truth_value(Truth::Unknown);
  return membership(e, v, ex.ctx(), rs.rows, [](const Row& r) { return r[0]; });
}

Value between(Executor& ex, const Expr& e, const Frame& f) {
  Value v = ex.eval(*e.args[0], f);
  Value lo = ex.eval(*e.args[1], f);
  Value hi = ex.eval(*e.args[2], f);
  const EvalContext& ctx = ex.ctx();
  Truth t1 =
      (v.is_null() || lo.is_null()) ? Truth::Unknown : (compare_or_throw(v, lo, ctx) >= 0 ? Truth::True : Truth::False);
  Truth t2 =
      (v.is_null() || hi.is_null()) ? Truth::Unknown : (compare_or_throw(v, hi, ctx) <= 0 ? Truth::True : Truth::False);
  Truth both = (t1 == Truth::False || t2 == Truth::False) ? Truth::False
               : (t1 == Truth::True && t2 == Truth::True) ? Truth::True
                                                          : Truth::Unknown;
  if (e.negated && both != Truth::Unknown) both = both == Truth::True ? Truth::False : Truth::True;
  return truth_value(both);
}

// CASE x WHEN a THEN ... compares with =, so a NULL operand matches no WHEN;
// CASE WHEN p THEN ... takes the first predicate that is TRUE.
Value case_value(Executor& ex, const Expr& e, const Frame& f) {
  size_t i = 0;
  std::optional<Value> operand;
  if (e.has_operand) operand = ex.eval(*e.args[i++], f);
  size_t end = e.args.size() - (e.has_else ? 1 : 0);
  for (; i < end; i += 2) {
    bool hit;
    if (operand) {
      Value w = ex.eval(*e.args[i], f);
      hit = !operand->is_null() && !w.is_null() && compare_or_throw(*operand, w, ex.ctx()) == 0;
    } else {
      hit = ex.eval_predicate(*e.args[i], f);
    }
    if (hit) return ex.eval(*e.args[i + 1], f);
  }
  if (e.has_else) return ex.eval(*e.args.back(), f);
  return Value::null();
}

Value function_call(Executor& ex, const Expr& e, const Frame& f) {
  std::vector<Value> args;
  args.reserve(e.args.size());
  for (const auto& a : e.args) args.push_back(ex.eval(*a, f));
  // The binder leaves `function` empty for the catalog functions.
  if (!e.function) return catalog_function(ex.catalog(), ex.current_database(), e.op, args);
  Value out;
  Error err;
  if (!e.function->fn(args, ex.ctx(), &out, &err)) rethrow(err);
  return out;
}

Value cast(const Expr& e, const Value& v, const EvalContext& ctx) {
  TypeInfo target;
  Error err;
  const TypeSpec& type = *e.cast_type;
  if (!parse_type_name(type.name, type.arg1, type.arg2, type.max, TypeUse::Cast, &target, &err)) rethrow(err);
  Value out;
  if (!cast_value(v, target, ctx, &out, &err, e.style)) rethrow(err);
  return out;
}

Value aggregate_result(const Expr& e, const Frame& f) {
  if (!f.group) throw_error(8120, "Aggregate used outside a grouped query.");
  return f.group->aggregates[static_cast<size_t>(e.slot)];
}

Value scalar_subquery(Executor& ex, const Expr& e, const Frame& f) {
  ResultSet rs = ex.run_query(*e.query, f.scope, &f);
  if (rs.columns.size() != 1) throw_subquery_too_many_columns();
  if (rs.rows.empty()) return Value::null(rs.columns[0].type);
  if (rs.rows.size() > 1)
    throw_error(512,
                "Subquery returned more than 1 value. This is not permitted when the subquery "
                "follows =, !=, <, <= , >, >= or when the subquery is used as an expression.");
  return rs.rows[0][0];
}

}  // namespace

bool Executor::eval_predicate(const Expr& e, const Frame& f) {
  Value v = eval(e, f);
  return to_truth(v) == Truth::True;
}

Value Executor::eval_constant(Expr& e) {
  Scope no_sources;
  bind(e, no_sources, nullptr);
  return eval(e, Frame{nullptr, nullptr, nullptr, &no_sources});
}

bool Executor::eval_constant_predicate(Expr& e) { return to_truth(eval_constant(e)) == Truth::True; }

Value Executor::eval(const Expr& e, const Frame& f) {
  switch (e.kind) {
    case ExprKind::Literal:
    case ExprKind::DatePart: return e.value;
    case ExprKind::Column: return column_value(e, f);
    case ExprKind::Variable: return variable_value(*this, e);
    case ExprKind::Negate: return negated(eval(*e.args[0], f));
    case ExprKind::Plus: return eval(*e.args[0], f);
    case ExprKind::BitNot: return bit_not(eval(*e.args[0], f));
    case ExprKind::Arith: {
      Value a = eval(*e.args[0], f);
      return arithmetic(e, a, eval(*e.args[1], f), ctx_);
    }
    case ExprKind::Compare: {
      Value a = eval(*e.args[0], f);
      return comparison(e, a, eval(*e.args[1], f), ctx_);
    }
    case ExprKind::And: return conjunction(*this, e, f);
    case ExprKind::Or: return disjunction(*this, e, f);
    case ExprKind::Not: return negation(eval(*e.args[0], f));
    case ExprKind::IsNull: {
      bool null = eval(*e.args[0], f).is_null();
      return Value::bit(e.negated ? !null : null);
    }
    case ExprKind::Like: return like(*this, e, f);
    case ExprKind::InList: return in_list(*this, e, f);
    case ExprKind::InQuery: return in_query(*this, e, f);
    case ExprKind::Exists: return Value::bit(!run_query(*e.query, f.scope, &f).rows.empty());
    case ExprKind::Between: return between(*this, e, f);
    case ExprKind::Case: return case_value(*this, e, f);
    case ExprKind::Function: return function_call(*this, e, f);
    case ExprKind::Cast: return cast(e, eval(*e.args[0], f), ctx_);
    case ExprKind::Aggregate: return aggregate_result(e, f);
    case ExprKind::Subquery: return scalar_subquery(*this, e, f);
  }
  return Value::null();
}

}  // namespace standin
