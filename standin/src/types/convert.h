// Conversions between SQL types: explicit (CAST, CONVERT), on assignment to
// a column, and the implicit ones that mixed expressions need.
#pragma once

#include <string>
#include <string_view>

#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

// Explicit conversion: CAST(v AS t), CONVERT(t, v [, style]); style -1 = none.
// A NULL converts to a NULL of the target type.
bool cast_value(const Value& v, const TypeInfo& target, const EvalContext& ctx, Value* out, Error* err, int style = -1);

// Storing a value into a column of type `column`: implicit conversion;
// strings longer than the column give Msg 8152 "String or binary data would
// be truncated." when ANSI_WARNINGS is on and are cut silently when it is
// off; decimals are rounded (half away from zero) to the column's scale; a
// value out of the column's range gives Msg 8115.
bool assign_value(const Value& v, const TypeInfo& column, const EvalContext& ctx, Value* out, Error* err);

// Whether SQL Server converts `from` to `to` without an explicit CAST.
bool implicit_conversion_allowed(const TypeInfo& from, const TypeInfo& to);

// Whether CAST/CONVERT from `from` to `to` is allowed at all (Msg 529 when not).
bool explicit_conversion_allowed(const TypeInfo& from, const TypeInfo& to);

// The type both operands of a comparison or arithmetic are converted to
// (data-type precedence). Two strings give the longer string type; two
// decimals give a decimal wide enough for both.
TypeInfo common_type(const TypeInfo& a, const TypeInfo& b);

// Text to datetime under the session's date order. `target` is DateTime,
// SmallDateTime or Date. Msg 241 for text that is no date, Msg 242 for a
// date out of the target's range.
// `source` names the text's type in the messages ("varchar", "nvarchar").
bool parse_datetime(std::string_view text, Type target, DateOrder order, DateTime* out, Error* err,
                    std::string_view source = "varchar");

// A datetime as CONVERT(varchar, d, style) writes it; style -1 is the
// default form "Mar  4 2015  9:05AM". False for an unknown style.
bool format_datetime(const DateTime& d, Type source, int style, std::string* out);

// A float as SQL Server writes it into a varchar without a style: at most
// six significant digits, exponent form for large and small magnitudes.
std::string format_float_default(double d);

// The type name the conversion messages use: "varchar", "int", "numeric".
std::string_view type_message_name(Type t);

}  // namespace standin
