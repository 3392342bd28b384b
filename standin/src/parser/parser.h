// The T-SQL parser: a hand-written recursive-descent parser from tokens to
// the syntax tree of ast.h.
#pragma once

#include <string_view>
#include <vector>

#include "parser/ast.h"
#include "standin/standin.h"

namespace standin {

// Parses every statement of a command text. On a syntax error returns
// false with Msg 102 (or the matching message) in `error`; SQL Server then
// runs none of the batch's statements, and neither does the executor.
bool parse_batch(std::string_view text, std::vector<StatementPtr>* statements, Error* error);

// Parses a query (the body of an inline table-valued function).
bool parse_query_text(std::string_view text, std::unique_ptr<Query>* query, Error* error);

}  // namespace standin
