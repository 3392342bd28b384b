// The objects that keep a column from being altered or dropped, rule by
// rule as ALTER TABLE lists them under ALTER COLUMN and DROP COLUMN:
// https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
#include "engine_fixture.h"

namespace standin::test {
namespace {

// The number and text of the first message of a refused statement.
std::string first_message(Engine& e, const std::string& text) {
  BatchResult r = e.run(text);
  return r.ok() ? "" : std::to_string(r.errors[0].number) + " " + r.errors[0].message;
}

// A plain index allows varchar, nvarchar and varbinary to keep their type
// and grow; every other change of the data type is refused.
TEST(EngineColumnDependents, AnIndexAllowsAVariableLengthColumnToGrow) {
  Engine e;
  e.ok("CREATE TABLE t (v varchar(10), n nvarchar(10), b varbinary(4), c char(5), i int, d decimal(9,2))");
  e.ok("CREATE INDEX ix_t ON t (v, n, b, c, i, d)");
  e.ok("INSERT INTO t VALUES ('abc', N'x', 0x01, 'c', 1, 1.5)");
  e.ok("ALTER TABLE t ALTER COLUMN v varchar(20) NULL");
  e.ok("ALTER TABLE t ALTER COLUMN n nvarchar(max) NULL");
  e.ok("ALTER TABLE t ALTER COLUMN b varbinary(8) NULL");
  e.ok("ALTER TABLE t ALTER COLUMN i int NULL");  // the type is not changed
  EXPECT_EQ(first_message(e, "ALTER TABLE t ALTER COLUMN v varchar(5) NULL"),
            "5074 The index 'ix_t' is dependent on column 'v'.");
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN n nvarchar(30) NULL"), 5074);  // shorter than max
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN v nvarchar(20) NULL"), 5074);
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN c char(10) NULL"), 5074);
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN i bigint NULL"), 5074);
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN d decimal(19,2) NULL"), 5074);
  EXPECT_EQ(e.rows("SELECT v, n FROM t"), (Rows{{"abc", "x"}}));
  EXPECT_EQ(e.error("ALTER TABLE t DROP COLUMN b"), 5074);
}

// A primary key refuses every change, a varchar one too; a foreign key
// refuses one on either side.
TEST(EngineColumnDependents, KeysAndForeignKeysRefuseEveryChange) {
  Engine e;
  e.ok("CREATE TABLE p (code varchar(10) NOT NULL, other int, CONSTRAINT PK_p PRIMARY KEY (code))");
  e.ok("CREATE TABLE c (id int, code varchar(10), CONSTRAINT FK_c_p FOREIGN KEY (code) REFERENCES p (code))");
  EXPECT_EQ(first_message(e, "ALTER TABLE p ALTER COLUMN code varchar(20) NOT NULL"),
            "5074 The object 'PK_p' is dependent on column 'code'.");
  EXPECT_EQ(first_message(e, "ALTER TABLE c ALTER COLUMN code varchar(20) NULL"),
            "5074 The object 'FK_c_p' is dependent on column 'code'.");
  e.ok("ALTER TABLE p ALTER COLUMN other bigint NULL");
  e.ok("ALTER TABLE c DROP CONSTRAINT FK_c_p");
  e.ok("ALTER TABLE c ALTER COLUMN code varchar(20) NULL");
  // With the foreign key gone, the key column is still held by the key.
  EXPECT_EQ(e.error("ALTER TABLE p DROP COLUMN code"), 5074);
}

// CHECK and UNIQUE constraints allow only the length of a variable-length
// column to change (UNIQUE, an index, only to grow).
TEST(EngineColumnDependents, CheckAndUniqueConstraintsAllowOnlyALengthChange) {
  Engine e;
  e.ok(
      "CREATE TABLE t (flag varchar(1) CONSTRAINT CK_t_flag CHECK (flag IN ('N', 'J')), "
      "n smallint CONSTRAINT CK_t_n CHECK (n > 0), u nvarchar(5), CONSTRAINT UQ_t_u UNIQUE (u))");
  e.ok("INSERT INTO t VALUES ('N', 1, N'a')");
  e.ok("ALTER TABLE t ALTER COLUMN flag varchar(3) NULL");
  e.ok("ALTER TABLE t ALTER COLUMN u nvarchar(10) NULL");
  EXPECT_EQ(first_message(e, "ALTER TABLE t ALTER COLUMN n int NULL"),
            "5074 The object 'CK_t_n' is dependent on column 'n'.");
  EXPECT_EQ(e.error("ALTER TABLE t ALTER COLUMN flag char(3) NULL"), 5074);
  EXPECT_EQ(first_message(e, "ALTER TABLE t ALTER COLUMN u nvarchar(2) NULL"),
            "5074 The object 'UQ_t_u' is dependent on column 'u'.");
  EXPECT_EQ(first_message(e, "ALTER TABLE t DROP COLUMN flag"),
            "5074 The object 'CK_t_flag' is dependent on column 'flag'.");
  // The constraint still holds on the widened column.
  EXPECT_EQ(e.error("INSERT INTO t VALUES ('NJ', 1, N'b')"), 547);
  e.ok("ALTER TABLE t DROP CONSTRAINT CK_t_n ALTER TABLE t ALTER COLUMN n int NULL");
}

}  // namespace
}  // namespace standin::test
