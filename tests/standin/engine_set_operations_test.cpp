// UNION, EXCEPT and INTERSECT: EXCEPT and INTERSECT remove duplicates and
// take NULLs as equal; INTERSECT binds tighter than UNION and EXCEPT, which
// apply from left to right; parentheses group.
#include "engine_fixture.h"

namespace standin::test {
namespace {

void make_sets(Engine& e) {
  e.ok("CREATE TABLE a (x int) INSERT INTO a VALUES (1), (1), (2), (3), (NULL), (NULL)");
  e.ok("CREATE TABLE b (y int) INSERT INTO b VALUES (2), (NULL), (4)");
  e.ok("CREATE TABLE c (z int) INSERT INTO c VALUES (3), (4)");
}

TEST(EngineSetOperations, ExceptAndIntersectRemoveDuplicatesAndMatchNulls) {
  Engine e;
  make_sets(e);
  EXPECT_EQ(e.rows("SELECT x FROM a EXCEPT SELECT y FROM b ORDER BY 1"), (Rows{{"1"}, {"3"}}));
  EXPECT_EQ(e.rows("SELECT x FROM a INTERSECT SELECT y FROM b ORDER BY x"), (Rows{{"NULL"}, {"2"}}));
  EXPECT_EQ(e.rows("SELECT x FROM a EXCEPT SELECT x FROM a"), Rows{});
}

TEST(EngineSetOperations, IntersectBindsTighterAndOthersGoLeftToRight) {
  Engine e;
  make_sets(e);
  // a UNION (b INTERSECT c) = {NULL,1,2,3} + {4}
  EXPECT_EQ(e.rows("SELECT x FROM a UNION SELECT y FROM b INTERSECT SELECT z FROM c ORDER BY 1"),
            (Rows{{"NULL"}, {"1"}, {"2"}, {"3"}, {"4"}}));
  // (a EXCEPT b) EXCEPT c = {1}
  EXPECT_EQ(e.rows("SELECT x FROM a EXCEPT SELECT y FROM b EXCEPT SELECT z FROM c"), (Rows{{"1"}}));
  // a EXCEPT (b UNION c) = {1}; (a EXCEPT b) UNION c = {1, 3, 4}
  EXPECT_EQ(e.rows("SELECT x FROM a EXCEPT (SELECT y FROM b UNION SELECT z FROM c)"), (Rows{{"1"}}));
  EXPECT_EQ(e.rows("(SELECT x FROM a EXCEPT SELECT y FROM b) UNION SELECT z FROM c ORDER BY 1"),
            (Rows{{"1"}, {"3"}, {"4"}}));
  EXPECT_EQ(e.rows("SELECT y FROM b UNION ALL SELECT z FROM c EXCEPT SELECT 4 ORDER BY 1 DESC"),
            (Rows{{"3"}, {"2"}, {"NULL"}}));
}

TEST(EngineSetOperations, ColumnCountsAndOrderByMustFit) {
  Engine e;
  make_sets(e);
  EXPECT_EQ(e.error("SELECT x FROM a INTERSECT SELECT y, y FROM b"), 205);
  EXPECT_EQ(e.error("SELECT x FROM a EXCEPT SELECT y FROM b ORDER BY y"), 104);
  EXPECT_EQ(e.rows("SELECT x AS v FROM a EXCEPT SELECT y FROM b ORDER BY v DESC"), (Rows{{"3"}, {"1"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM (SELECT x FROM a INTERSECT SELECT z FROM c) d"), "1");
}

}  // namespace
}  // namespace standin::test
