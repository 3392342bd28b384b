// AddField, AddIndex, DropConstraint, DropPrimaryKey: each asks the catalogue
// first and changes only what is missing, so that the upgrade can run again
// over a database that is partly or wholly upgraded. Probes are unguarded: a
// catalogue that cannot be read ends the run.
#include <string>

#include "db/primitives.h"
#include "db/sql_text.h"

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

bool Primitives::Execute(std::string_view text, Channel channel, Guard guard) {
  return runner_.run(channel, text, guard);
}

}  // namespace db
