// Statements and queries. Expressions are in parse_expression.cpp.
#include "parser/parser.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "parser/object_permissions.h"
#include "parser/parser_internal.h"

namespace standin {

// The end of a [quoted] or "quoted" name: the token's text is the inner name,
// which may contain doubled closing delimiters.
uint32_t Parser::quoted_end(const Token& t) const {
  size_t close = t.offset + 1;
  char delimiter = text_[t.offset] == '[' ? ']' : '"';
  while (close < text_.size()) {
    if (text_[close] == delimiter) {
      if (close + 1 < text_.size() && text_[close + 1] == delimiter) {
        close += 2;
        continue;
      }
      break;
    }
    ++close;
  }
  return static_cast<uint32_t>(close + 1);
}

ExprPtr make_expr(ExprKind kind, uint32_t line) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->line = line;
  return e;
}

void Parser::fail_at(const Token& t) const {
  SyntaxError e;
  e.line = t.line;
  if (t.kind == TokenKind::End) {
    // SQL Server names the last token it read.
    const Token* last = pos_ > 0 ? &tokens_[pos_ - 1] : &t;
    if (last->kind == TokenKind::End) {
      e.message = "Incorrect syntax near the end of the input.";
    } else {
      e.message = "Incorrect syntax near '" + std::string(last->text) + "'.";
      e.line = last->line;
    }
  } else if (t.kind == TokenKind::Invalid && (t.text.starts_with("'") || t.text.starts_with("N'"))) {
    e.number = 105;
    e.message = "Unclosed quotation mark after the character string '" +
                std::string(t.text.substr(t.text.find('\'') + 1)) + "'.";
  } else if (t.kind == TokenKind::String) {
    e.message = "Incorrect syntax near " + std::string(t.text) + ".";
  } else if (t.reserved && t.kind != TokenKind::QuotedIdentifier) {
    e.number = 156;
    e.message = "Incorrect syntax near the keyword '" + std::string(t.text) + "'.";
  } else {
    e.message = "Incorrect syntax near '" + std::string(t.text) + "'.";
  }
  throw e;
}

void Parser::Nesting::deeper() {
  ++added_;
  if (++parser_.nesting_ > kMaxNesting)
    parser_.fail_message(191,
                         "Some part of your SQL statement is nested too deeply. Rewrite the query or break it "
                         "up into smaller queries.");
}

void Parser::fail_message(int number, std::string message) const {
  SyntaxError e;
  e.number = number;
  e.message = std::move(message);
  e.line = peek().line;
  throw e;
}

std::string Parser::take_name() {
  const Token& t = peek();
  if (!t.is_name()) fail();
  take();
  return identifier_value(t);
}

std::vector<std::string> Parser::take_multipart_name() {
  std::vector<std::string> parts;
  parts.push_back(take_name());
  while (peek().is_op(".")) {
    take();
    if (peek().is_op(".")) {
      parts.emplace_back();  // a..b: default schema
      continue;
    }
    parts.push_back(take_name());
  }
  if (parts.size() > 4) fail();
  return parts;
}

// ---------------------------------------------------------------------------
// Statements

std::vector<StatementPtr> Parser::parse_statements() {
  std::vector<StatementPtr> out;
  while (StatementPtr s = next_statement(out.size())) out.push_back(std::move(s));
  return out;
}

// Keeps the last token read: a syntax error at the end names it.
void Parser::forget_read_tokens() {
  size_t drop = pos_ > 1 ? pos_ - 1 : 0;
  tokens_.erase(tokens_.begin(), tokens_.begin() + static_cast<std::ptrdiff_t>(drop));
  pos_ -= drop;
}

StatementPtr Parser::next_statement(size_t index) {
  while (accept_op(";")) {
  }
  if (at_end()) return nullptr;
  forget_read_tokens();
  const uint32_t offset = peek().offset;
  const uint32_t line = peek().line;
  StatementPtr s = parse_statement();
  s->offset = offset;
  const Token& last = tokens_[pos_ - 1];
  s->end_offset = last.offset + static_cast<uint32_t>(last.text.size());
  if (last.kind == TokenKind::QuotedIdentifier) s->end_offset = quoted_end(last);
  s->line = line;
  if (s->kind == StatementKind::CreateFunction && index > 0)
    throw SyntaxError{111, "'CREATE FUNCTION' must be the first statement in a query batch.", s->line};
  if (s->kind == StatementKind::CreateView && index > 0)
    throw SyntaxError{111, "'CREATE VIEW' must be the first statement in a query batch.", s->line};
  if (s->kind == StatementKind::AlterView && index > 0)
    throw SyntaxError{111, "'ALTER VIEW' must be the first statement in a query batch.", s->line};
  return s;
}

