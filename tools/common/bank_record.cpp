#include "common/bank_record.h"

#include <algorithm>

#include "common/sql_text.h"

namespace tools {
namespace {

constexpr size_t kRecordLength = 168;

bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Reads the fixed-width fields in file order.
class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) {}

  std::string_view raw(size_t width) {
    std::string_view field = line_.substr(pos_, width);
    pos_ += width;
    return field;
  }
  std::string text(size_t width) {
    std::string_view field = raw(width);
    return cp1252_to_utf8(field.substr(0, field.find_last_not_of(' ') + 1));
  }
  std::string digits(size_t width, const char* what) {
    std::string_view field = raw(width);
    if (!all_digits(field)) throw BadRecord(std::string(what) + " is not " + std::to_string(width) + " digits");
    return std::string(field);
  }
  char one_of(std::string_view allowed, const char* what) {
    char c = raw(1)[0];
    if (allowed.find(c) == std::string_view::npos)
      throw BadRecord(std::string(what) + " '" + c + "' is not one of " + std::string(allowed));
    return c;
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

}  // namespace

BankRecord parse_bank_record(std::string_view line) {
  if (line.size() != kRecordLength) {
    throw BadRecord("record has " + std::to_string(line.size()) + " characters instead of 168");
  }
  FieldReader in(line);
  BankRecord r;
  r.bank_code = in.digits(8, "bank code");
  r.feature = in.one_of("12", "feature");
  r.name = in.text(58);
  r.postcode = in.text(5);
  r.place = in.text(35);
  r.short_name = in.text(27);
  r.pan = in.text(5);
  if (!r.pan.empty() && !all_digits(r.pan)) throw BadRecord("PAN is neither blank nor digits");
  r.bic = in.text(11);
  r.check_method = in.text(2);
  if (r.check_method.size() != 2) throw BadRecord("check-digit method is not 2 characters");
  r.record_number = in.digits(6, "record number");
  r.change_mark = in.one_of("ADMU", "change mark");
  r.deletion_mark = in.one_of("01", "deletion mark");
  r.successor = in.digits(8, "successor bank code");
  if (r.name.empty()) throw BadRecord("name is blank");
  return r;
}

std::string bank_insert_statement(const BankRecord& r) {
  std::string s =
      "insert into D_blz (BLZ,LfdNr,BANK,ORT,Merkmal,Bezeichnung,PAN,PLZ,BIC,Pr_Ziff,"
      "Datensatznummer,AendKz,BLZ_Loe,NACHFOLGE_BLZ) values(";
  s += quoted(r.bank_code) + ",1," + quoted(r.short_name) + "," + quoted(r.place) + ",";
  s += r.feature;
  s += "," + quoted(r.name) + "," + quoted(r.pan) + "," + quoted(r.postcode) + "," + quoted(r.bic) + ",";
  s += quoted(r.check_method) + "," + quoted(r.record_number) + ",";
  s += quoted(std::string(1, r.change_mark)) + "," + quoted(std::string(1, r.deletion_mark)) + ",";
  s += quoted(r.successor) + ")";
  return s;
}

}  // namespace tools
