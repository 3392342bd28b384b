// What text, ntext and image values may not take part in: comparison with
// the comparison operators (402), ORDER BY and GROUP BY (306), DISTINCT
// (421). LIKE, IS NULL, DATALENGTH and a CAST to a (max) type stay open to
// them. A query is refused when it is bound, before any row is read, where
// both operand types are known then; a comparison whose other side is an
// expression of unknown type is refused when it is evaluated.
#pragma once

#include "parser/ast.h"
#include "standin/value.h"

namespace standin {

bool is_large_object(const TypeInfo& t);

// A bound comparison (Compare or InList) with a text, ntext or image operand.
void check_comparable_operands(const Expr& comparison);
// The same on the values of a comparison being evaluated; `op` is the
// comparison's operator (= for IN).
void check_comparable_values(std::string_view op, const Value& a, const Value& b);
// A bound ORDER BY or GROUP BY expression.
void check_sortable(const Expr& e);
// A sort or grouping key of a known type (an output column named by ORDER BY).
void check_sortable(const TypeInfo& t);
// One output column of a SELECT DISTINCT or of a UNION without ALL.
void check_distinct_column(const TypeInfo& t);

}  // namespace standin
