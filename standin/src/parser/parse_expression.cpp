// Expressions, in T-SQL's precedence order, lowest first:
//   OR;  AND;  NOT;  comparisons, IS [NOT] NULL, [NOT] LIKE / IN / BETWEEN, EXISTS;
//   + - (binary);  * / %;  unary - + ~;  primaries.
#include <charconv>
#include <cstdlib>
#include <optional>

#include "parser/parser_internal.h"
#include "types/utf8.h"

namespace standin {

namespace {

bool is_comparison(const Token& t) {
  if (t.kind != TokenKind::Operator) return false;
  return t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" || t.text == ">" || t.text == "<=" ||
         t.text == ">=" || t.text == "!<" || t.text == "!>";
}

bool is_aggregate_name(std::string_view name) {
  return iequals(name, "COUNT") || iequals(name, "SUM") || iequals(name, "MIN") || iequals(name, "MAX") ||
         iequals(name, "AVG") || iequals(name, "COUNT_BIG");
}

bool takes_date_part(std::string_view name) {
  return iequals(name, "DATEADD") || iequals(name, "DATEDIFF") || iequals(name, "DATEPART") ||
         iequals(name, "DATENAME");
}

bool is_literal(TokenKind kind) {
  switch (kind) {
    case TokenKind::Integer:
    case TokenKind::Decimal:
    case TokenKind::Float:
    case TokenKind::String:
    case TokenKind::NString:
    case TokenKind::Binary: return true;
    default: return false;
  }
}

}  // namespace

ExprPtr Parser::parse_expr() {
  // Most operands of the data scripts are a lone literal or NULL before a
  // comma or a closing parenthesis: those skip the descent through every
  // level of precedence, which would find no operator on any of them.
  const Token& t = peek();
  if ((is_literal(t.kind) || t.is_word("NULL")) && (peek(1).is_op(",") || peek(1).is_op(")"))) return parse_primary();
  Nesting nesting(*this);
  return parse_or();
}

ExprPtr Parser::parse_or() {
  ExprPtr left = parse_and();
  Nesting chain(*this, 0);
  while (peek().is_word("OR")) {
    chain.deeper();
    uint32_t line = take().line;
    auto e = make_expr(ExprKind::Or, line);
    e->args.push_back(std::move(left));
    e->args.push_back(parse_and());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::parse_and() {
  ExprPtr left = parse_not();
  Nesting chain(*this, 0);
  while (peek().is_word("AND")) {
    chain.deeper();
    uint32_t line = take().line;
    auto e = make_expr(ExprKind::And, line);
    e->args.push_back(std::move(left));
    e->args.push_back(parse_not());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::parse_not() {
  if (peek().is_word("NOT")) {
    Nesting nesting(*this);
    uint32_t line = take().line;
    auto e = make_expr(ExprKind::Not, line);
    e->args.push_back(parse_not());
    return e;
  }
  return parse_predicate();
}

ExprPtr Parser::parse_predicate() {
  if (peek().is_word("EXISTS")) {
    uint32_t line = take().line;
    expect_op("(");
    auto e = make_expr(ExprKind::Exists, line);
    e->query = parse_query();
    expect_op(")");
    return e;
  }
  ExprPtr left = parse_additive();
  const Token& t = peek();
  uint32_t line = t.line;
  if (is_comparison(t)) {
    std::string op(take().text);
    if (op == "!=") op = "<>";
    if (op == "!<") op = ">=";
    if (op == "!>") op = "<=";
    auto e = make_expr(ExprKind::Compare, line);
    e->op = op;
    e->args.push_back(std::move(left));
    e->args.push_back(parse_additive());
    return e;
  }
  if (t.is_word("IS")) {
    take();
    auto e = make_expr(ExprKind::IsNull, line);
    e->negated = accept_word("NOT");
    expect_word("NULL");
    e->args.push_back(std::move(left));
    return e;
  }
  return parse_negatable_predicate(std::move(left), line);
}

// [NOT] LIKE, [NOT] IN or [NOT] BETWEEN after its left operand; the operand
// alone when none follows.
ExprPtr Parser::parse_negatable_predicate(ExprPtr left, uint32_t line) {
  const Token& t = peek();
  bool negated = false;
  if (t.is_word("NOT") && (peek(1).is_word("LIKE") || peek(1).is_word("IN") || peek(1).is_word("BETWEEN"))) {
    take();
    negated = true;
  }
  if (accept_word("LIKE")) {
    auto e = make_expr(ExprKind::Like, line);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(parse_additive());
    if (accept_word("ESCAPE")) e->args.push_back(parse_additive());
    return e;
  }
  if (accept_word("IN")) {
    expect_op("(");
    if (at_query_start()) {
      auto e = make_expr(ExprKind::InQuery, line);
      e->negated = negated;
      e->args.push_back(std::move(left));
      e->query = parse_query();
      expect_op(")");
      return e;
    }
    auto e = make_expr(ExprKind::InList, line);
    e->negated = negated;
    e->args.push_back(std::move(left));
    do e->args.push_back(parse_expr());
    while (accept_op(","));
    expect_op(")");
    return e;
  }
  if (accept_word("BETWEEN")) {
    auto e = make_expr(ExprKind::Between, line);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(parse_additive());
    expect_word("AND");
    e->args.push_back(parse_additive());
    return e;
  }
  if (negated) fail();
  return left;
}

ExprPtr Parser::parse_additive() {
  ExprPtr left = parse_multiplicative();
  Nesting chain(*this, 0);
  for (;;) {
    const Token& t = peek();
    if (!(t.is_op("+") || t.is_op("-") || t.is_op("&") || t.is_op("|") || t.is_op("^"))) break;
    take();
    chain.deeper();
    auto e = make_expr(ExprKind::Arith, t.line);
    e->op = std::string(t.text);
    e->args.push_back(std::move(left));
    e->args.push_back(parse_multiplicative());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::parse_multiplicative() {
  ExprPtr left = parse_unary();
  Nesting chain(*this, 0);
  for (;;) {
    const Token& t = peek();
    if (!(t.is_op("*") || t.is_op("/") || t.is_op("%"))) break;
    take();
    chain.deeper();
    auto e = make_expr(ExprKind::Arith, t.line);
    e->op = std::string(t.text);
    e->args.push_back(std::move(left));
    e->args.push_back(parse_unary());
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::parse_unary() {
  const Token& t = peek();
  std::optional<Nesting> nesting;
  if (t.is_op("-") || t.is_op("+") || t.is_op("~")) nesting.emplace(*this);
  if (t.is_op("-")) {
    take();
    ExprPtr operand = parse_unary();
    // Fold a negative number literal, so that -1 keeps the type of 1.
    if (operand->kind == ExprKind::Literal && !operand->value.is_null() && operand->value.type().is_numeric() &&
        !operand->negated) {
      const Value& v = operand->value;
      if (v.type().is_integer() && v.int_value() != INT64_MIN) {
        operand->value = Value::integer(-v.int_value(), v.type().type);
        return operand;
      }
      if (v.type().type == Type::Decimal) {
        Decimal d = v.decimal_value();
        operand->value = Value::decimal(Decimal(-d.unscaled(), d.scale()), v.type());
        return operand;
      }
      if (v.type().type == Type::Float) {
        operand->value = Value::floating(-v.float_value());
        return operand;
      }
    }
    auto e = make_expr(ExprKind::Negate, t.line);
    e->args.push_back(std::move(operand));
    return e;
  }
  if (t.is_op("+")) {
    take();
    auto e = make_expr(ExprKind::Plus, t.line);
    e->args.push_back(parse_unary());
    return e;
  }
  if (t.is_op("~")) {
    take();
    auto e = make_expr(ExprKind::BitNot, t.line);
    e->args.push_back(parse_unary());
    return e;
  }
  return parse_primary();
}

ExprPtr Parser::parse_literal() {
  const Token& t = peek();
  auto e = make_expr(ExprKind::Literal, t.line);
  switch (t.kind) {
    case TokenKind::Integer: {
      take();
      std::string_view digits = t.text;
      uint64_t v = 0;
      auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
      if (problem == std::errc() && end == digits.data() + digits.size() && v <= 2147483647ULL) {
        e->value = Value::integer(static_cast<int64_t>(v), Type::Int);
      } else {
        Decimal d;
        if (!Decimal::parse(digits, &d))
          fail_message(1007, "The number '" + std::string(digits) +
                                 "' is out of the range for numeric representation (maximum precision 38).");
        e->value = Value::decimal(d);
      }
      return e;
    }
    case TokenKind::Decimal: {
      take();
      Decimal d;
      if (!Decimal::parse(t.text, &d))
        fail_message(1007, "The number '" + std::string(t.text) +
                               "' is out of the range for numeric representation (maximum precision 38).");
      e->value = Value::decimal(d);
      return e;
    }
    case TokenKind::Float: {
      take();
      e->value = Value::floating(std::strtod(std::string(t.text).c_str(), nullptr));
      return e;
    }
    case TokenKind::String: {
      take();
      std::string s = string_literal_value(t);
      auto n = static_cast<int32_t>(utf8_length(s));
      e->value = Value::string(std::move(s), TypeInfo::varchar(n > 0 ? n : 1));
      return e;
    }
    case TokenKind::NString: {
      take();
      std::string s = string_literal_value(t);
      auto n = static_cast<int32_t>(utf8_length(s));
      e->value = Value::string(std::move(s), TypeInfo::nvarchar(n > 0 ? n : 1));
      return e;
    }
    case TokenKind::Binary: {
      take();
      std::string hex(t.text.substr(2));
      if (hex.size() % 2) hex.insert(hex.begin(), '0');
      std::string bytes;
      for (size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
      int n = static_cast<int>(bytes.size());
      e->value = Value::binary(std::move(bytes), TypeInfo{Type::VarBinary, n > 0 ? n : 1, 0, 0});
      return e;
    }
    default: fail();
  }
}

ExprPtr Parser::parse_primary() {
  const Token& t = peek();
  if (is_literal(t.kind)) return parse_literal();
  switch (t.kind) {
    case TokenKind::Variable: {
      take();
      auto e = make_expr(ExprKind::Variable, t.line);
      e->names = {std::string(t.text)};
      return e;
    }
    case TokenKind::Operator:
      if (t.is_op("(")) {
        take();
        if (at_query_start()) {
          auto e = make_expr(ExprKind::Subquery, t.line);
          e->query = parse_query();
          expect_op(")");
          return e;
        }
        ExprPtr inner = parse_expr();
        expect_op(")");
        return inner;
      }
      fail();
    case TokenKind::Identifier:
      if (t.is_word("NULL")) {
        take();
        auto e = make_expr(ExprKind::Literal, t.line);
        e->value = Value::null();
        return e;
      }
      if (t.is_word("CASE")) return parse_case();
      if ((t.is_word("CAST") || t.is_word("CONVERT") || t.is_word("TRY_CAST")) && peek(1).is_op("("))
        return parse_cast();
      if (peek(1).is_op("(") && !t.reserved) {
        take();
        take();
        return parse_function_call(std::string(t.text), t.line);
      }
      if ((t.is_word("LEFT") || t.is_word("RIGHT")) && peek(1).is_op("(")) {
        take();
        take();
        return parse_function_call(std::string(t.text), t.line);
      }
      if (t.reserved) fail();
      [[fallthrough]];
    case TokenKind::QuotedIdentifier: {
      auto e = make_expr(ExprKind::Column, t.line);
      e->names = take_multipart_name();
      if (peek().is_op("(")) fail();  // schema-qualified scalar functions are not supported
      return e;
    }
    default: fail();
  }
}

// CAST(x AS type), TRY_CAST(x AS type) or CONVERT(type, x [, style]).
ExprPtr Parser::parse_cast() {
  const Token& t = take();
  bool is_cast = !t.is_word("CONVERT");
  take();
  auto e = make_expr(ExprKind::Cast, t.line);
  if (is_cast) {
    e->args.push_back(parse_expr());
    expect_word("AS");
    e->cast_type = std::make_unique<TypeSpec>(parse_type());
  } else {
    e->cast_type = std::make_unique<TypeSpec>(parse_type());
    expect_op(",");
    e->args.push_back(parse_expr());
    if (accept_op(",")) {
      const Token& st = peek();
      if (!st.is(TokenKind::Integer)) fail();
      take();
      e->style = std::atoi(std::string(st.text).c_str());
    }
  }
  expect_op(")");
  return e;
}

ExprPtr Parser::parse_function_call(std::string name, uint32_t line) {
  if (is_aggregate_name(name)) {
    auto e = make_expr(ExprKind::Aggregate, line);
    name = ascii_uppered(name);
    e->op = name;
    if (accept_op("*")) {
      if (name != "COUNT" && name != "COUNT_BIG") fail();
      e->star = true;
    } else {
      if (accept_word("DISTINCT"))
        e->distinct = true;
      else
        accept_word("ALL");
      e->args.push_back(parse_expr());
    }
    expect_op(")");
    return e;
  }
  auto e = make_expr(ExprKind::Function, line);
  e->op = std::move(name);
  if (!peek().is_op(")")) {
    if (takes_date_part(e->op)) {
      const Token& part = peek();
      if (!part.is_name() && !part.is(TokenKind::String)) fail();
      take();
      auto p = make_expr(ExprKind::Literal, part.line);
      std::string text = part.is(TokenKind::String) ? string_literal_value(part) : identifier_value(part);
      int n = static_cast<int>(text.size());
      p->value = Value::string(std::move(text), TypeInfo::varchar(n > 0 ? n : 1));
      p->kind = ExprKind::DatePart;
      e->args.push_back(std::move(p));
      if (accept_op(",")) {
        do e->args.push_back(parse_expr());
        while (accept_op(","));
      }
    } else {
      do e->args.push_back(parse_expr());
      while (accept_op(","));
    }
  }
  expect_op(")");
  return e;
}

ExprPtr Parser::parse_case() {
  uint32_t line = take().line;
  auto e = make_expr(ExprKind::Case, line);
  if (!peek().is_word("WHEN")) {
    e->has_operand = true;
    e->args.push_back(parse_expr());
  }
  if (!peek().is_word("WHEN")) fail();
  while (accept_word("WHEN")) {
    e->args.push_back(parse_expr());
    expect_word("THEN");
    e->args.push_back(parse_expr());
  }
  if (accept_word("ELSE")) {
    e->has_else = true;
    e->args.push_back(parse_expr());
  }
  expect_word("END");
  return e;
}

// A type as written: name [(n [, m]) | (max)]. Also "double precision".
TypeSpec Parser::parse_type() {
  TypeSpec spec;
  std::vector<std::string> parts = take_multipart_name();  // [sys].[int] and dbo.name are accepted
  spec.name = parts.back();
  if (iequals(spec.name, "double") && accept_word("PRECISION")) spec.name = "float";
  if (iequals(spec.name, "national")) {
    if (accept_word("CHARACTER") || accept_word("CHAR")) {
      spec.name = accept_word("VARYING") ? "nvarchar" : "nchar";
    }
  }
  if (peek().is_op("(")) {
    take();
    if (accept_word("MAX")) {
      spec.max = true;
    } else {
      const Token& a = peek();
      if (!a.is(TokenKind::Integer)) fail();
      take();
      spec.arg1 = std::atoi(std::string(a.text).c_str());
      if (accept_op(",")) {
        const Token& b = peek();
        if (!b.is(TokenKind::Integer)) fail();
        take();
        spec.arg2 = std::atoi(std::string(b.text).c_str());
      }
    }
    expect_op(")");
  }
  return spec;
}

}  // namespace standin
