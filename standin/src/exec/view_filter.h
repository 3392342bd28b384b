// The equalities `column = 'text'` that the WHERE clause of a query over one
// catalog view ANDs together. The view skips rows that one of them rules out
// instead of building every row first: a column probe of the upgrade asks
// INFORMATION_SCHEMA.COLUMNS for one column of one table, and the view of a
// tenant has thousands. WHERE still filters the rows that are left, so the
// filter only ever removes rows that WHERE would remove.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parser/ast.h"
#include "types/eval_context.h"

namespace standin {

class ViewFilter {
 public:
  ViewFilter() = default;
  // `where` may be null; `source` is the name column references may be
  // qualified with (the alias, or the view's name).
  ViewFilter(const Expr* where, std::string_view source, const EvalContext& ctx);

  // False when `column` (case-insensitive) must equal a text that `value`
  // does not equal under the server collation.
  bool admits(std::string_view column, std::string_view value) const;
  // False when `column` must equal some text: a NULL never does.
  bool admits_null(std::string_view column) const;

 private:
  void collect(const Expr& e, std::string_view source);

  std::vector<std::pair<std::string, Value>> equalities_;
  const EvalContext* ctx_ = nullptr;
};

}  // namespace standin
