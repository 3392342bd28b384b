// A statement whose intermediate results pass the memory limit ends with
// error 701 and changes nothing; the session and the next statement are
// unharmed.
#include "engine_fixture.h"
#include "exec/query_memory.h"
#include "exec/server_impl.h"

namespace standin::test {
namespace {

TEST(EngineQueryMemory, RunawayCrossJoinEndsWith701AndTheNextStatementRuns) {
  Engine e;
  e.ok("CREATE TABLE r (v int)");
  std::string insert = "INSERT INTO r VALUES (0)";
  for (int i = 1; i < 300; ++i) insert += ",(" + std::to_string(i) + ")";
  e.ok(insert);
  e.ok("CREATE TABLE target (n int)");
  e.server().impl().max_query_memory = 8u << 20;
  BatchResult r = e.run("INSERT INTO target SELECT a.v FROM r a, r b, r c WHERE a.v + b.v + c.v >= 0");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 701);
  EXPECT_EQ(r.errors[0].severity, 17);
  EXPECT_EQ(r.errors[0].message, "There is insufficient system memory in resource pool 'default' to run this query.");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM target"), "0");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM r a, r b WHERE a.v = b.v"), "300");
}

TEST(EngineQueryMemory, LargeSortsAndGroupsCountToo) {
  Engine e;
  e.ok("CREATE TABLE r (v int, s varchar(100))");
  e.ok(
      "INSERT INTO r VALUES (1, 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx')");
  for (int i = 0; i < 12; ++i) e.ok("INSERT INTO r SELECT v + 1, s FROM r");  // 4096 rows
  e.server().impl().max_query_memory = 256u << 10;
  EXPECT_EQ(e.error("SELECT s, v FROM r ORDER BY v DESC"), 701);
  e.server().impl().max_query_memory = 64u << 20;
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM (SELECT s, v FROM r) d"), "4096");
}

TEST(QueryMemorySize, ReadsBytesAndBinaryUnits) {
  uint64_t n = 0;
  EXPECT_TRUE(QueryMemory::parse_size("65536", &n));
  EXPECT_EQ(n, 65536u);
  EXPECT_TRUE(QueryMemory::parse_size("512M", &n));
  EXPECT_EQ(n, 512ull << 20);
  EXPECT_TRUE(QueryMemory::parse_size("2g", &n));
  EXPECT_EQ(n, 2ull << 30);
  for (const char* bad : {"", "0", "M", "12X", "-5", "1.5G", "99999999999999999999G"})
    EXPECT_FALSE(QueryMemory::parse_size(bad, &n)) << bad;
}

}  // namespace
}  // namespace standin::test
