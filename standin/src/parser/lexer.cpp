#include "parser/lexer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace standin {

namespace {

// Which bytes may start a name and which may continue one, as a table: the
// lexer asks for every byte of every name.
constexpr uint8_t kNameStart = 1, kNamePart = 2;

constexpr std::array<uint8_t, 256> name_classes() {
  std::array<uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    bool start = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '#' || c >= 0x80;
    bool part = start || (c >= '0' && c <= '9') || c == '$' || c == '@';
    classes[static_cast<size_t>(c)] = static_cast<uint8_t>((start ? kNameStart : 0) | (part ? kNamePart : 0));
  }
  return classes;
}

constexpr std::array<uint8_t, 256> kNameClasses = name_classes();

bool is_ident_start(unsigned char c) { return kNameClasses[c] & kNameStart; }
bool is_ident_part(unsigned char c) { return kNameClasses[c] & kNamePart; }

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The keywords SQL Server reserves, upper case and sorted. The lexer marks
// them once, so that the parser's many "is this a keyword?" questions cost
// nothing.
constexpr std::array<std::string_view, 82> kReserved = {
    "ADD",      "ALL",     "ALTER",  "AND",       "ANY",      "AS",           "ASC",        "BEGIN",     "BETWEEN",
    "BY",       "CASE",    "CHECK",  "CLUSTERED", "COLUMN",   "COMMIT",       "CONSTRAINT", "CREATE",    "CROSS",
    "DECLARE",  "DEFAULT", "DELETE", "DESC",      "DISTINCT", "DROP",         "ELSE",       "END",       "EXCEPT",
    "EXEC",     "EXECUTE", "EXISTS", "FOREIGN",   "FROM",     "FULL",         "FUNCTION",   "GOTO",      "GRANT",
    "GROUP",    "HAVING",  "IF",     "IN",        "INDEX",    "INNER",        "INSERT",     "INTERSECT", "INTO",
    "IS",       "JOIN",    "KEY",    "LEFT",      "LIKE",     "NONCLUSTERED", "NOT",        "NULL",      "ON",
    "OPTION",   "OR",      "ORDER",  "OUTER",     "PRIMARY",  "PRINT",        "REFERENCES", "RETURN",    "RIGHT",
    "ROLLBACK", "SELECT",  "SET",    "TABLE",     "THEN",     "TO",           "TOP",        "TRAN",      "TRANSACTION",
    "TRUNCATE", "UNION",   "UNIQUE", "UPDATE",    "USE",      "VALUES",       "WHEN",       "WHERE",     "WHILE",
    "WITH"};
static_assert(std::is_sorted(kReserved.begin(), kReserved.end()));
static_assert(std::all_of(kReserved.begin(), kReserved.end(),
                          [](std::string_view w) { return !w.empty() && w[0] >= 'A' && w[0] <= 'Z'; }));

// For each upper-case initial, the entries of kReserved that start with it;
// a word is compared only with those of its initial and length.
struct InitialRange {
  size_t begin = 0, end = 0;
};

constexpr std::array<InitialRange, 26> initial_ranges() {
  std::array<InitialRange, 26> ranges{};
  for (size_t i = 0; i < kReserved.size(); ++i) {
    InitialRange& r = ranges[static_cast<size_t>(kReserved[i][0] - 'A')];
    if (r.begin == r.end) r.begin = i;
    r.end = i + 1;
  }
  return ranges;
}

constexpr std::array<InitialRange, 26> kInitialRanges = initial_ranges();

bool is_reserved_word(std::string_view word) {
  char initial = ascii_upper(word.empty() ? '\0' : word[0]);
  if (initial < 'A' || initial > 'Z') return false;
  const InitialRange& r = kInitialRanges[static_cast<size_t>(initial - 'A')];
  for (size_t i = r.begin; i < r.end; ++i)
    if (kReserved[i].size() == word.size() && iequals(kReserved[i], word)) return true;
  return false;
}

class Lexer {
 public:
  explicit Lexer(std::string_view text, size_t offset = 0, uint32_t line = 1) : s_(text), pos_(offset), line_(line) {}

  // The next token, and where the text goes on after it.
  Token next_token(size_t* offset, uint32_t* line) {
    skip_blanks_and_comments();
    Token t = next();
    *offset = pos_;
    *line = line_;
    return t;
  }

  std::vector<Token> run() {
    std::vector<Token> out;
    out.reserve(s_.size() / 4 + 2);
    for (;;) {
      skip_blanks_and_comments();
      Token t = next();
      out.push_back(t);
      if (t.kind == TokenKind::End) break;
    }
    return out;
  }

 private:
  void advance_lines(size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (s_[i] == '\n') ++line_;
  }

