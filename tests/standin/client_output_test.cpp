#include <gtest/gtest.h>

#include <string>

#include "client/output_format.h"

namespace standin::client {
namespace {

TEST(ClientOutput, ErrorLineCountsFromTheStartOfTheScript) {
  Error error{208, 16, 1, 2, "Invalid object name 'x'."};
  EXPECT_EQ(format_error(error, 1), "Msg 208, Level 16, State 1, Line 2\nInvalid object name 'x'.\n");
  EXPECT_EQ(format_error(error, 10), "Msg 208, Level 16, State 1, Line 11\nInvalid object name 'x'.\n");
}

TEST(ClientOutput, ResultSetPrintsHeaderAndValuesAsAClientShowsThem) {
  ResultSet result;
  result.columns = {{"KONTONR", TypeInfo::of(Type::Int)},
                    {"VORLABHAB", TypeInfo::decimal(19, 8)},
                    {"RadDat", TypeInfo::of(Type::DateTime)},
                    {"Bank", TypeInfo::of(Type::Bit)},
                    {"", TypeInfo::varchar(10)}};
  result.rows = {{Value::integer(945), Value::decimal(Decimal(0, 8), TypeInfo::decimal(19, 8)),
                  Value::datetime(DateTime::from_civil(2013, 2, 20)), Value::bit(true), Value::varchar("Bank")},
                 {Value::integer(-1), Value::null(TypeInfo::decimal(19, 8)), Value::null(TypeInfo::of(Type::DateTime)),
                  Value::bit(false), Value::varchar("")}};
  EXPECT_EQ(format_result_set(result),
            "KONTONR\tVORLABHAB\tRadDat\tBank\t\n"
            "945\t0.00000000\t2013-02-20 00:00:00.000\t1\tBank\n"
            "-1\tNULL\tNULL\t0\t\n");
}

}  // namespace
}  // namespace standin::client
