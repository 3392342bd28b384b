// The parser's cursor over the token list, shared by the statement and
// expression parsers. A syntax error is thrown as SyntaxError and turned
// into an Error at the entry points.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "parser/ast.h"
#include "parser/lexer.h"

namespace standin {

struct SyntaxError {
  int number = 102;
  std::string message;
  uint32_t line = 1;
};

class Parser {
 public:
  // Reads `text` from a byte offset (at `line`) on; tokens are read as the
  // parser asks for them.
  explicit Parser(std::string_view text, size_t offset = 0, uint32_t line = 1)
      : text_(text), stream_(text, offset, line) {}

  // statements (parser.cpp)
  std::vector<StatementPtr> parse_statements();
  // The next statement, or null at the end of the text; `index` counts the
  // statements before it. The tokens of earlier statements are dropped.
  StatementPtr next_statement(size_t index);
  // Checks the syntax of the next statement; false at the end of the text.
  // Throws SyntaxError as next_statement. `*outline` gets a tree to inspect,
  // not to run: an insert of literals is only recognised, and its outline
  // holds its target and column list alone.
  bool check_next_statement(size_t index, StatementPtr* outline);
  StatementPtr parse_statement();
  std::unique_ptr<Query> parse_query();

  // expressions (parse_expression.cpp)
  ExprPtr parse_expr();
  TypeSpec parse_type();

  // cursor. Tokens are returned by value: reading more may move the buffer.
  Token peek(size_t ahead = 0) const {
    size_t i = pos_ + ahead;
    fill(i);
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
  }
  Token take() {
    fill(pos_ + 1);
    Token t = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) ++pos_;
    return t;
  }
  bool at_end() const { return peek().kind == TokenKind::End; }
  bool accept_word(std::string_view w) {
    if (peek().is_word(w)) {
      take();
      return true;
    }
    return false;
  }
  bool accept_op(std::string_view op) {
    if (peek().is_op(op)) {
      take();
      return true;
    }
    return false;
  }
  void expect_word(std::string_view w) {
    if (!accept_word(w)) fail();
  }
  void expect_op(std::string_view op) {
    if (!accept_op(op)) fail();
  }
  [[noreturn]] void fail() const { fail_at(peek()); }
  [[noreturn]] void fail_at(const Token& t) const;
  [[noreturn]] void fail_message(int number, std::string message) const;

  std::string take_name();                         // one name part
  std::vector<std::string> take_multipart_name();  // a.b.c (empty parts allowed: a..b)
  std::string_view text() const { return text_; }
  uint32_t quoted_end(const Token& t) const;

  // How deep the tree being built may grow: nested parentheses, subqueries,
  // derived tables and joins, unary operators, IF and BEGIN blocks, and
  // each link of a chain of binary operators count one level. Deeper text
  // is refused as SQL Server refuses it (Msg 191), instead of exhausting the
  // stack of the parser or of the executor that walks the tree.
  static constexpr int kMaxNesting = 256;

  // One or more levels of nesting, given back when it goes out of scope.
  class Nesting {
   public:
    explicit Nesting(Parser& parser, int levels = 1) : parser_(parser) {
      for (int i = 0; i < levels; ++i) deeper();
    }
    ~Nesting() { parser_.nesting_ -= added_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
    void deeper();

   private:
    Parser& parser_;
    int added_ = 0;
  };

 private:
  // statements
  StatementPtr parse_select_statement();
  StatementPtr parse_insert();
  StatementPtr parse_update();
  StatementPtr parse_delete();
  StatementPtr parse_create();
  StatementPtr parse_create_table();
  void parse_table_element(Statement& s);
  StatementPtr parse_create_index(bool unique, bool clustered);
  StatementPtr parse_create_function();
  StatementPtr parse_alter();
  StatementPtr parse_drop();
  StatementPtr parse_set();
  StatementPtr parse_if();
  StatementPtr parse_grant();
  std::string_view parse_permission_name();
  StatementPtr parse_block();
  StatementPtr parse_transaction_statement();
  StatementPtr parse_declare();
  ColumnDef parse_column_def(bool for_alter_column);
  ConstraintDef parse_constraint(std::string name);
  std::vector<std::string> parse_column_list(bool allow_order);
  void skip_with_options();
  void skip_on_filegroup();

  // queries
  std::unique_ptr<Query> parse_query_expression();
  SelectCore parse_select_core();
  StatementPtr parse_view_definition(StatementKind kind);
  std::unique_ptr<TableRef> parse_table_ref();
  std::unique_ptr<TableRef> parse_table_primary();
  std::vector<std::unique_ptr<TableRef>> parse_from_list();

  // expressions
  ExprPtr parse_or();
  ExprPtr parse_and();
  ExprPtr parse_not();
  ExprPtr parse_predicate();
  ExprPtr parse_additive();
  ExprPtr parse_multiplicative();
  ExprPtr parse_unary();
  ExprPtr parse_primary();
  ExprPtr parse_cast();
  ExprPtr parse_negatable_predicate(ExprPtr left, uint32_t line);
  ExprPtr parse_function_call(std::string name, uint32_t line);
  ExprPtr parse_case();
  ExprPtr parse_literal();
  bool at_query_start() const;
  bool at_query_start_after_paren() const;

  // Reads tokens until index `i` exists or End was read.
  void fill(size_t i) const {
    while (tokens_.size() <= i && (tokens_.empty() || tokens_.back().kind != TokenKind::End))
      tokens_.push_back(stream_.next());
  }
  void forget_read_tokens();
  // The recogniser of data scripts' inserts (statement_check.cpp).
  bool skip_literal_insert(Statement* outline);
  bool skip_literal_rows();
  bool skip_named_literals();
  bool skip_multipart_name(std::vector<std::string>* parts);
  bool skip_literal();

  std::string_view text_;
  mutable TokenStream stream_;
  mutable std::vector<Token> tokens_;
  size_t pos_ = 0;
  int nesting_ = 0;
};

ExprPtr make_expr(ExprKind kind, uint32_t line);

}  // namespace standin