StatementPtr Parser::parse_statement() {
  Nesting nesting(*this);
  const Token& t = peek();
  if (t.is_word("SELECT") || t.is_op("(")) return parse_select_statement();
  if (t.is_word("INSERT")) return parse_insert();
  if (t.is_word("UPDATE")) return parse_update();
  if (t.is_word("DELETE")) return parse_delete();
  if (t.is_word("CREATE")) return parse_create();
  if (t.is_word("ALTER")) return parse_alter();
  if (t.is_word("DROP")) return parse_drop();
  if (t.is_word("SET")) return parse_set();
  if (t.is_word("IF")) return parse_if();
  if (t.is_word("GRANT")) return parse_grant();
  if (t.is_word("BEGIN") && (peek(1).is_word("TRAN") || peek(1).is_word("TRANSACTION")))
    return parse_transaction_statement();
  if (t.is_word("COMMIT") || t.is_word("ROLLBACK")) return parse_transaction_statement();
  if (t.is_word("BEGIN")) return parse_block();
  if (t.is_word("DECLARE")) return parse_declare();
  if (t.is_word("USE")) {
    take();
    auto s = std::make_unique<Statement>();
    s->kind = StatementKind::Use;
    s->target = {take_name()};
    return s;
  }
  if (t.is_word("TRUNCATE")) {
    take();
    expect_word("TABLE");
    auto s = std::make_unique<Statement>();
    s->kind = StatementKind::Truncate;
    s->target = take_multipart_name();
    return s;
  }
  if (t.is_word("PRINT")) {
    take();
    auto s = std::make_unique<Statement>();
    s->kind = StatementKind::Print;
    s->condition = parse_expr();
    return s;
  }
  fail();
}

StatementPtr Parser::parse_select_statement() {
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Select;
  s->query = parse_query();
  return s;
}

std::unique_ptr<Query> Parser::parse_query() {
  auto q = parse_query_expression();
  if (accept_word("ORDER")) {
    expect_word("BY");
    do {
      OrderItem item;
      item.expr = parse_expr();
      if (accept_word("DESC"))
        item.descending = true;
      else
        accept_word("ASC");
      q->order_by.push_back(std::move(item));
    } while (accept_op(","));
  }
  return q;
}

std::unique_ptr<Query> Parser::parse_query_expression() {
  auto q = std::make_unique<Query>();
  for (;;) {
    if (peek().is_op("(")) {
      // A parenthesised query term: (SELECT ...) UNION ...
      take();
      auto inner = parse_query();
      expect_op(")");
      if (!inner->order_by.empty()) fail();
      if (inner->cores.size() == 1) {
        q->cores.push_back(std::move(inner->cores[0]));
      } else {
        SelectCore term;
        term.nested = std::move(inner);
        q->cores.push_back(std::move(term));
      }
    } else {
      q->cores.push_back(parse_select_core());
    }
    if (accept_word("UNION")) {
      q->ops.push_back(accept_word("ALL") ? SetOp::UnionAll : SetOp::Union);
    } else if (accept_word("EXCEPT")) {
      q->ops.push_back(SetOp::Except);
    } else if (accept_word("INTERSECT")) {
      q->ops.push_back(SetOp::Intersect);
    } else {
      break;
    }
  }
  return q;
}

