#include "upgrade/transcript_writer.h"

#include <ctime>

#include "platform/local_time.h"
#include "scripts/catalog.h"

namespace upgrade {
namespace {

bool is_today(const db::Parameter& p) {
  const std::time_t now = std::time(nullptr);
  const std::tm local = platform::local_time(now);
  return local.tm_year + 1900 == p.year && local.tm_mon + 1 == p.month && local.tm_mday == p.day;
}

std::string shown_parameter(const db::Parameter& p, bool today_as_word) {
  if (today_as_word && p.kind == db::Parameter::Kind::Date && is_today(p)) return "@" + p.name + "=today";
  return db::to_string(p);
}

std::string shown_outcome(const db::StatementRecord& r, bool show_counts) {
  if (r.skipped) return "skipped";
  if (!show_counts) return r.ok() ? "ok" : "failed: " + *r.error;
  if (r.ok()) return r.rows < 0 ? "ok" : "ok, " + std::to_string(r.rows) + (r.rows == 1 ? " row" : " rows");
  std::string number = r.error_number ? "Msg " + std::to_string(r.error_number) + ": " : "";
  return "failed: " + number + *r.error;
}

}  // namespace

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n\n";
    else
      out += c;
  }
  return out;
}

std::string stored_script_name(std::string_view text) {
  for (const scripts::Script& s : scripts::all()) {
    if (s.text.empty() || text.size() < s.text.size() || text.size() > s.text.size() + 2) continue;
    const std::string_view rest = text.substr(s.text.size());
    if (text.substr(0, s.text.size()) == s.text && (rest.empty() || rest == "\r\n")) return std::string(s.name);
  }
  return {};
}

bool is_script_batch(const db::StatementRecord& r) {
  return r.channel == db::Channel::Single && r.guard == db::Guard::plain() && !r.text.empty() && r.text.back() == '\n';
}

TranscriptWriter::TranscriptWriter(std::ostream& out, TranscriptStyle style) : out_(out), style_(std::move(style)) {}

void TranscriptWriter::begin_entry(std::string_view database) {
  if (style_.stamp) out_ << style_.stamp(database);
}

void TranscriptWriter::statement(const db::StatementRecord& record) {
  if (is_script_batch(record)) {
    if (!record.ok() && failed_batches_++ == 0) first_batch_failure_ = *record.error;
    ++batches_;
    last_database_ = record.database;
    return;
  }
  finish();
  last_database_ = record.database;
  write_statement(record);
  out_.flush();
}

void TranscriptWriter::write_statement(const db::StatementRecord& r) {
  begin_entry(r.database);
  out_ << "[" << db::to_string(r.channel) << " " << db::to_string(r.guard) << " "
       << shown_outcome(r, style_.show_counts) << "]\n";
  if (std::string script = stored_script_name(r.text); !script.empty())
    out_ << "<stored script " << script << ">|\n";
  else
    out_ << escaped(r.text) << "|\n";
  for (const db::Parameter& p : r.params) out_ << "  " << shown_parameter(p, style_.today_as_word) << "\n";
}

void TranscriptWriter::note(std::string_view text) {
  finish();
  begin_entry(last_database_);
  out_ << text << "\n";
  out_.flush();
}

void TranscriptWriter::finish() {
  if (batches_ == 0) return;
  begin_entry(last_database_);
  out_ << "[script batches] " << failed_batches_ << " failed"
       << (failed_batches_ ? ", first: " + first_batch_failure_ : "") << "\n";
  out_.flush();
  batches_ = failed_batches_ = 0;
  first_batch_failure_.clear();
}

}  // namespace upgrade
