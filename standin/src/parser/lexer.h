// The T-SQL lexer: turns a command text into tokens.
//
// Tokens point into the command text (no copies); a string literal's value
// is unescaped on demand. Keywords are not a token kind of their own: the
// parser compares identifier text case-insensitively, since T-SQL lets most
// keywords stand as names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "types/ascii.h"  // iequals, which the parser's callers compare words with

namespace standin {

enum class TokenKind : uint8_t {
  End,
  Identifier,        // plain word: names and keywords
  QuotedIdentifier,  // [name] or "name"; text() is the name without delimiters
  Variable,          // @name (text includes the '@')
  Integer,           // 123
  Decimal,           // 1.5, .5, 1.
  Float,             // 1e3, 1.5E-2
  String,            // 'text'
  NString,           // N'text'
  Binary,            // 0x0A1B
  Operator,          // + - * / % = <> != < > <= >= !< !> ( ) , . ; ~ & | ^
  Invalid,           // an unterminated literal or a stray character
};

struct Token {
  TokenKind kind = TokenKind::End;
  bool reserved = false;  // an unquoted keyword that SQL Server reserves
  std::string_view text;  // raw text (for QuotedIdentifier: the inner name)
  uint32_t offset = 0;    // byte offset in the command text
  uint32_t line = 1;      // 1-based line of the token's start

  bool is(TokenKind k) const { return kind == k; }
  bool is_op(std::string_view op) const { return kind == TokenKind::Operator && text == op; }
  // An unquoted identifier equal to `word`, ignoring case (ASCII).
  bool is_word(std::string_view word) const;
  // Any identifier (plain or quoted).
  bool is_name() const { return kind == TokenKind::Identifier || kind == TokenKind::QuotedIdentifier; }
};

// The value of a string literal token: quotes removed, '' turned into '.
std::string string_literal_value(const Token& t);

// The name a name token stands for: ]] inside brackets becomes ].
std::string identifier_value(const Token& t);

// Splits `text` into tokens, skipping blanks and comments (-- and nested
// /* */). The last token is End. Never fails: bad input yields Invalid
// tokens, which the parser reports.
std::vector<Token> tokenize(std::string_view text);

// The tokens of `text` one at a time, from a byte offset (at `line`) on, so
// that a long command text is never held as tokens all at once. After the
// End token, next() returns End again.
class TokenStream {
 public:
  explicit TokenStream(std::string_view text, size_t offset = 0, uint32_t line = 1)
      : text_(text), offset_(offset), line_(line) {}
  Token next();

 private:
  std::string_view text_;
  size_t offset_;
  uint32_t line_;
};

}  // namespace standin
