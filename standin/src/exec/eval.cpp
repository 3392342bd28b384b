// Expression evaluation with SQL's three-valued logic: a predicate is TRUE,
// FALSE or UNKNOWN (NULL); WHERE and ON keep a row only when it is TRUE.
#include <cctype>

#include "exec/executor.h"
#include "parser/lexer.h"
#include "types/arith.h"
#include "types/compare.h"
#include "types/functions.h"
#include "types/convert.h"
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

[[noreturn]] void rethrow(const Error& e) {
  // Conversion and arithmetic errors end the batch, as with ARITHABORT ON.
  throw_error(e, true);
}

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

}  // namespace

bool Executor::eval_predicate(const Expr& e, const Frame& f) {
  Value v = eval(e, f);
  return to_truth(v) == Truth::True;
}

Value Executor::eval(const Expr& e, const Frame& f) {
  switch (e.kind) {
    case ExprKind::Literal:
    case ExprKind::DatePart:
      return e.value;

    case ExprKind::Column: {
      const Frame* fr = &f;
      for (int d = 0; d < e.depth; ++d) fr = fr->outer;
      const Row* row = (*fr->rows)[static_cast<size_t>(e.source)];
      if (!row) return Value::null(e.result_type);
      return (*row)[static_cast<size_t>(e.column)];
    }

    case ExprKind::Variable: {
      std::string name = e.names[0];
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (name == "@@TRANCOUNT") return Value::integer(trancount());
      auto it = session_.variables.find(name);
      if (it == session_.variables.end())
        throw_error(137, "Must declare the scalar variable \"" + e.names[0] + "\".", true, 15);
      return it->second;
    }

    case ExprKind::Negate: {
      Value out;
      Error err;
      if (!negate(eval(*e.args[0], f), &out, &err)) rethrow(err);
      return out;
    }
    case ExprKind::Plus:
      return eval(*e.args[0], f);
    case ExprKind::BitNot: {
      Value v = eval(*e.args[0], f);
      if (v.is_null()) return v;
      return Value::integer(~v.int_value(), v.type().type);
    }

    case ExprKind::Arith: {
      Value a = eval(*e.args[0], f);
      Value b = eval(*e.args[1], f);
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
      if (!arith(arith_op(e.op), a, b, ctx_, &out, &err)) rethrow(err);
      return out;
    }

    case ExprKind::Compare: {
      Value a = eval(*e.args[0], f);
      Value b = eval(*e.args[1], f);
      if (a.is_null() || b.is_null()) return truth_value(Truth::Unknown);
      return truth_value(compare_op(e.op, compare_or_throw(a, b, ctx_)) ? Truth::True : Truth::False);
    }

    case ExprKind::And: {
      Truth a = to_truth(eval(*e.args[0], f));
      if (a == Truth::False) return truth_value(Truth::False);
      Truth b = to_truth(eval(*e.args[1], f));
      if (b == Truth::False) return truth_value(Truth::False);
      if (a == Truth::True && b == Truth::True) return truth_value(Truth::True);
      return truth_value(Truth::Unknown);
    }
    case ExprKind::Or: {
      Truth a = to_truth(eval(*e.args[0], f));
      if (a == Truth::True) return truth_value(Truth::True);
      Truth b = to_truth(eval(*e.args[1], f));
      if (b == Truth::True) return truth_value(Truth::True);
      if (a == Truth::False && b == Truth::False) return truth_value(Truth::False);
      return truth_value(Truth::Unknown);
    }
    case ExprKind::Not: {
      Truth a = to_truth(eval(*e.args[0], f));
      if (a == Truth::Unknown) return truth_value(a);
      return truth_value(a == Truth::True ? Truth::False : Truth::True);
    }

    case ExprKind::IsNull: {
      bool null = eval(*e.args[0], f).is_null();
      return Value::bit(e.negated ? !null : null);
    }

    case ExprKind::Like: {
      Value text = eval(*e.args[0], f);
      Value pattern = eval(*e.args[1], f);
      if (text.is_null() || pattern.is_null()) return truth_value(Truth::Unknown);
      Value ts, ps;
      Error err;
      TypeInfo vc = TypeInfo::varchar(8000);
      if (!cast_value(text, vc, ctx_, &ts, &err) || !cast_value(pattern, vc, ctx_, &ps, &err)) rethrow(err);
      bool m;
      if (e.args.size() > 2) {
        Value esc = eval(*e.args[2], f);
        if (esc.is_null() || esc.string_value().empty()) return truth_value(Truth::Unknown);
        m = like_match(ts.string_value(), ps.string_value(),
                       static_cast<char32_t>(static_cast<unsigned char>(esc.string_value()[0])));
      } else {
        m = like_match(ts.string_value(), ps.string_value());
      }
      return Value::bit(e.negated ? !m : m);
    }

    case ExprKind::InList: {
      Value v = eval(*e.args[0], f);
      if (v.is_null()) return truth_value(Truth::Unknown);
      bool saw_null = false;
      for (size_t i = 1; i < e.args.size(); ++i) {
        Value item = eval(*e.args[i], f);
        if (item.is_null()) {
          saw_null = true;
          continue;
        }
        if (compare_or_throw(v, item, ctx_) == 0) return truth_value(e.negated ? Truth::False : Truth::True);
      }
      if (saw_null) return truth_value(Truth::Unknown);
      return truth_value(e.negated ? Truth::True : Truth::False);
    }

    case ExprKind::InQuery: {
      Value v = eval(*e.args[0], f);
      ResultSet rs = run_query(*e.query, f.scope, &f);
      if (rs.columns.size() != 1)
        throw_error(116, "Only one expression can be specified in the select list when the subquery is not introduced with EXISTS.", true);
      if (v.is_null()) return rs.rows.empty() ? truth_value(e.negated ? Truth::True : Truth::False)
                                              : truth_value(Truth::Unknown);
      bool saw_null = false;
      for (const Row& r : rs.rows) {
        if (r[0].is_null()) {
          saw_null = true;
          continue;
        }
        if (compare_or_throw(v, r[0], ctx_) == 0) return truth_value(e.negated ? Truth::False : Truth::True);
      }
      if (saw_null) return truth_value(Truth::Unknown);
      return truth_value(e.negated ? Truth::True : Truth::False);
    }

    case ExprKind::Exists: {
      ResultSet rs = run_query(*e.query, f.scope, &f);
      return Value::bit(!rs.rows.empty());
    }

    case ExprKind::Between: {
      Value v = eval(*e.args[0], f);
      Value lo = eval(*e.args[1], f);
      Value hi = eval(*e.args[2], f);
      Truth t1 = (v.is_null() || lo.is_null()) ? Truth::Unknown
                                               : (compare_or_throw(v, lo, ctx_) >= 0 ? Truth::True : Truth::False);
      Truth t2 = (v.is_null() || hi.is_null()) ? Truth::Unknown
                                               : (compare_or_throw(v, hi, ctx_) <= 0 ? Truth::True : Truth::False);
      Truth both = (t1 == Truth::False || t2 == Truth::False)  ? Truth::False
                   : (t1 == Truth::True && t2 == Truth::True) ? Truth::True
                                                              : Truth::Unknown;
      if (e.negated && both != Truth::Unknown) both = both == Truth::True ? Truth::False : Truth::True;
      return truth_value(both);
    }

    case ExprKind::Case: {
      size_t i = 0;
      std::optional<Value> operand;
      if (e.has_operand) operand = eval(*e.args[i++], f);
      size_t end = e.args.size() - (e.has_else ? 1 : 0);
      std::vector<const Expr*> results;
      for (; i + 1 < end + 1 && i < end; i += 2) {
        bool hit;
        if (operand) {
          Value w = eval(*e.args[i], f);
          hit = !operand->is_null() && !w.is_null() && compare_or_throw(*operand, w, ctx_) == 0;
        } else {
          hit = eval_predicate(*e.args[i], f);
        }
        if (hit) return eval(*e.args[i + 1], f);
      }
      if (e.has_else) return eval(*e.args.back(), f);
      return Value::null();
    }

    case ExprKind::Function: {
      if (!e.function) {
        // Catalog functions, which need the database.
        std::vector<Value> args;
        for (const auto& a : e.args) args.push_back(eval(*a, f));
        Database& db = current_database();
        if (e.op == "OBJECT_ID") {
          if (args.empty() || args[0].is_null()) return Value::null();
          std::string name = args[0].string_value();
          // dbo.Name and [dbo].[Name]: the last part names the object.
          size_t dot = name.rfind('.');
          if (dot != std::string::npos) name = name.substr(dot + 1);
          if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
          auto id = object_id_of(db, name);
          return id ? Value::integer(*id) : Value::null();
        }
        if (e.op == "OBJECT_NAME") {
          if (args.empty() || args[0].is_null()) return Value::null(TypeInfo::nvarchar(128));
          auto name = object_name_of(db, static_cast<int32_t>(args[0].int_value()));
          return name ? Value::string(*name, TypeInfo::nvarchar(128)) : Value::null(TypeInfo::nvarchar(128));
        }
        if (e.op == "DB_NAME") return Value::string(db.name, TypeInfo::nvarchar(128));
        if (e.op == "DB_ID") return Value::integer(db.dbid, Type::SmallInt);
        if (e.op == "IDENT_CURRENT") {
          if (args.empty() || args[0].is_null()) return Value::null();
          Table* t = db.find_table(args[0].string_value());
          if (!t || t->identity_column() < 0) return Value::null(TypeInfo::decimal(38, 0));
          const Column& c = t->columns[static_cast<size_t>(t->identity_column())];
          int64_t v = t->identity_used ? t->identity_current : c.seed;
          return Value::decimal(Decimal(v, 0), TypeInfo::decimal(38, 0));
        }
        if (e.op == "COL_LENGTH") {
          if (args.size() < 2 || args[0].is_null() || args[1].is_null()) return Value::null();
          Table* t = db.find_table(args[0].string_value());
          int c = t ? t->find_column(args[1].string_value()) : -1;
          if (c < 0) return Value::null(TypeInfo{Type::SmallInt});
          const TypeInfo& ty = t->columns[static_cast<size_t>(c)].type;
          return Value::integer(ty.is_string() ? (ty.is_unicode() ? 2 * ty.length : ty.length) : 4, Type::SmallInt);
        }
        return Value::null();
      }
      std::vector<Value> args;
      args.reserve(e.args.size());
      for (const auto& a : e.args) args.push_back(eval(*a, f));
      Value out;
      Error err;
      if (!e.function->fn(args, ctx_, &out, &err)) rethrow(err);
      return out;
    }

    case ExprKind::Cast: {
      Value v = eval(*e.args[0], f);
      TypeInfo target;
      Error err;
      const TypeSpec& type = *e.cast_type;
      if (!parse_type_name(type.name, type.arg1, type.arg2, type.max, TypeUse::Cast, &target, &err))
        rethrow(err);
      Value out;
      if (!cast_value(v, target, ctx_, &out, &err, e.style)) rethrow(err);
      return out;
    }

    case ExprKind::Aggregate: {
      if (!f.group) throw_error(8120, "Aggregate used outside a grouped query.", true);
      return f.group->aggregates[static_cast<size_t>(e.slot)];
    }

    case ExprKind::Subquery: {
      ResultSet rs = run_query(*e.query, f.scope, &f);
      if (rs.columns.size() != 1)
        throw_error(116, "Only one expression can be specified in the select list when the subquery is not introduced with EXISTS.", true);
      if (rs.rows.empty()) return Value::null(rs.columns[0].type);
      if (rs.rows.size() > 1)
        throw_error(512,
                    "Subquery returned more than 1 value. This is not permitted when the subquery "
                    "follows =, !=, <, <= , >, >= or when the subquery is used as an expression.");
      return rs.rows[0][0];
    }
  }
  return Value::null();
}

}  // namespace standin