  void skip_blanks_and_comments() {
    for (;;) {
      while (pos_ < s_.size() && static_cast<unsigned char>(s_[pos_]) <= ' ') {
        if (s_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (pos_ + 1 < s_.size() && s_[pos_] == '-' && s_[pos_ + 1] == '-') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
        continue;
      }
      if (pos_ + 1 < s_.size() && s_[pos_] == '/' && s_[pos_ + 1] == '*') {
        // Block comments nest in T-SQL.
        size_t start = pos_;
        int depth = 0;
        while (pos_ < s_.size()) {
          if (pos_ + 1 < s_.size() && s_[pos_] == '/' && s_[pos_ + 1] == '*') {
            ++depth;
            pos_ += 2;
          } else if (pos_ + 1 < s_.size() && s_[pos_] == '*' && s_[pos_ + 1] == '/') {
            --depth;
            pos_ += 2;
            if (depth == 0) break;
          } else {
            ++pos_;
          }
        }
        advance_lines(start, pos_);
        continue;
      }
      return;
    }
  }

  Token make(TokenKind kind, size_t start, size_t end) {
    Token t;
    t.kind = kind;
    t.text = s_.substr(start, end - start);
    t.offset = static_cast<uint32_t>(start);
    t.line = line_;
    return t;
  }

  Token next() {
    if (pos_ >= s_.size()) return make(TokenKind::End, s_.size(), s_.size());
    size_t start = pos_;
    unsigned char c = static_cast<unsigned char>(s_[pos_]);

    if ((c == 'N' || c == 'n') && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
      ++pos_;
      Token t = quoted_string(start, TokenKind::NString);
      return t;
    }
    if (c == '0' && pos_ + 1 < s_.size() && (s_[pos_ + 1] == 'x' || s_[pos_ + 1] == 'X')) {
      pos_ += 2;
      while (pos_ < s_.size() && isxdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      return make(TokenKind::Binary, start, pos_);
    }
    if (is_ident_start(c)) {
      while (pos_ < s_.size() && is_ident_part(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      Token t = make(TokenKind::Identifier, start, pos_);
      t.reserved = is_reserved_word(t.text);
      return t;
    }
    if (c == '@') {
      ++pos_;
      while (pos_ < s_.size() && is_ident_part(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      return make(TokenKind::Variable, start, pos_);
    }
    if (is_digit(c) || (c == '.' && pos_ + 1 < s_.size() && is_digit(static_cast<unsigned char>(s_[pos_ + 1])))) {
      return number(start);
    }
    if (c == '\'') return quoted_string(start, TokenKind::String);
    if (c == '[') return delimited(start, ']');
    if (c == '"') return delimited(start, '"');

    // Operators, longest first: <> != <= >= !< !> and the scope qualifier ::
    // (GRANT ... ON OBJECT::name), then single characters.
    const char following = pos_ + 1 < s_.size() ? s_[pos_ + 1] : '\0';
    const bool two = (c == '<' && (following == '>' || following == '=')) || (c == '>' && following == '=') ||
                     (c == '!' && (following == '=' || following == '<' || following == '>')) ||
                     (c == ':' && following == ':');
    if (two) {
      pos_ += 2;
      return make(TokenKind::Operator, start, pos_);
    }
    static constexpr std::string_view kSingle = "+-*/%=<>(),.;~&|^";
    ++pos_;
    const bool single = kSingle.find(static_cast<char>(c)) != std::string_view::npos;
    return make(single ? TokenKind::Operator : TokenKind::Invalid, start, pos_);
  }

  Token number(size_t start) {
    TokenKind kind = TokenKind::Integer;
    while (pos_ < s_.size() && is_digit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '.') {
      kind = TokenKind::Decimal;
      ++pos_;
      while (pos_ < s_.size() && is_digit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      size_t save = pos_;
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (pos_ < s_.size() && is_digit(static_cast<unsigned char>(s_[pos_]))) {
        while (pos_ < s_.size() && is_digit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        kind = TokenKind::Float;
      } else {
        pos_ = save;
      }
    }
    return make(kind, start, pos_);
  }

  Token quoted_string(size_t start, TokenKind kind) {
    ++pos_;  // opening quote
    size_t line_start = pos_;
    for (;;) {
      if (pos_ >= s_.size()) {
        advance_lines(line_start, pos_);
        return make(TokenKind::Invalid, start, pos_);
      }
      if (s_[pos_] == '\'') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      ++pos_;
    }
    Token t = make(kind, start, pos_);
    advance_lines(line_start, pos_);
    return t;
  }

  Token delimited(size_t start, char close) {
    ++pos_;
    size_t inner = pos_;
    for (;;) {
      if (pos_ >= s_.size()) return make(TokenKind::Invalid, start, pos_);
      if (s_[pos_] == close) {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == close) {
          pos_ += 2;
          continue;
        }
        break;
      }
      ++pos_;
    }
    Token t = make(TokenKind::QuotedIdentifier, inner, pos_);
    t.offset = static_cast<uint32_t>(start);
    advance_lines(inner, pos_);
    ++pos_;
    return t;
  }

  std::string_view s_;
  size_t pos_ = 0;
  uint32_t line_ = 1;
};

}  // namespace

bool Token::is_word(std::string_view word) const { return kind == TokenKind::Identifier && iequals(text, word); }

std::string string_literal_value(const Token& t) {
  std::string_view body = t.text;
  if (t.kind == TokenKind::NString) body.remove_prefix(1);
  body = body.substr(1, body.size() - 2);
  std::string out;
  out.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    out.push_back(body[i]);
    if (body[i] == '\'' && i + 1 < body.size() && body[i + 1] == '\'') ++i;
  }
  return out;
}

std::string identifier_value(const Token& t) {
  if (t.kind != TokenKind::QuotedIdentifier) return std::string(t.text);
  std::string out;
  out.reserve(t.text.size());
  for (size_t i = 0; i < t.text.size(); ++i) {
    out.push_back(t.text[i]);
    if ((t.text[i] == ']' || t.text[i] == '"') && i + 1 < t.text.size() && t.text[i + 1] == t.text[i]) ++i;
  }
  return out;
}

std::vector<Token> tokenize(std::string_view text) { return Lexer(text).run(); }

Token TokenStream::next() { return Lexer(text_, offset_, line_).next_token(&offset_, &line_); }

}  // namespace standin
