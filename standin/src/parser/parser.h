// The T-SQL parser: a hand-written recursive-descent parser from tokens to
// the syntax tree of ast.h.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "parser/ast.h"
#include "standin/standin.h"

namespace standin {

// Parses every statement of a command text. On a syntax error returns
// false with Msg 102 (or the matching message) in `error`; SQL Server then
// runs none of the batch's statements, and neither does the executor.
bool parse_batch(std::string_view text, std::vector<StatementPtr>* statements, Error* error);

class Parser;

// Parses a command text one statement at a time, so that only the tree of
// the statement at hand is alive and a long script of inserts is never held
// as tokens or trees all at once.
class StatementReader {
 public:
  explicit StatementReader(std::string_view text);
  ~StatementReader();
  StatementReader(const StatementReader&) = delete;
  StatementReader& operator=(const StatementReader&) = delete;

  // The next statement in `*statement`, null at the end of the text. On a
  // syntax error returns false with the error; the reader is then spent.
  bool next(StatementPtr* statement, Error* error);
  // Checks the next statement's syntax; `*more` is false at the end of the
  // text. `*outline` gets a tree to inspect, never to run: a data script's
  // insert of literals is recognised without a tree of its values, and its
  // outline holds only its target and column list. Returns false with the
  // error on a syntax error, which next() would have reported for the same
  // text.
  bool check_next(bool* more, StatementPtr* outline, Error* error);

 private:
  std::unique_ptr<Parser> parser_;
  size_t read_ = 0;
};

// Parses a query (the body of an inline table-valued function).
bool parse_query_text(std::string_view text, std::unique_ptr<Query>* query, Error* error);

// Parses one expression (the stored definition of a CHECK constraint).
bool parse_expression_text(std::string_view text, ExprPtr* expr, Error* error);

}  // namespace standin
