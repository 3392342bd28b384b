#include "exec/large_objects.h"

#include <optional>
#include <string>

#include "exec/executor.h"
#include "types/convert.h"

namespace standin {

namespace {

// The operator as SQL Server names it in message 402. The parser has turned
// != into <>, !< into >= and !> into <=.
std::string_view operator_words(std::string_view op) {
  if (op == "=") return "equal to";
  if (op == "<>") return "not equal to";
  if (op == "<") return "less than";
  if (op == ">") return "greater than";
  if (op == "<=") return "less than or equal to";
  if (op == ">=") return "greater than or equal to";
  return op;
}

[[noreturn]] void throw_incompatible(std::string_view op, const TypeInfo& a, const TypeInfo& b) {
  throw_error(402, "The data types " + std::string(type_message_name(a.type)) + " and " +
                       std::string(type_message_name(b.type)) + " are incompatible in the " +
                       std::string(operator_words(op)) + " operator.");
}

// The type an operand has before any row is read, where binding knows it.
std::optional<TypeInfo> bound_type(const Expr& e) {
  if (e.kind == ExprKind::Column) return e.result_type;
  if (e.kind == ExprKind::Literal) return e.value.type();
  return std::nullopt;
}

void check_pair(std::string_view op, const Expr& a, const Expr& b) {
  std::optional<TypeInfo> ta = bound_type(a);
  std::optional<TypeInfo> tb = bound_type(b);
  if (!ta || !tb) return;  // left to check_comparable_values
  if (is_large_object(*ta) || is_large_object(*tb)) throw_incompatible(op, *ta, *tb);
}

}  // namespace

bool is_large_object(const TypeInfo& t) { return t.is_lob(); }

void check_comparable_operands(const Expr& comparison) {
  if (comparison.kind == ExprKind::Compare) return check_pair(comparison.op, *comparison.args[0], *comparison.args[1]);
  // x IN (a, b) is x = a OR x = b.
  for (size_t i = 1; i < comparison.args.size(); ++i) check_pair("=", *comparison.args[0], *comparison.args[i]);
}

void check_comparable_values(std::string_view op, const Value& a, const Value& b) {
  if (is_large_object(a.type()) || is_large_object(b.type())) throw_incompatible(op, a.type(), b.type());
}

void check_sortable(const TypeInfo& t) {
  if (is_large_object(t))
    throw_error(306,
                "The text, ntext, and image data types cannot be compared or sorted, except when using IS NULL or "
                "LIKE operator.");
}

void check_sortable(const Expr& e) {
  std::optional<TypeInfo> t = bound_type(e);
  if (t) check_sortable(*t);
}

void check_distinct_column(const TypeInfo& t) {
  if (is_large_object(t))
    throw_error(421, "The " + std::string(type_message_name(t.type)) +
                         " data type cannot be selected as DISTINCT because it is not comparable.");
}

}  // namespace standin
