#include "slt_record.h"

#include <sstream>
#include <stdexcept>

namespace slt {

namespace {

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line.substr(0, line.find('#')));
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

struct Lines {
  std::vector<std::string> lines;
  size_t next = 0;
  bool done() const { return next >= lines.size(); }
  bool blank() const { return lines[next].find_first_not_of(" \t\r") == std::string::npos; }
};

Lines split_lines(std::string_view text) {
  Lines l;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    l.lines.push_back(std::move(line));
    start = end + 1;
  }
  return l;
}

// The SQL text of a record: lines up to a blank line or, for a query, "----".
std::string read_sql(Lines& in, bool* separator) {
  std::string sql;
  *separator = false;
  while (!in.done() && !in.blank()) {
    if (in.lines[in.next] == "----") {
      *separator = true;
      ++in.next;
      break;
    }
    if (!sql.empty()) sql += '\n';
    sql += in.lines[in.next++];
  }
  return sql;
}

void read_query(const std::vector<std::string>& w, Lines& in, Record* r) {
  r->kind = Record::Kind::Query;
  r->types = w.size() > 1 ? w[1] : "";
  std::string sort = w.size() > 2 ? w[2] : "nosort";
  r->sort = sort == "rowsort" ? Record::Sort::Rows : sort == "valuesort" ? Record::Sort::Values : Record::Sort::None;
  bool separator = false;
  r->sql = read_sql(in, &separator);
  if (!separator) return;
  while (!in.done() && !in.blank()) r->expected.push_back(in.lines[in.next++]);
}

}  // namespace

std::vector<Record> parse_script(std::string_view text) {
  Lines in = split_lines(text);
  std::vector<Record> out;
  Record pending;
  while (!in.done()) {
    const std::string& line = in.lines[in.next];
    std::vector<std::string> w = words(line);
    if (w.empty()) {
      ++in.next;
      continue;
    }
    int line_no = static_cast<int>(in.next) + 1;
    ++in.next;
    if (w[0] == "skipif" || w[0] == "onlyif") {
      if (w.size() < 2) throw std::runtime_error("line " + std::to_string(line_no) + ": condition without engine");
      (w[0] == "skipif" ? pending.skip_if : pending.only_if).push_back(w[1]);
      continue;
    }
    Record r = std::move(pending);
    pending = Record{};
    r.line = line_no;
    if (w[0] == "statement") {
      r.expect_error = w.size() > 1 && w[1] == "error";
      bool separator = false;
      r.sql = read_sql(in, &separator);
    } else if (w[0] == "query") {
      read_query(w, in, &r);
    } else if (w[0] == "hash-threshold") {
      r.kind = Record::Kind::HashThreshold;
      r.threshold = w.size() > 1 ? std::stoi(w[1]) : 0;
    } else if (w[0] == "halt") {
      r.kind = Record::Kind::Halt;
    } else {
      throw std::runtime_error("line " + std::to_string(line_no) + ": unknown record '" + w[0] + "'");
    }
    out.push_back(std::move(r));
  }
  return out;
}

bool applies_to(const Record& r, std::string_view engine) {
  for (const std::string& e : r.skip_if)
    if (e == engine) return false;
  for (const std::string& e : r.only_if)
    if (e != engine) return false;
  return true;
}

}  // namespace slt
