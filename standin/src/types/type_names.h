// Type names as written in DDL, CAST and CONVERT: "varchar(40)",
// "numeric(19,8)", "nvarchar(max)", "sysname".
#pragma once

#include <optional>
#include <string_view>

#include "standin/standin.h"

namespace standin {

// Where a type name appears: a column or variable declaration, or the
// target of CAST/CONVERT. They differ in the default length of char and
// varchar (1 in a declaration, 30 in a conversion) and in the error for an
// unknown name.
enum class TypeUse { Column, Cast };

// Resolves `name` (case-insensitive) with its optional arguments:
// `arg1`/`arg2` are the numbers in parentheses, `max_length` is true for
// "(max)". Unknown names give Msg 2715 (Column) or Msg 243 (Cast); invalid
// lengths, precisions and scales give the server's errors for them.
bool parse_type_name(std::string_view name, std::optional<int> arg1, std::optional<int> arg2, bool max_length,
                     TypeUse use, TypeInfo* out, Error* err);

// Msg 2715 with the ordinal of the offending column, parameter or variable,
// which only the caller knows: "Column, parameter, or variable #3: Cannot
// find data type foo."
Error unknown_column_type_error(int ordinal, std::string_view type_name);

}  // namespace standin
