// Joins: comma joins and JOIN ... ON give the same rows, in the order of
// nested loops over the sources as written, without building the cross
// product; outer joins keep their meaning.
#include <string>

#include "engine_fixture.h"
#include "exec/server_impl.h"

namespace standin::test {
namespace {

// Tables t1..tN with columns aK, bK: aK = 1..rows, bK = aK + 1, so that
// bK = a(K+1) chains every table to the next.
void make_chain(Engine& e, int tables, int rows) {
  for (int k = 1; k <= tables; ++k) {
    std::string n = std::to_string(k);
    e.ok("CREATE TABLE t" + n + " (a" + n + " int, b" + n + " int)");
    std::string insert = "INSERT INTO t" + n + " VALUES ";
    for (int r = 1; r <= rows; ++r)
      insert += (r > 1 ? ",(" : "(") + std::to_string(r) + "," + std::to_string(r + 1) + ")";
    e.ok(insert);
  }
}

std::string chain_query(int tables, const std::string& filter) {
  std::string from, where = filter;
  for (int k = tables; k >= 1; --k) from += (k < tables ? ", t" : "t") + std::to_string(k);
  for (int k = 1; k < tables; ++k) where += " AND b" + std::to_string(k) + " = a" + std::to_string(k + 1);
  return "SELECT a1, a" + std::to_string(tables) + " FROM " + from + " WHERE " + where;
}

TEST(EngineJoinPlanning, LongCommaChainAnswersWithinASmallMemoryLimit) {
  Engine e;
  e.server().impl().max_query_memory = 16u << 20;
  make_chain(e, 12, 60);
  // The product would hold 60^12 tuples; the chain holds one per start row.
  EXPECT_EQ(e.rows(chain_query(12, "a1 <= 3")), (Rows{{"1", "12"}, {"2", "13"}, {"3", "14"}}));
  EXPECT_EQ(e.rows(chain_query(12, "a1 = 50")), Rows{});
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM t1, t2, t3 WHERE b1 = a2 AND b2 = a3 AND a3 > 50"), "10");
}

TEST(EngineJoinPlanning, CommaJoinAndJoinOnAgree) {
  Engine e;
  make_chain(e, 4, 8);
  Rows comma = e.rows("SELECT a1, b2, a4 FROM t4, t2, t1, t3 WHERE b1 = a2 AND b3 = a4 AND b2 = a3 AND a4 % 2 = 0");
  Rows on = e.rows(
      "SELECT a1, b2, a4 FROM t4 JOIN t2 ON 1 = 1 JOIN t1 ON b1 = a2 JOIN t3 ON b2 = a3 AND b3 = a4 WHERE a4 % 2 = 0");
  EXPECT_EQ(comma, on);
  EXPECT_EQ(comma.size(), 3u);
}

TEST(EngineJoinPlanning, RowsComeInTheOrderOfNestedLoopsAsWritten) {
  Engine e;
  e.ok("CREATE TABLE big (x int) INSERT INTO big VALUES (3),(1),(2),(1)");
  e.ok("CREATE TABLE small (y int) INSERT INTO small VALUES (1),(3)");
  // The planner starts from `small`, the smaller input; the rows still
  // follow `big` first, then `small`.
  EXPECT_EQ(e.rows("SELECT x, y FROM big, small WHERE x = y"), (Rows{{"3", "3"}, {"1", "1"}, {"1", "1"}}));
  EXPECT_EQ(e.rows("SELECT x, y FROM big, small WHERE x < y"), (Rows{{"1", "3"}, {"2", "3"}, {"1", "3"}}));
  // Also when the reordered join is the preserved side of a LEFT JOIN.
  EXPECT_EQ(e.rows("SELECT x, s2.y FROM big JOIN small ON x = small.y LEFT JOIN small s2 ON s2.y = x + 2"),
            (Rows{{"3", "NULL"}, {"1", "3"}, {"1", "3"}}));
}

TEST(EngineJoinPlanning, EqualityKeysFollowComparisonRules) {
  Engine e;
  e.ok("CREATE TABLE n (i int, s varchar(10)) INSERT INTO n VALUES (5, 'abc'), (NULL, NULL), (7, 'x ')");
  e.ok(
      "CREATE TABLE m (d decimal(9,2), t nvarchar(10)) INSERT INTO m VALUES (5.00, N'ABC'), (NULL, NULL), (7.50, N'x')");
  EXPECT_EQ(e.rows("SELECT i, d FROM n, m WHERE i = d"), (Rows{{"5", "5.00"}}));
  // Case and trailing blanks do not count under the server collation;
  // NULL equals nothing.
  EXPECT_EQ(e.rows("SELECT s, t FROM n, m WHERE s = t"), (Rows{{"abc", "ABC"}, {"x ", "x"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM n, m WHERE i = d OR s = t"), "2");
}

TEST(EngineJoinPlanning, WhereTermsStayAboveTheNullSideOfALeftJoin) {
  Engine e;
  e.ok("CREATE TABLE p (id int, flag int) INSERT INTO p VALUES (1, 1), (2, 0), (3, 1)");
  e.ok("CREATE TABLE c (pid int, v int) INSERT INTO c VALUES (1, 10), (2, 20)");
  EXPECT_EQ(e.rows("SELECT id FROM p LEFT JOIN c ON pid = id WHERE v IS NULL"), (Rows{{"3"}}));
  // ON terms of the outer side decide matches only: every p row stays.
  EXPECT_EQ(e.rows("SELECT id, v FROM p LEFT JOIN c ON pid = id AND flag = 1"),
            (Rows{{"1", "10"}, {"2", "NULL"}, {"3", "NULL"}}));
  EXPECT_EQ(e.rows("SELECT id, v FROM p LEFT JOIN c ON pid = id AND v > 15"),
            (Rows{{"1", "NULL"}, {"2", "20"}, {"3", "NULL"}}));
  EXPECT_EQ(e.rows("SELECT id, c.v FROM c, p LEFT JOIN c AS c2 ON c2.pid = p.id WHERE c.pid = p.id AND c.v = 20"),
            (Rows{{"2", "20"}}));
}

TEST(EngineJoinPlanning, SubqueriesAndConstantsInWhere) {
  Engine e;
  make_chain(e, 3, 5);
  EXPECT_EQ(e.rows("SELECT a1, a3 FROM t1, t2, t3 WHERE b1 = a2 AND b2 = a3 AND "
                   "a3 = (SELECT MAX(a3) FROM t3 WHERE a3 < 5)"),
            (Rows{{"2", "4"}}));
  EXPECT_EQ(e.rows("SELECT a1 FROM t1, t2 WHERE 1 = 0 AND b1 = a2"), Rows{});
  EXPECT_EQ(e.rows("SELECT a1 FROM t1 WHERE EXISTS (SELECT 1 FROM t2, t3 WHERE a2 = t1.b1 AND b2 = a3)"),
            (Rows{{"1"}, {"2"}, {"3"}}));
}

}  // namespace
}  // namespace standin::test
