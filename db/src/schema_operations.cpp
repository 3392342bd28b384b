// AddField, AddIndex, DropConstraint, DropPrimaryKey, AlterColumnType: each asks the catalogue
// first and changes only what is missing, so that the upgrade can run again
// over a database that is partly or wholly upgraded. Probes are unguarded: a
// catalogue that cannot be read ends the run.
#include <string>

#include "db/primitives.h"
#include "db/sql_text.h"
#include "db/transaction.h"

namespace db {

// Names go into probes as literals, quotes doubled: the database name comes
// from the server and may hold a quote.
bool Primitives::TableExists(std::string_view table) {
  return RowsExist("SELECT * FROM sysobjects WHERE name=" + db::quoted(table));
}

bool Primitives::RowsExist(std::string_view query) {
  return !runner_.query(Channel::Probe, query, Guard::unguarded()).empty();
}

bool Primitives::AddField(std::string_view table, std::string_view column, std::string_view type, std::string_view size,
                          std::string_view null_text) {
  WaitCursor cursor(runner_.feedback());
  std::string probe = "SELECT * FROM Information_Schema.Columns";
  probe += " WHERE Table_Catalog=" + db::quoted(current_database());
  probe += " AND";
  probe += " Table_Schema=" + db::quoted("dbo");
  probe += " AND";
  probe += " Table_Name=" + db::quoted(table);
  probe += " AND";
  probe += " Column_Name=" + db::quoted(column);
  if (RowsExist(probe)) {
    added_ = false;
    return false;
  }
  added_ = true;
  // Two blanks between column and type, and between type and null text when
  // the size is empty: the size carries whatever stands between them.
  std::string statement = "ALTER TABLE dbo.";
  statement += table;
  statement += " ADD ";
  statement += column;
  statement += "  ";
  statement += type;
  statement += " ";
  statement += size;
  statement += " ";
  statement += null_text;
  runner_.run(Channel::Single, statement, Guard::silent());
  return true;
}

void Primitives::AddIndex(std::string_view table, std::string_view index, std::string_view column1,
                          std::string_view column2, std::string_view column3, std::string_view column4) {
  WaitCursor cursor(runner_.feedback());
  // An index of that name on any table counts as present.
  if (RowsExist("SELECT * FROM SysIndexes WHERE Name=" + db::quoted(index))) return;
  std::string statement = "CREATE NONCLUSTERED INDEX ";
  statement += index;
  statement += " ON ";
  statement += table;
  statement += " (";
  statement += column1;
  for (std::string_view column : {column2, column3, column4}) {
    if (column.empty()) continue;
    statement += ", ";
    statement += column;
  }
  statement += ")";
  runner_.run(Channel::Single, statement, Guard::warning());
}

void Primitives::DropConstraint(std::string_view table, std::string_view constraint) {
  WaitCursor cursor(runner_.feedback());
  if (!RowsExist("SELECT * FROM sysobjects WHERE NAME=" + db::quoted(constraint))) return;
  runner_.run_lines({"ALTER TABLE dbo." + std::string(table), " DROP CONSTRAINT " + std::string(constraint)},
                    Guard::warning());
}

void Primitives::DropPrimaryKey(std::string_view table) {
  WaitCursor cursor(runner_.feedback());
  std::string probe = join_lines_crlf({
      " SELECT  distinct i.name AS IndexName",
      " FROM    sys.indexes AS i INNER JOIN",
      " sys.index_columns AS ic ON  i.OBJECT_ID = ic.OBJECT_ID",
      " AND i.index_id = ic.index_id",
      " WHERE   i.is_primary_key = 1",
      " and OBJECT_NAME(ic.OBJECT_ID)=" + db::quoted(table),
  });
  Rowset keys = runner_.query(Channel::Probe, probe, Guard::unguarded());
  if (keys.empty()) return;
  runner_.run_lines({"ALTER TABLE dbo." + std::string(table), " DROP CONSTRAINT " + keys.text(0, "IndexName")},
                    Guard::warning());
}

bool Primitives::AlterColumnType(std::string_view table, std::string_view column, std::string_view new_type,
                                 std::string_view alter, Channel channel, Guard guard) {
  std::string probe = "SELECT dc.name, dc.definition FROM sys.default_constraints AS dc";
  probe += " INNER JOIN sys.columns AS c";
  probe += " ON c.object_id = dc.parent_object_id AND c.column_id = dc.parent_column_id";
  probe += " WHERE dc.parent_object_id = OBJECT_ID(" + db::quoted(table) + ")";
  probe += " AND c.name = " + db::quoted(column);
  probe += " AND TYPE_NAME(c.system_type_id) <> " + db::quoted(new_type);
  Rowset defaults = runner_.query(Channel::Probe, probe, Guard::unguarded());
  if (defaults.empty()) return runner_.run(channel, alter, guard);
  const std::string name = defaults.text(0, "name");
  const std::string definition = defaults.text(0, "definition");
  bool altered = false;
  // Without the transaction a cut between the drop and the new default
  // would leave the column without it for good: later runs find the column
  // converted and have nothing to put back.
  in_one_transaction(runner_, [&] {
    runner_.run(channel, "ALTER TABLE " + std::string(table) + " DROP CONSTRAINT " + bracketed(name), guard);
    altered = runner_.run(channel, alter, guard);
    runner_.run(channel,
                "ALTER TABLE " + std::string(table) + " ADD CONSTRAINT " + bracketed(name) + " DEFAULT " + definition +
                    " FOR " + std::string(column),
                guard);
  });
  return altered;
}

bool Primitives::Execute(std::string_view text, Channel channel, Guard guard) {
  return runner_.run(channel, text, guard);
}

}  // namespace db
