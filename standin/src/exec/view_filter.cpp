#include "exec/view_filter.h"

#include "parser/lexer.h"
#include "types/compare.h"

namespace standin {

namespace {

// The column a reference names when it can only mean a column of the view:
// unqualified, or qualified with the view's name or alias.
const std::string* view_column(const Expr& e, std::string_view source) {
  if (e.kind != ExprKind::Column) return nullptr;
  if (e.names.size() == 1) return &e.names[0];
  if (e.names.size() == 2 && iequals(e.names[0], source)) return &e.names[1];
  return nullptr;
}

bool is_text_literal(const Expr& e) {
  return e.kind == ExprKind::Literal && !e.value.is_null() && e.value.type().is_string();
}

}  // namespace

ViewFilter::ViewFilter(const Expr* where, std::string_view source, const EvalContext& ctx) : ctx_(&ctx) {
  if (where) collect(*where, source);
}

void ViewFilter::collect(const Expr& e, std::string_view source) {
  if (e.kind == ExprKind::And) {
    for (const auto& arg : e.args) collect(*arg, source);
    return;
  }
  if (e.kind != ExprKind::Compare || e.op != "=" || e.args.size() != 2) return;
  for (int side = 0; side < 2; ++side) {
    const std::string* column = view_column(*e.args[static_cast<size_t>(side)], source);
    const Expr& other = *e.args[static_cast<size_t>(1 - side)];
    if (column && is_text_literal(other)) equalities_.emplace_back(*column, other.value);
  }
}

bool ViewFilter::admits(std::string_view column, std::string_view value) const {
  for (const auto& [name, wanted] : equalities_) {
    if (!iequals(name, column)) continue;
    int order = 0;
    Error ignored;
    // A comparison that fails is left to WHERE, which reports it.
    if (compare_values(Value::string(std::string(value), TypeInfo::nvarchar(128)), wanted, *ctx_, &order, &ignored) &&
        order != 0)
      return false;
  }
  return true;
}

bool ViewFilter::admits_null(std::string_view column) const {
  for (const auto& equality : equalities_)
    if (iequals(equality.first, column)) return false;
  return true;
}

}  // namespace standin
