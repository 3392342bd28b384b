#include "client/batch_splitter.h"

namespace standin::client {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool only_blanks(std::string_view text) {
  for (char c : text) {
    if (!is_blank(c) && c != '\n') return false;
  }
  return true;
}

// Follows the lexical state across lines, far enough to know whether a line
// starts inside a block comment or a literal. Block comments nest in T-SQL.
class LexicalState {
 public:
  bool in_code() const { return comment_depth_ == 0 && quote_ == 0; }

  void scan(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      char next = i + 1 < line.size() ? line[i + 1] : '\0';
      if (quote_ != 0) {
        if (c == quote_) {
          if (next == quote_)
            ++i;  // doubled quote: stays inside
          else
            quote_ = 0;
        }
      } else if (comment_depth_ > 0) {
        if (c == '*' && next == '/')
          --comment_depth_, ++i;
        else if (c == '/' && next == '*')
          ++comment_depth_, ++i;
      } else if (c == '-' && next == '-') {
        return;  // line comment: the rest of the line
      } else if (c == '/' && next == '*') {
        ++comment_depth_, ++i;
      } else if (c == '\'' || c == '"') {
        quote_ = c;
      } else if (c == '[') {
        quote_ = ']';
      }
    }
  }

 private:
  int comment_depth_ = 0;
  char quote_ = 0;  // the character that closes the open literal
};

}  // namespace

bool is_go_line(std::string_view line) {
  size_t begin = 0, end = line.size();
  while (begin < end && is_blank(line[begin])) ++begin;
  while (end > begin && is_blank(line[end - 1])) --end;
  std::string_view word = line.substr(begin, end - begin);
  return word.size() == 2 && (word[0] == 'G' || word[0] == 'g') && (word[1] == 'O' || word[1] == 'o');
}

std::vector<Batch> split_batches(std::string_view script) {
  std::vector<Batch> batches;
  LexicalState state;
  Batch current;
  int line_number = 1;
  size_t pos = 0;
  auto finish = [&](int next_line) {
    if (!only_blanks(current.text)) batches.push_back(std::move(current));
    current = Batch{};
    current.first_line = next_line;
  };
  while (pos < script.size()) {
    size_t newline = script.find('\n', pos);
    size_t end = newline == std::string_view::npos ? script.size() : newline + 1;
    std::string_view line = script.substr(pos, end - pos);
    std::string_view content = line.substr(0, line.size() - (newline == std::string_view::npos ? 0 : 1));
    if (state.in_code() && is_go_line(content)) {
      finish(line_number + 1);
    } else {
      current.text.append(line);
      state.scan(content);
    }
    pos = end;
    ++line_number;
  }
  finish(line_number);
  return batches;
}

}  // namespace standin::client
