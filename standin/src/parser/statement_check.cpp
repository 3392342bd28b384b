// Checking a long command text's syntax before any of it runs. Data scripts
// are thousands of inserts of literal rows; building and freeing a tree for
// each of them only to learn that it parses was half the time of running
// such a script. Their shape is recognised here on the tokens alone. The
// recogniser accepts nothing the parser would refuse: whatever it is unsure
// of (another statement, an expression, a name with an empty part, a number
// that may not fit a decimal) is handed to the parser, which then also
// reports the error exactly as it would.
#include "parser/parser_internal.h"

namespace standin {

bool Parser::check_next_statement(size_t index, StatementPtr* outline) {
  outline->reset();
  while (accept_op(";")) {
  }
  if (at_end()) return false;
  forget_read_tokens();
  const size_t start = pos_;
  auto insert = std::make_unique<Statement>();
  insert->kind = StatementKind::Insert;
  insert->line = peek().line;
  if (skip_literal_insert(insert.get())) {
    *outline = std::move(insert);
    return true;
  }
  pos_ = start;
  *outline = next_statement(index);
  return true;
}

// INSERT [INTO] name [(column, ...)] followed by
//   VALUES (literal, ...) [, (literal, ...)] ...   or
//   SELECT name = literal [, name = literal] ...
// and then by ';', the end of the text or the next INSERT, so that the
// statement ends where the parser would end it.
bool Parser::skip_literal_insert(Statement* outline) {
  if (!accept_word("INSERT")) return false;
  accept_word("INTO");
  if (!skip_multipart_name(&outline->target)) return false;
  if (peek().is_op("(")) {
    if (!peek(1).is_name() || peek(1).is_word("SELECT")) return false;  // INSERT ... (SELECT ...)
    take();
    do {
      if (!peek().is_name()) return false;
      outline->columns.push_back(identifier_value(take()));
    } while (accept_op(","));
    if (!accept_op(")")) return false;
  }
  if (accept_word("VALUES")) {
    if (!skip_literal_rows()) return false;
  } else if (accept_word("SELECT")) {
    if (!skip_named_literals()) return false;
  } else {
    return false;
  }
  const Token next = peek();
  return next.is_op(";") || next.kind == TokenKind::End || next.is_word("INSERT");
}

bool Parser::skip_literal_rows() {
  do {
    if (!accept_op("(")) return false;
    do {
      if (!skip_literal()) return false;
    } while (accept_op(","));
    if (!accept_op(")")) return false;
  } while (accept_op(","));
  return true;
}

// The select list of an insert that names each value: KONTONR=10, ...
bool Parser::skip_named_literals() {
  do {
    const Token name = peek();
    // Reserved words (DISTINCT, ALL, TOP among them) are the parser's.
    if (!name.is_name() || name.reserved || !peek(1).is_op("=")) return false;
    take();
    take();
    if (!skip_literal()) return false;
  } while (accept_op(","));
  return true;
}

// name [. name] ..., at most four parts, none of them empty.
bool Parser::skip_multipart_name(std::vector<std::string>* parts) {
  for (;;) {
    if (parts->size() == 4 || !peek().is_name()) return false;
    parts->push_back(identifier_value(take()));
    if (!accept_op(".")) return true;
  }
}

// A literal the parser takes as it stands: a string, NULL, or a number
// (possibly negative) short enough to be sure of its range. What follows it
// is for the caller to check.
bool Parser::skip_literal() {
  constexpr size_t kSureDigits = 18;  // an integer or decimal of up to 18 characters always fits
  const bool negative = peek().is_op("-");
  const Token t = peek(negative ? 1 : 0);
  switch (t.kind) {
    case TokenKind::Integer:
    case TokenKind::Decimal:
      if (t.text.size() > kSureDigits) return false;
      break;
    case TokenKind::Float: break;
    case TokenKind::String:
    case TokenKind::NString:
      if (negative) return false;
      break;
    case TokenKind::Identifier:
      if (negative || !t.is_word("NULL")) return false;
      break;
    default: return false;
  }
  take();
  if (negative) take();
  return true;
}

}  // namespace standin
