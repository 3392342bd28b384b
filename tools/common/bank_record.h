// One record of the Deutsche Bundesbank bank sort code file and the
// statement that loads it into the bank directory table D_blz.
//
// The file is fixed-width, ISO-8859-1, one record of 168 characters per line:
//   bank code 8, feature 1 (1 = owner of the bank code, 2 = further branch),
//   name 58, postcode 5, place 35, short name 27, PAN 5, BIC 11,
//   check-digit method 2, record number 6, change mark 1 (A, D, M, U),
//   deletion mark 1 (0, 1), successor bank code 8.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tools {

struct BankRecord {
  std::string bank_code;  // 8 digits
  char feature = '1';     // '1' or '2'
  std::string name;       // UTF-8, trailing blanks removed (as all texts)
  std::string postcode;
  std::string place;
  std::string short_name;
  std::string pan;  // 5 digits or empty
  std::string bic;  // 11 characters or empty
  std::string check_method;
  std::string record_number;
  char change_mark = 'U';
  char deletion_mark = '0';
  std::string successor;  // 8 digits, "00000000" for none
};

class BadRecord : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses one line of the file (without its line break). Throws BadRecord
// naming the field that does not fit.
BankRecord parse_bank_record(std::string_view line);

// "insert into D_blz (BLZ,...,NACHFOLGE_BLZ) values('10000000',1,...)".
std::string bank_insert_statement(const BankRecord& record);

}  // namespace tools
