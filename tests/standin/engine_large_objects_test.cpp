// text, ntext and image values: stored, read, measured and matched with
// LIKE or IS NULL, but never compared, sorted, grouped or made distinct.
// The permitted uses are those of the data-type page,
// https://learn.microsoft.com/en-us/sql/t-sql/data-types/ntext-text-and-image-transact-sql
#include "engine_fixture.h"

namespace standin::test {
namespace {

constexpr const char* kNotes =
    "CREATE TABLE N (id int, t text NULL, n ntext NULL, b image NULL, v varchar(20) NULL) "
    "INSERT INTO N VALUES (1, 'abc', N'xyz', 0x01, 'abc') INSERT INTO N VALUES (2, NULL, NULL, NULL, NULL)";

struct Refused {
  const char* statement;
  int number;
  const char* message;
};

TEST(EngineLargeObjects, ComparisonOperatorsAreRefusedWithTheirNames) {
  Engine e;
  e.ok(kNotes);
  const Refused cases[] = {
      {"SELECT id FROM N WHERE t = 'abc'", 402,
       "The data types text and varchar are incompatible in the equal to operator."},
      {"SELECT id FROM N WHERE t != 'abc'", 402,
       "The data types text and varchar are incompatible in the not equal to operator."},
      {"SELECT id FROM N WHERE 'abc' < t", 402,
       "The data types varchar and text are incompatible in the less than operator."},
      {"SELECT id FROM N WHERE t > 'a'", 402,
       "The data types text and varchar are incompatible in the greater than operator."},
      {"SELECT id FROM N WHERE n <= N'a'", 402,
       "The data types ntext and nvarchar are incompatible in the less than or equal to operator."},
      {"SELECT id FROM N WHERE n >= N'a'", 402,
       "The data types ntext and nvarchar are incompatible in the greater than or equal to operator."},
      {"SELECT id FROM N WHERE b = 0x01", 402,
       "The data types image and varbinary are incompatible in the equal to operator."},
      {"SELECT id FROM N WHERE t IN ('abc', 'x')", 402,
       "The data types text and varchar are incompatible in the equal to operator."},
      {"UPDATE N SET v = 'q' WHERE t = v", 402,
       "The data types text and varchar are incompatible in the equal to operator."},
      {"DELETE FROM N WHERE t <> ''", 402,
       "The data types text and varchar are incompatible in the not equal to operator."},
  };
  for (const Refused& c : cases) {
    EXPECT_EQ(e.error(c.statement), c.number) << c.statement;
    EXPECT_EQ(e.message(c.statement), c.message) << c.statement;
  }
  // The refused changes changed nothing.
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM N WHERE v = 'abc'"), "1");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM N"), "2");
}

TEST(EngineLargeObjects, AComparisonIsRefusedOnAnEmptyTable) {
  // Refused when the statement is bound, not when a row meets it.
  Engine e;
  e.ok("CREATE TABLE E (t text)");
  EXPECT_EQ(e.error("SELECT * FROM E WHERE t = 'a'"), 402);
}

TEST(EngineLargeObjects, SortingGroupingAndDistinctAreRefused) {
  Engine e;
  e.ok(kNotes);
  const Refused cases[] = {
      {"SELECT id FROM N ORDER BY t", 306, nullptr},
      {"SELECT t AS x FROM N ORDER BY x", 306, nullptr},
      {"SELECT * FROM N ORDER BY 2", 306, nullptr},
      {"SELECT COUNT(*) FROM N GROUP BY n", 306, nullptr},
      {"SELECT DISTINCT id, n FROM N", 421,
       "The ntext data type cannot be selected as DISTINCT because it is not comparable."},
      {"SELECT b FROM N UNION SELECT b FROM N", 421,
       "The image data type cannot be selected as DISTINCT because it is not comparable."},
  };
  for (const Refused& c : cases) {
    EXPECT_EQ(e.error(c.statement), c.number) << c.statement;
    if (c.message) {
      EXPECT_EQ(e.message(c.statement), c.message) << c.statement;
    }
  }
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM (SELECT t FROM N UNION ALL SELECT t FROM N) u"), "4");
}

TEST(EngineLargeObjects, LikeIsNullLengthAndConversionsWork) {
  Engine e;
  e.ok(kNotes);
  EXPECT_EQ(e.scalar("SELECT id FROM N WHERE t LIKE 'a%'"), "1");
  EXPECT_EQ(e.scalar("SELECT id FROM N WHERE n NOT LIKE N'x%' OR n IS NULL"), "2");
  EXPECT_EQ(e.scalar("SELECT id FROM N WHERE t IS NULL"), "2");
  EXPECT_EQ(e.scalar("SELECT DATALENGTH(n) FROM N WHERE id = 1"), "6");
  EXPECT_EQ(e.scalar("SELECT id FROM N WHERE CAST(t AS varchar(max)) = 'abc'"), "1");
  EXPECT_EQ(e.scalar("SELECT id FROM N WHERE CONVERT(nvarchar(max), n) <> N'' ORDER BY CAST(n AS nvarchar(max))"), "1");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM N WHERE DATALENGTH(t) > 0"), "1");
  // Changing and reading them stays open.
  e.ok("UPDATE N SET t = 'def' WHERE id = 2");
  EXPECT_EQ(e.scalar("SELECT CAST(t AS varchar(10)) FROM N WHERE id = 2"), "def");
}

TEST(EngineLargeObjects, DatalengthCountsStoredBytes) {
  Engine e;
  // Trailing blanks count, unlike LEN; Unicode takes two bytes a character.
  EXPECT_EQ(e.rows("SELECT DATALENGTH('ab  '), LEN('ab  '), DATALENGTH(N'ab'), DATALENGTH(0x0102)"),
            (Rows{{"4", "2", "4", "2"}}));
  EXPECT_EQ(e.rows("SELECT DATALENGTH(CAST(1 AS int)), DATALENGTH(CAST(1 AS bigint)), DATALENGTH(CAST(1 AS "
                   "decimal(19, 2)))"),
            (Rows{{"4", "8", "9"}}));
  EXPECT_EQ(e.scalar("SELECT DATALENGTH(CAST(NULL AS text))"), "NULL");
}

}  // namespace
}  // namespace standin::test
