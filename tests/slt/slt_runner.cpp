// Runs sqllogictest scripts against an in-memory standin server, one fresh
// database per script.
//
//   slt_runner [--skip LIST] [--all] [--base DIR] FILE...
//
// A record is run when its skipif/onlyif lines admit the engine "mssql".
// Records in the skip list (named relative to --base) may fail; one that
// passes fails the run, so that the list only shrinks. --all ignores the list
// and only reports the pass rate of every script.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "skip_list.h"
#include "slt_record.h"
#include "slt_values.h"

namespace {

constexpr const char* kEngine = "mssql";

struct Options {
  std::string skip_path, base;
  bool all = false;
  std::vector<std::string> files;
};

struct Tally {
  int run = 0, passed = 0, listed = 0, listed_but_passed = 0, failed = 0;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string first_error(const standin::BatchResult& r) {
  return r.ok() ? "" : "Msg " + std::to_string(r.errors[0].number) + ": " + r.errors[0].message;
}

// Whether the record gives what it expects; `why` says what went wrong.
bool run_record(standin::Session& s, const slt::Record& rec, std::string* why) {
  standin::BatchResult r = s.execute(rec.sql);
  if (rec.kind == slt::Record::Kind::Statement) {
    if (r.ok() == !rec.expect_error) return true;
    *why = rec.expect_error ? "succeeded, an error was expected" : first_error(r);
    return false;
  }
  if (!r.ok()) return *why = first_error(r), false;
  if (r.result_sets.empty()) return *why = "no result set", false;
  const standin::ResultSet& rs = r.result_sets.back();
  std::vector<std::string> values = slt::format_result(rs, rec.types, rec.sort);
  if (slt::matches_expected(values, rs.columns.size(), rec.expected)) return true;
  *why = "got " + std::to_string(values.size()) + " values (hash " + slt::hash_values(values) + ")";
  for (size_t i = 0; i < values.size() && i < 6; ++i) *why += (i ? ", " : ": ") + values[i];
  return false;
}

std::string relative_name(const std::string& path, const std::string& base) {
  if (!base.empty() && path.rfind(base, 0) == 0) {
    std::string rest = path.substr(base.size());
    while (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
    return rest;
  }
  return path;
}

Tally run_script(const std::string& path, const Options& opt, const slt::SkipList* skips) {
  std::string name = relative_name(path, opt.base);
  std::vector<slt::Record> records = slt::parse_script(read_file(path));
  auto server = standin::Server::in_memory();
  server->connect("master")->execute("CREATE DATABASE slt");
  auto session = server->connect("slt");
  Tally t;
  for (const slt::Record& rec : records) {
    if (!slt::applies_to(rec, kEngine)) continue;
    if (rec.kind == slt::Record::Kind::Halt) break;
    if (rec.kind == slt::Record::Kind::HashThreshold) continue;
    ++t.run;
    std::string why;
    bool pass = run_record(*session, rec, &why);
    const std::string* listed = skips ? skips->reason(name, rec.line) : nullptr;
    if (pass) ++t.passed;
    if (listed && pass) {
      ++t.listed_but_passed;
      std::printf("%s:%d: passes now; take it off the skip list\n", name.c_str(), rec.line);
    } else if (listed) {
      ++t.listed;
    } else if (!pass) {
      ++t.failed;
      if (skips) std::printf("%s:%d: FAILED: %s\n  %s\n", name.c_str(), rec.line, why.c_str(), rec.sql.c_str());
    }
  }
  return t;
}

Options parse_options(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--skip" && i + 1 < argc)
      o.skip_path = argv[++i];
    else if (a == "--base" && i + 1 < argc)
      o.base = argv[++i];
    else if (a == "--all")
      o.all = true;
    else
      o.files.push_back(a);
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options opt = parse_options(argc, argv);
    slt::SkipList skips;
    if (!opt.all && !opt.skip_path.empty()) skips = slt::SkipList::load(opt.skip_path);
    bool failed = false;
    for (const std::string& file : opt.files) {
      Tally t = run_script(file, opt, opt.all ? nullptr : &skips);
      double rate = t.run ? 100.0 * t.passed / t.run : 100.0;
      std::printf("%s: %d records, %d passed (%.1f%%), %d listed as unsupported, %d failed\n",
                  relative_name(file, opt.base).c_str(), t.run, t.passed, rate, t.listed, t.failed);
      failed = failed || t.failed > 0 || t.listed_but_passed > 0;
    }
    return opt.all || !failed ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "slt_runner: %s\n", e.what());
    return 2;
  }
}