SelectCore Parser::parse_select_core() {
  SelectCore core;
  expect_word("SELECT");
  if (accept_word("DISTINCT"))
    core.distinct = true;
  else
    accept_word("ALL");
  if (accept_word("TOP")) {
    if (accept_op("(")) {
      core.top = parse_expr();
      expect_op(")");
    } else {
      core.top = parse_literal();
    }
    if (accept_word("PERCENT")) core.top_percent = true;
  }
  do {
    SelectItem item;
    const Token& t = peek();
    if (t.is_op("*")) {
      take();
      item.star = true;
    } else if (t.is_name() && peek(1).is_op(".") && peek(2).is_op("*")) {
      item.star = true;
      item.star_qualifier = take_name();
      take();
      take();
    } else if ((t.is_name() || t.is(TokenKind::String)) && peek(1).is_op("=") && !t.reserved) {
      item.alias = t.is(TokenKind::String) ? string_literal_value(t) : identifier_value(t);
      take();
      take();
      item.expr = parse_expr();
    } else {
      item.expr = parse_expr();
      if (accept_word("AS")) {
        const Token& a = peek();
        if (a.is(TokenKind::String)) {
          item.alias = string_literal_value(a);
          take();
        } else {
          item.alias = take_name();
        }
      } else if ((peek().is_name() && !peek().reserved) || peek().is(TokenKind::String)) {
        const Token& a = take();
        item.alias = a.is(TokenKind::String) ? string_literal_value(a) : identifier_value(a);
      }
    }
    core.items.push_back(std::move(item));
  } while (accept_op(","));

  if (accept_word("FROM")) core.from = parse_from_list();
  if (accept_word("WHERE")) core.where = parse_expr();
  if (accept_word("GROUP")) {
    expect_word("BY");
    do core.group_by.push_back(parse_expr());
    while (accept_op(","));
  }
  if (accept_word("HAVING")) core.having = parse_expr();
  return core;
}

std::vector<std::unique_ptr<TableRef>> Parser::parse_from_list() {
  std::vector<std::unique_ptr<TableRef>> list;
  do list.push_back(parse_table_ref());
  while (accept_op(","));
  return list;
}

std::unique_ptr<TableRef> Parser::parse_table_ref() {
  auto left = parse_table_primary();
  Nesting chain(*this, 0);
  for (;;) {
    JoinType type;
    if (peek().is_word("JOIN")) {
      take();
      type = JoinType::Inner;
    } else if (peek().is_word("INNER") && peek(1).is_word("JOIN")) {
      take();
      take();
      type = JoinType::Inner;
    } else if (peek().is_word("LEFT")) {
      take();
      accept_word("OUTER");
      expect_word("JOIN");
      type = JoinType::Left;
    } else if (peek().is_word("CROSS") && peek(1).is_word("JOIN")) {
      take();
      take();
      type = JoinType::Cross;
    } else {
      return left;
    }
    chain.deeper();
    auto join = std::make_unique<TableRef>();
    join->kind = TableRef::Kind::Join;
    join->join = type;
    join->line = left->line;
    join->left = std::move(left);
    join->right = parse_table_primary();
    if (type != JoinType::Cross) {
      expect_word("ON");
      join->on = parse_expr();
    }
    left = std::move(join);
  }
}

std::unique_ptr<TableRef> Parser::parse_table_primary() {
  Nesting nesting(*this);
  auto ref = std::make_unique<TableRef>();
  ref->line = peek().line;
  if (accept_op("(")) {
    if (at_query_start()) {
      ref->kind = TableRef::Kind::Derived;
      ref->query = parse_query();
      expect_op(")");
    } else {
      auto inner = parse_table_ref();
      expect_op(")");
      return inner;
    }
  } else {
    ref->names = take_multipart_name();
    if (accept_op("(")) {
      ref->kind = TableRef::Kind::Function;
      if (!peek().is_op(")")) {
        do ref->args.push_back(parse_expr());
        while (accept_op(","));
      }
      expect_op(")");
    }
  }
  if (accept_word("AS") || (peek().is_name() && !peek().reserved)) ref->alias = take_name();
  if (peek().is_word("WITH") && peek(1).is_op("(")) {
    take();
    take();  // table hints such as (NOLOCK) change nothing here
    while (!at_end() && !accept_op(")")) take();
  }
  if (ref->kind == TableRef::Kind::Derived && ref->alias.empty()) fail();
  return ref;
}

bool Parser::at_query_start() const {
  if (peek().is_word("SELECT")) return true;
  size_t i = 0;
  while (peek(i).is_op("(")) ++i;
  return i > 0 && peek(i).is_word("SELECT");
}

// INSERT [INTO] table [(columns)] {VALUES (...), ... | query | DEFAULT VALUES}
StatementPtr Parser::parse_insert() {
  expect_word("INSERT");
  accept_word("INTO");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Insert;
  s->target = take_multipart_name();
  if (peek().is_op("(") && !at_query_start_after_paren()) {
    take();
    do s->columns.push_back(take_name());
    while (accept_op(","));
    expect_op(")");
  }
  if (accept_word("VALUES")) {
    do {
      expect_op("(");
      std::vector<ExprPtr> row;
      do row.push_back(parse_expr());
      while (accept_op(","));
      expect_op(")");
      s->values.push_back(std::move(row));
    } while (accept_op(","));
  } else if (accept_word("DEFAULT")) {
    expect_word("VALUES");
    s->default_values = true;
  } else if (at_query_start()) {
    s->query = parse_query();
  } else {
    fail();
  }
  return s;
}

