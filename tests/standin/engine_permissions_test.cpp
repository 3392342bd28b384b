// Granted permissions as sys.database_permissions lists them, undone with
// the statement or transaction that granted them, dropped with their object
// and kept in the data directory.
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace standin::test {
namespace {

Rows rows_of(const BatchResult& r) {
  Rows out;
  if (!r.ok() || r.result_sets.empty()) return out;
  for (const auto& row : r.result_sets.back().rows) {
    std::vector<std::string> line;
    for (const Value& v : row) line.push_back(v.to_display());
    out.push_back(line);
  }
  return out;
}

// Columns, codes and principal ids:
// https://learn.microsoft.com/en-us/sql/relational-databases/system-catalog-views/sys-database-permissions-transact-sql
// (class 1 OBJECT_OR_COLUMN, state G GRANT; public is principal 0, dbo 1).
constexpr const char* kPermissions =
    "SELECT OBJECT_NAME(major_id), class, class_desc, minor_id, grantee_principal_id, grantor_principal_id, "
    "type, permission_name, state, state_desc FROM sys.database_permissions ORDER BY OBJECT_NAME(major_id), type";

TEST(EnginePermissions, GrantsAreListedOncePerPermission) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  e.ok("CREATE VIEW V AS SELECT a FROM T");
  EXPECT_TRUE(e.rows(kPermissions).empty());
  e.ok("GRANT SELECT, INSERT ON dbo.T TO public");
  e.ok("GRANT SELECT ON T TO Public");  // again: still one row
  e.ok("GRANT SELECT ON OBJECT::dbo.V TO public");
  EXPECT_EQ(e.rows(kPermissions),
            (Rows{{"T", "1", "OBJECT_OR_COLUMN", "0", "0", "1", "IN  ", "INSERT", "G", "GRANT"},
                  {"T", "1", "OBJECT_OR_COLUMN", "0", "0", "1", "SL  ", "SELECT", "G", "GRANT"},
                  {"V", "1", "OBJECT_OR_COLUMN", "0", "0", "1", "SL  ", "SELECT", "G", "GRANT"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.database_permissions WHERE major_id = OBJECT_ID('T')"), "2");
}

// ALL grants the ANSI-92 permissions of the object kind:
// https://learn.microsoft.com/en-us/sql/t-sql/statements/grant-object-permissions-transact-sql
TEST(EnginePermissions, AllGrantsTheRelationalPermissions) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  e.ok("GRANT ALL PRIVILEGES ON T TO public");
  EXPECT_EQ(e.rows("SELECT permission_name FROM sys.database_permissions ORDER BY permission_name"),
            (Rows{{"DELETE"}, {"INSERT"}, {"REFERENCES"}, {"SELECT"}, {"UPDATE"}}));
}

TEST(EnginePermissions, RefusedOrRolledBackGrantsLeaveNothing) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  EXPECT_EQ(e.error("GRANT SELECT, EXECUTE ON T TO public"), 4606);  // SELECT is not granted either
  e.ok("BEGIN TRANSACTION");
  e.ok("GRANT UPDATE ON T TO public");
  e.ok("ROLLBACK TRANSACTION");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.database_permissions"), "0");
}

TEST(EnginePermissions, DroppingTheObjectDropsItsGrants) {
  Engine e;
  e.ok("CREATE TABLE T (a int)");
  e.ok("GRANT SELECT ON T TO public");
  e.ok("DROP TABLE T");
  e.ok("CREATE TABLE T (a int)");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.database_permissions"), "0");
}

TEST(EnginePermissions, GrantsSurviveReopening) {
  auto dir = std::filesystem::temp_directory_path() / ("standin_grants_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  const char* listing = "SELECT OBJECT_NAME(major_id), permission_name FROM sys.database_permissions ORDER BY 1, 2";
  const Rows granted{{"fT", "SELECT"}, {"T", "DELETE"}, {"V", "REFERENCES"}};
  {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    for (const char* sql :
         {"CREATE TABLE T (a int)", "CREATE VIEW V AS SELECT a FROM T",
          "CREATE FUNCTION dbo.fT(@p INT) RETURNS TABLE AS RETURN (SELECT a FROM T WHERE a = @p)",
          "GRANT DELETE ON T TO public", "GRANT REFERENCES ON V TO public", "GRANT SELECT ON dbo.fT TO public"})
      ASSERT_TRUE(s->execute(sql).ok()) << sql;
  }  // closing writes a snapshot; reopening twice reads the one the first reopening leaves
  for (int reopen = 0; reopen < 2; ++reopen) {
    auto server = Server::open(dir);
    auto s = server->connect("D");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(rows_of(s->execute(listing)), granted) << "reopen " << reopen;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace standin::test
