// Parsing Bundesbank records and writing their insert statements.
#include "common/bank_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Builds a 168-character record from its fields, padding each to its width.
std::string record(std::string code, std::string feature, std::string name, std::string postcode, std::string place,
                   std::string short_name, std::string pan, std::string bic, std::string method, std::string number,
                   std::string marks, std::string successor) {
  auto pad = [](std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
  };
  return pad(code, 8) + pad(feature, 1) + pad(name, 58) + pad(postcode, 5) + pad(place, 35) + pad(short_name, 27) +
         pad(pan, 5) + pad(bic, 11) + pad(method, 2) + pad(number, 6) + pad(marks, 2) + pad(successor, 8);
}

TEST(BankRecord, MapsEveryFieldToItsColumn) {
  std::string line = record("10000000", "1", "Bundesbank", "10591", "Berlin", "BBk Berlin", "20100", "MARKDEF1100",
                            "09", "011380", "U0", "00000000");
  EXPECT_EQ(tools::bank_insert_statement(tools::parse_bank_record(line)),
            "insert into D_blz (BLZ,LfdNr,BANK,ORT,Merkmal,Bezeichnung,PAN,PLZ,BIC,Pr_Ziff,"
            "Datensatznummer,AendKz,BLZ_Loe,NACHFOLGE_BLZ) values('10000000',1,'BBk Berlin','Berlin',1,"
            "'Bundesbank','20100','10591','MARKDEF1100','09','011380','U','0','00000000')");
}

TEST(BankRecord, BranchWithoutPanAndBicGivesEmptyTexts) {
  std::string line = record("50010517", "2", "ING-DiBa", "60628", "Frankfurt am Main", "ING-DiBa", "", "", "09",
                            "123456", "D1", "50010518");
  tools::BankRecord r = tools::parse_bank_record(line);
  EXPECT_EQ(r.feature, '2');
  std::string statement = tools::bank_insert_statement(r);
  EXPECT_NE(statement.find("values('50010517',1,'ING-DiBa','Frankfurt am Main',2,'ING-DiBa','','60628','','09',"
                           "'123456','D','1','50010518')"),
            std::string::npos)
      << statement;
}

TEST(BankRecord, DoublesQuotesAndConvertsTheCodePage) {
  // 0xFC is u-umlaut in ISO-8859-1; 0x96 the en dash of Windows-1252.
  std::string line = record("12345678", "1",
                            "Bank f\xFCr Br\xFC"
                            "der O'Neil \x96 Nord",
                            "12345", "K\xF6ln", "O'Neil", "", "", "00", "000001", "A0", "00000000");
  std::string statement = tools::bank_insert_statement(tools::parse_bank_record(line));
  EXPECT_NE(statement.find("'Bank f\u00fcr Br\u00fcder O''Neil \u2013 Nord'"), std::string::npos) << statement;
  EXPECT_NE(statement.find("'K\u00f6ln'"), std::string::npos);
  EXPECT_NE(statement.find("'O''Neil'"), std::string::npos);
}

TEST(BankRecord, RejectsMalformedRecords) {
  std::string good = record("10000000", "1", "Bundesbank", "10591", "Berlin", "BBk Berlin", "20100", "MARKDEF1100",
                            "09", "011380", "U0", "00000000");
  EXPECT_NO_THROW(tools::parse_bank_record(good));
  EXPECT_THROW(tools::parse_bank_record(good.substr(0, 167)), tools::BadRecord);
  EXPECT_THROW(tools::parse_bank_record(good + " "), tools::BadRecord);

  auto with = [&](size_t pos, char c) {
    std::string bad = good;
    bad[pos] = c;
    return bad;
  };
  EXPECT_THROW(tools::parse_bank_record(with(3, 'x')), tools::BadRecord);    // bank code
  EXPECT_THROW(tools::parse_bank_record(with(8, '3')), tools::BadRecord);    // feature
  EXPECT_THROW(tools::parse_bank_record(with(158, 'X')), tools::BadRecord);  // change mark
  EXPECT_THROW(tools::parse_bank_record(with(159, '2')), tools::BadRecord);  // deletion mark
  EXPECT_THROW(tools::parse_bank_record(with(165, ' ')), tools::BadRecord);  // successor
}

}  // namespace