bool Parser::at_query_start_after_paren() const {
  size_t i = 0;
  while (peek(i).is_op("(")) ++i;
  return peek(i).is_word("SELECT");
}

// UPDATE [TOP (n)] target SET col = expr, ... [FROM ...] [WHERE ...]
StatementPtr Parser::parse_update() {
  expect_word("UPDATE");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Update;
  if (accept_word("TOP")) {
    expect_op("(");
    s->top = parse_expr();
    expect_op(")");
  }
  s->target = take_multipart_name();
  expect_word("SET");
  do {
    std::vector<std::string> column = take_multipart_name();
    expect_op("=");
    s->assignments.emplace_back(std::move(column), parse_expr());
  } while (accept_op(","));
  if (accept_word("FROM")) s->from = parse_from_list();
  if (accept_word("WHERE")) s->where = parse_expr();
  return s;
}

// DELETE [TOP (n)] [FROM] target [FROM ...] [WHERE ...]
StatementPtr Parser::parse_delete() {
  expect_word("DELETE");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Delete;
  if (accept_word("TOP")) {
    expect_op("(");
    s->top = parse_expr();
    expect_op(")");
  }
  accept_word("FROM");
  s->target = take_multipart_name();
  if (accept_word("FROM")) s->from = parse_from_list();
  if (accept_word("WHERE")) s->where = parse_expr();
  return s;
}

StatementPtr Parser::parse_create() {
  expect_word("CREATE");
  if (peek().is_word("TABLE")) return parse_create_table();
  if (peek().is_word("FUNCTION")) return parse_create_function();
  if (peek().is_word("VIEW")) return parse_view_definition(StatementKind::CreateView);
  if (accept_word("DATABASE")) {
    auto s = std::make_unique<Statement>();
    s->kind = StatementKind::CreateDatabase;
    s->target = {take_name()};
    return s;
  }
  bool unique = accept_word("UNIQUE");
  bool clustered = false;
  if (accept_word("CLUSTERED"))
    clustered = true;
  else
    accept_word("NONCLUSTERED");
  if (peek().is_word("INDEX")) return parse_create_index(unique, clustered);
  fail();
}

StatementPtr Parser::parse_create_table() {
  expect_word("TABLE");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::CreateTable;
  s->target = take_multipart_name();
  expect_op("(");
  for (;;) {
    parse_table_element(*s);
    if (accept_op(",")) {
      if (peek().is_op(")")) break;  // a comma before the closing parenthesis is accepted
      continue;
    }
    break;
  }
  expect_op(")");
  skip_on_filegroup();
  if (accept_word("TEXTIMAGE_ON")) take_name();
  return s;
}

// One element of CREATE TABLE (...) or ALTER TABLE ADD: a column or a table
// constraint, named or not.
void Parser::parse_table_element(Statement& s) {
  if (accept_word("CONSTRAINT")) {
    std::string name = take_name();
    s.constraints.push_back(parse_constraint(name));
  } else if (peek().is_word("PRIMARY") || peek().is_word("FOREIGN") || peek().is_word("UNIQUE") ||
             peek().is_word("CHECK") || peek().is_word("DEFAULT")) {
    s.constraints.push_back(parse_constraint(""));
  } else {
    s.column_defs.push_back(parse_column_def(false));
  }
}

// ON [PRIMARY] after a table or key: the filegroup changes nothing here.
void Parser::skip_on_filegroup() {
  if (peek().is_word("ON") && (peek(1).is_name() || peek(1).is_word("PRIMARY")) && !peek(2).is_op("(")) {
    take();
    take();
  }
}

// WITH (IGNORE_DUP_KEY = OFF, ...): index options accepted and ignored.
void Parser::skip_with_options() {
  if (peek().is_word("WITH") && peek(1).is_op("(")) {
    take();
    take();
    int depth = 1;
    while (!at_end() && depth > 0) {
      if (peek().is_op("(")) ++depth;
      if (peek().is_op(")")) --depth;
      take();
    }
  }
}

