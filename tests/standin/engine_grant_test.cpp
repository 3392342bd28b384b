// GRANT on schema objects, and the catalog functions that find an object of
// a type or a database by name.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace standin::test {
namespace {

// Which object has which permission:
// https://learn.microsoft.com/en-us/sql/t-sql/statements/grant-object-permissions-transact-sql
// (tables, views and table-valued functions have DELETE, INSERT, REFERENCES,
// SELECT, UPDATE; EXECUTE belongs to procedures and scalar functions).
TEST(EngineGrant, PermissionMustSuitTheObjectKind) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  e.ok("CREATE VIEW V AS SELECT a FROM T");
  e.ok("CREATE FUNCTION dbo.fT(@p INT) RETURNS TABLE AS RETURN (SELECT a FROM T WHERE a = @p)");
  for (const char* grant : {"GRANT SELECT ON T TO public", "GRANT INSERT, UPDATE, DELETE ON dbo.T TO public",
                            "GRANT SELECT ON OBJECT::dbo.V TO public", "GRANT SELECT, REFERENCES ON dbo.fT TO public"})
    e.ok(grant);
  const std::string refused = "Granted or revoked privilege EXECUTE is not compatible with object.";
  for (const char* grant : {"GRANT EXECUTE ON T TO public", "GRANT EXECUTE ON dbo.V TO public",
                            "GRANT EXECUTE ON dbo.fT TO Public", "GRANT SELECT, execute ON dbo.T TO public"}) {
    EXPECT_EQ(e.error(grant), 4606) << grant;
    EXPECT_EQ(e.message(grant), refused) << grant;
  }
}

TEST(EngineGrant, MissingObjectIsNamed) {
  Engine e;
  EXPECT_EQ(e.error("GRANT EXECUTE ON dbo.fNowhere TO public"), 15151);
  EXPECT_EQ(e.message("GRANT EXECUTE ON dbo.fNowhere TO public"),
            "Cannot find the object 'fNowhere', because it does not exist or you do not have permission.");
}

// https://learn.microsoft.com/en-us/sql/t-sql/functions/object-id-transact-sql
// (object_type is the type column of sys.objects).
TEST(EngineCatalogFunctions, ObjectIdHonoursItsType) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  e.ok("CREATE VIEW V AS SELECT a FROM T");
  e.ok("CREATE FUNCTION dbo.fT(@p INT) RETURNS TABLE AS RETURN (SELECT a FROM T WHERE a = @p)");
  const std::string table = e.scalar("SELECT OBJECT_ID('T')");
  ASSERT_NE(table, "NULL");
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('dbo.T', 'U')"), table);
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID(N'T', N'U ')"), table);
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('T', 'V')"), "NULL");
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('V', 'U')"), "NULL");
  EXPECT_NE(e.scalar("SELECT OBJECT_ID('V', 'V')"), "NULL");
  EXPECT_NE(e.scalar("SELECT OBJECT_ID('dbo.fT', 'IF')"), "NULL");
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('dbo.fT', 'FN')"), "NULL");
}

// https://learn.microsoft.com/en-us/sql/t-sql/functions/db-id-transact-sql
TEST(EngineCatalogFunctions, DbIdOfAMissingDatabaseIsNull) {
  Engine e;
  e.ok("CREATE DATABASE Other");
  const std::string current = e.scalar("SELECT DB_ID()");
  EXPECT_EQ(e.scalar("SELECT DB_ID(DB_NAME())"), current);
  const std::string other = e.scalar("SELECT DB_ID('Other')");
  EXPECT_NE(other, "NULL");
  EXPECT_NE(other, current);
  EXPECT_EQ(e.scalar("SELECT DB_ID('Nowhere')"), "NULL");
}

}  // namespace
}  // namespace standin::test