ColumnDef Parser::parse_column_def(bool for_alter_column) {
  ColumnDef def;
  def.line = peek().line;
  def.name = take_name();
  def.type = parse_type();
  for (;;) {
    if (accept_word("IDENTITY")) {
      def.identity = true;
      if (accept_op("(")) {
        auto signed_int = [&]() -> int64_t {
          bool neg = accept_op("-");
          const Token& n = peek();
          if (!n.is(TokenKind::Integer)) fail();
          take();
          int64_t v = 0;
          auto [end, problem] = std::from_chars(n.text.data(), n.text.data() + n.text.size(), v);
          if (problem != std::errc() || end != n.text.data() + n.text.size())
            fail_message(8115, "Arithmetic overflow error converting expression to data type bigint.");
          return neg ? -v : v;
        };
        def.seed = signed_int();
        expect_op(",");
        def.increment = signed_int();
        expect_op(")");
      }
    } else if (accept_word("NOT")) {
      expect_word("NULL");
      def.nullable = false;
    } else if (accept_word("NULL")) {
      def.nullable = true;
    } else if (accept_word("COLLATE")) {
      take_name();
    } else if (!for_alter_column && accept_word("CONSTRAINT")) {
      std::string name = take_name();
      if (peek().is_word("CHECK"))
        def.checks.push_back(parse_constraint(std::move(name)));
      else if (peek().is_word("DEFAULT"))
        def.default_name = std::move(name);
    } else if (!for_alter_column && peek().is_word("CHECK")) {
      def.checks.push_back(parse_constraint(""));
    } else if (!for_alter_column && accept_word("PRIMARY")) {
      expect_word("KEY");
      def.primary_key = true;
      if (!accept_word("CLUSTERED")) accept_word("NONCLUSTERED");
    } else if (!for_alter_column && accept_word("DEFAULT")) {
      def.default_value = parse_expr();
      if (peek().is_word("WITH") && peek(1).is_word("VALUES")) {
        take();
        take();
        def.with_values = true;
      }
    } else {
      break;
    }
  }
  return def;
}

std::vector<std::string> Parser::parse_column_list(bool allow_order) {
  std::vector<std::string> cols;
  expect_op("(");
  do {
    cols.push_back(take_name());
    if (allow_order && !accept_word("ASC")) accept_word("DESC");
  } while (accept_op(","));
  expect_op(")");
  return cols;
}

ConstraintDef Parser::parse_constraint(std::string name) {
  ConstraintDef c;
  c.line = peek().line;
  c.name = std::move(name);
  if (accept_word("PRIMARY") || peek().is_word("UNIQUE")) {
    if (accept_word("UNIQUE")) {
      c.kind = ConstraintDef::Kind::Unique;
      c.clustered = false;
    } else {
      expect_word("KEY");
      c.kind = ConstraintDef::Kind::PrimaryKey;
    }
    if (accept_word("CLUSTERED"))
      c.clustered = true;
    else if (accept_word("NONCLUSTERED"))
      c.clustered = false;
    c.columns = parse_column_list(true);
    skip_with_options();
    skip_on_filegroup();
    return c;
  }
  if (accept_word("FOREIGN")) {
    expect_word("KEY");
    c.kind = ConstraintDef::Kind::ForeignKey;
    c.columns = parse_column_list(false);
    expect_word("REFERENCES");
    c.ref_table = take_multipart_name();
    if (peek().is_op("(")) c.ref_columns = parse_column_list(false);
    while (peek().is_word("ON") && (peek(1).is_word("DELETE") || peek(1).is_word("UPDATE"))) {
      take();
      bool is_delete = take().is_word("DELETE");
      bool cascade = false;
      if (accept_word("CASCADE")) {
        cascade = true;
      } else if (accept_word("NO")) {
        expect_word("ACTION");
      } else if (accept_word("SET")) {
        if (!accept_word("NULL")) expect_word("DEFAULT");
      } else {
        fail();
      }
      (is_delete ? c.on_delete_cascade : c.on_update_cascade) = cascade;
    }
    accept_word("NOT") && accept_word("FOR") && accept_word("REPLICATION");
    return c;
  }
  if (accept_word("CHECK")) {
    c.kind = ConstraintDef::Kind::Check;
    expect_op("(");
    c.expr = parse_expr();
    expect_op(")");
    accept_word("NOT") && accept_word("FOR") && accept_word("REPLICATION");
    return c;
  }
  if (accept_word("DEFAULT")) {
    c.kind = ConstraintDef::Kind::Default;
    c.expr = parse_expr();
    expect_word("FOR");
    c.default_column = take_name();
    return c;
  }
  fail();
}

StatementPtr Parser::parse_create_index(bool unique, bool clustered) {
  expect_word("INDEX");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::CreateIndex;
  s->unique = unique;
  s->clustered = clustered;
  s->names = {take_name()};
  expect_word("ON");
  s->target = take_multipart_name();
  s->columns = parse_column_list(true);
  skip_with_options();
  skip_on_filegroup();
  return s;
}

// CREATE FUNCTION name (@p type, ...) RETURNS TABLE [WITH ...] AS RETURN [(] query [)]
StatementPtr Parser::parse_create_function() {
  size_t start_offset = peek().offset;
  expect_word("FUNCTION");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::CreateFunction;
  s->target = take_multipart_name();
  expect_op("(");
  if (!peek().is_op(")")) {
    do {
      const Token& p = peek();
      if (!p.is(TokenKind::Variable)) fail();
      take();
      std::string name(p.text);
      accept_word("AS");
      TypeSpec type = parse_type();
      s->params.emplace_back(std::move(name), std::move(type));
    } while (accept_op(","));
  }
  expect_op(")");
  expect_word("RETURNS");
  expect_word("TABLE");
  if (accept_word("WITH")) take_name();
  expect_word("AS");
  expect_word("RETURN");
  bool paren = accept_op("(");
  size_t body_start = peek().offset;
  s->query = parse_query();
  size_t body_end = pos_ > 0 ? tokens_[pos_ - 1].offset + tokens_[pos_ - 1].text.size() : body_start;
  if (tokens_[pos_ - 1].kind == TokenKind::QuotedIdentifier) body_end = quoted_end(tokens_[pos_ - 1]);
  s->option_value = std::string(text_.substr(body_start, body_end - body_start));
  if (paren) expect_op(")");
  s->source = std::string(text_.substr(start_offset, body_end - start_offset));
  if (!at_end() && !peek().is_op(";")) fail();
  return s;
}

// {CREATE | ALTER} VIEW name [(column, ...)] AS query; the keyword before
// VIEW is read already.
StatementPtr Parser::parse_view_definition(StatementKind kind) {
  size_t start_offset = tokens_[pos_ - 1].offset;
  expect_word("VIEW");
  auto s = std::make_unique<Statement>();
  s->kind = kind;
  s->target = take_multipart_name();
  if (accept_op("(")) {
    do s->columns.push_back(take_name());
    while (accept_op(","));
    expect_op(")");
  }
  expect_word("AS");
  size_t body_start = peek().offset;
  s->query = parse_query();
  size_t body_end = tokens_[pos_ - 1].offset + tokens_[pos_ - 1].text.size();
  if (tokens_[pos_ - 1].kind == TokenKind::QuotedIdentifier) body_end = quoted_end(tokens_[pos_ - 1]);
  s->option_value = std::string(text_.substr(body_start, body_end - body_start));
  s->source = std::string(text_.substr(start_offset, body_end - start_offset));
  return s;
}

StatementPtr Parser::parse_alter() {
  expect_word("ALTER");
  if (peek().is_word("VIEW")) return parse_view_definition(StatementKind::AlterView);
  expect_word("TABLE");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::AlterTable;
  s->target = take_multipart_name();
  if (peek().is_word("WITH")) {
    take();
    if (accept_word("CHECK"))
      s->with_check = true;
    else if (accept_word("NOCHECK"))
      s->with_check = false;
    else
      fail();
  }
  if ((peek().is_word("CHECK") || peek().is_word("NOCHECK")) && peek(1).is_word("CONSTRAINT")) {
    s->alter = take().is_word("CHECK") ? AlterAction::EnableConstraints : AlterAction::DisableConstraints;
    take();
    if (accept_word("ALL")) return s;
    do s->names.push_back(take_name());
    while (accept_op(","));
    return s;
  }
  if (accept_word("ADD")) {
    s->alter = AlterAction::AddColumns;
    do parse_table_element(*s);
    while (accept_op(","));
    return s;
  }
  if (accept_word("ALTER")) {
    expect_word("COLUMN");
    s->alter = AlterAction::AlterColumn;
    s->column_defs.push_back(parse_column_def(true));
    return s;
  }
  if (accept_word("DROP")) {
    if (accept_word("COLUMN")) {
      s->alter = AlterAction::DropColumn;
    } else {
      accept_word("CONSTRAINT");
      s->alter = AlterAction::DropConstraint;
    }
    do s->names.push_back(take_name());
    while (accept_op(","));
    return s;
  }
  fail();
}

StatementPtr Parser::parse_drop() {
  expect_word("DROP");
  auto s = std::make_unique<Statement>();
  if (accept_word("TABLE")) {
    s->kind = StatementKind::DropTable;
  } else if (accept_word("FUNCTION")) {
    s->kind = StatementKind::DropFunction;
  } else if (accept_word("VIEW")) {
    s->kind = StatementKind::DropView;
  } else if (accept_word("DATABASE")) {
    s->kind = StatementKind::DropDatabase;
  } else if (accept_word("INDEX")) {
    s->kind = StatementKind::DropIndex;
    std::vector<std::string> first = take_multipart_name();
    if (accept_word("ON")) {
      s->names = {first.back()};
      s->target = take_multipart_name();
    } else {
      if (first.size() < 2) fail();
      s->names = {first.back()};
      first.pop_back();
      s->target = first;
    }
    return s;
  } else {
    fail();
  }
  if (peek().is_word("IF") && peek(1).is_word("EXISTS")) {
    take();
    take();
    s->if_exists = true;
  }
  s->target = take_multipart_name();
  // Further names: DROP TABLE a, b
  while (accept_op(",")) {
    std::vector<std::string> more = take_multipart_name();
    s->names.push_back(more.back());
  }
  return s;
}

StatementPtr Parser::parse_set() {
  expect_word("SET");
  auto s = std::make_unique<Statement>();
  if (accept_word("IDENTITY_INSERT")) {
    s->kind = StatementKind::SetIdentityInsert;
    s->target = take_multipart_name();
    if (accept_word("ON"))
      s->on = true;
    else
      expect_word("OFF");
    return s;
  }
  s->kind = StatementKind::SetOption;
  const Token& opt = peek();
  if (!opt.is(TokenKind::Identifier)) fail();
  take();
  s->option = std::string(opt.text);
  if (iequals(s->option, "DATEFORMAT") || iequals(s->option, "LANGUAGE")) {
    const Token& v = peek();
    if (!v.is(TokenKind::Identifier) && !v.is(TokenKind::String) && !v.is(TokenKind::QuotedIdentifier)) fail();
    take();
    s->option_value = v.is(TokenKind::String) ? string_literal_value(v) : identifier_value(v);
    return s;
  }
  // SET opt1, opt2 ON|OFF
  while (accept_op(",")) {
    if (!peek().is(TokenKind::Identifier)) fail();
    take();
  }
  if (accept_word("ON"))
    s->on = true;
  else if (!accept_word("OFF")) {
    // SET TEXTSIZE 1000, SET LOCK_TIMEOUT 5 and the like: a value.
    const Token& v = peek();
    if (!v.is(TokenKind::Integer)) fail();
    take();
    s->option_value = std::string(v.text);
  }
  return s;
}

StatementPtr Parser::parse_if() {
  expect_word("IF");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::If;
  s->condition = parse_expr();
  s->body.push_back(parse_statement());
  while (accept_op(";")) {
  }
  if (accept_word("ELSE")) {
    s->has_else = true;
    s->body.push_back(parse_statement());
  }
  return s;
}

StatementPtr Parser::parse_block() {
  expect_word("BEGIN");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Block;
  for (;;) {
    while (accept_op(";")) {
    }
    if (accept_word("END")) break;
    if (at_end()) fail();
    s->body.push_back(parse_statement());
  }
  return s;
}

// BEGIN TRAN[SACTION] [name]
// COMMIT | ROLLBACK [TRAN[SACTION] [name] | WORK]
// A transaction name is only a label: nesting goes by count.
StatementPtr Parser::parse_transaction_statement() {
  auto s = std::make_unique<Statement>();
  if (accept_word("BEGIN"))
    s->kind = StatementKind::BeginTransaction;
  else if (accept_word("COMMIT"))
    s->kind = StatementKind::CommitTransaction;
  else if (accept_word("ROLLBACK"))
    s->kind = StatementKind::RollbackTransaction;
  else
    fail();
  if (s->kind != StatementKind::BeginTransaction && accept_word("WORK")) return s;
  if (accept_word("TRAN") || accept_word("TRANSACTION")) {
    const Token& name = peek();
    if ((name.is_name() && !name.reserved) || name.is(TokenKind::Variable)) {
      take();
      s->option = std::string(name.text);
    }
  } else if (s->kind == StatementKind::BeginTransaction) {
    fail();
  }
  return s;
}

// GRANT permission[, ...] ON [OBJECT::]object TO principal[, ...]. The
// permissions are kept in `option` as their names, comma-separated; ALL
// [PRIVILEGES] stands for the ones it grants. Column lists, WITH GRANT OPTION
// and AS are not supported and refused as syntax.
StatementPtr Parser::parse_grant() {
  expect_word("GRANT");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Grant;
  if (accept_word("ALL")) {
    accept_word("PRIVILEGES");
    for (const ObjectPermission& p : object_permissions())
      if (p.in_all) s->option += (s->option.empty() ? "" : ",") + std::string(p.name);
  } else {
    do s->option += (s->option.empty() ? "" : ",") + std::string(parse_permission_name());
    while (accept_op(","));
  }
  expect_word("ON");
  if (peek().is_word("OBJECT") && peek(1).is_op("::")) {
    take();
    take();
  }
  s->target = take_multipart_name();
  expect_word("TO");
  do s->names.push_back(take_name());
  while (accept_op(","));
  return s;
}

// One permission of GRANT's list: one to three words (VIEW CHANGE TRACKING),
// taken while they still begin a permission's name.
std::string_view Parser::parse_permission_name() {
  std::string words;
  const ObjectPermission* found = nullptr;
  while (peek().is(TokenKind::Identifier) && !peek().is_word("ON")) {
    std::string longer = words.empty() ? std::string(peek().text) : words + " " + std::string(peek().text);
    const bool begins_one =
        std::any_of(object_permissions().begin(), object_permissions().end(), [&](const ObjectPermission& p) {
          return p.name.size() >= longer.size() && iequals(p.name.substr(0, longer.size()), longer) &&
                 (p.name.size() == longer.size() || p.name[longer.size()] == ' ');
        });
    if (!begins_one) break;
    take();
    words = std::move(longer);
    found = find_object_permission(words);
  }
  if (!found) fail();
  return found->name;
}

StatementPtr Parser::parse_declare() {
  expect_word("DECLARE");
  auto s = std::make_unique<Statement>();
  s->kind = StatementKind::Declare;
  do {
    const Token& v = peek();
    if (!v.is(TokenKind::Variable)) fail();
    take();
    accept_word("AS");
    TypeSpec type = parse_type();
    ExprPtr init;
    if (accept_op("=")) init = parse_expr();
    s->declarations.emplace_back(std::string(v.text), std::move(type), std::move(init));
  } while (accept_op(","));
  return s;
}

// ---------------------------------------------------------------------------
// Entry points

namespace {

// A syntax error as the server reports it: level 15, state 1.
Error syntax_error(const SyntaxError& e) {
  Error error;
  error.number = e.number;
  error.severity = 15;
  error.state = 1;
  error.line = static_cast<int>(e.line);
  error.message = e.message;
  return error;
}

}  // namespace

bool parse_batch(std::string_view text, std::vector<StatementPtr>* statements, Error* error) {
  Parser parser(text);
  try {
    *statements = parser.parse_statements();
    return true;
  } catch (const SyntaxError& e) {
    *error = syntax_error(e);
    return false;
  }
}

StatementReader::StatementReader(std::string_view text) : parser_(std::make_unique<Parser>(text)) {}
StatementReader::~StatementReader() = default;

bool StatementReader::next(StatementPtr* statement, Error* error) {
  try {
    *statement = parser_->next_statement(read_++);
    return true;
  } catch (const SyntaxError& e) {
    *error = syntax_error(e);
    statement->reset();
    return false;
  }
}

bool StatementReader::check_next(bool* more, StatementPtr* outline, Error* error) {
  try {
    *more = parser_->check_next_statement(read_++, outline);
    return true;
  } catch (const SyntaxError& e) {
    *error = syntax_error(e);
    *more = false;
    return false;
  }
}

bool parse_expression_text(std::string_view text, ExprPtr* expr, Error* error) {
  Parser parser(text);
  try {
    *expr = parser.parse_expr();
    if (!parser.at_end()) parser.fail();
    return true;
  } catch (const SyntaxError& e) {
    *error = syntax_error(e);
    return false;
  }
}

bool parse_query_text(std::string_view text, std::unique_ptr<Query>* query, Error* error) {
  Parser parser(text);
  try {
    bool paren = parser.accept_op("(");
    *query = parser.parse_query();
    if (paren) parser.expect_op(")");
    if (!parser.at_end()) parser.fail();
    return true;
  } catch (const SyntaxError& e) {
    *error = syntax_error(e);
    return false;
  }
}

}  // namespace standin
