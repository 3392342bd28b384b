// ConvertAllTaxKeys: once per tenant database, marked by the table UpdS, the
// tax-key table F5Dat gets its key rebuilt around a decimal STEUERSCHL and
// every tax-key column of every table is widened to numeric (19,2). Every
// statement is silent: a database whose conversion failed part-way still
// counts as converted. The marker and the conversion are one transaction, so
// that a run cut off inside it leaves the database as it was, to be
// converted by the next run.
#include "upgrade/finishing_pass.h"

#include "db/connections.h"
#include "db/sql_text.h"
#include "db/tenant_discovery.h"
#include "db/transaction.h"
#include "upgrade/texts.h"

namespace upgrade {

const char* const kTaxKeyColumnsQuery =
    "SELECT tbl.name AS TableName, clmns.name AS FieldName, tps.name AS DataType, clmns.length As DataLength, clmns.isnullable\r\nFROM dbo.sysobjects AS tbl\r\nINNER JOIN syscolumns  AS clmns ON clmns.id=tbl.id\r\nLEFT OUTER JOIN systypes AS tps ON tps.xtype=clmns.xtype\r\nWHERE (UPPER(clmns.name))='STEUERSCHL' OR (UPPER(clmns.name) LIKE '%StSchl%' ) \r\nORDER BY tbl.name,clmns.name ASC";

namespace {

// The key of F5Dat is rebuilt on (STEUERSCHL, LFDNR); without that column
// the rebuild fails and the table would be left without a key, so the key
// is then not dropped at all.
bool f5dat_has_lfdnr(db::Primitives& sql) {
  return sql.RowsExist(
      "SELECT * FROM Information_Schema.Columns WHERE Table_Catalog=" + db::quoted(sql.current_database()) +
      " AND Table_Schema='dbo' AND Table_Name='F5Dat' AND Column_Name='LFDNR'");
}

void convert(db::Primitives& sql) {
  auto& runner = sql.runner();
  const auto silent = db::Guard::silent();
  runner.run_lines({"CREATE TABLE dbo.UpdS (", "ID INT IDENTITY (1,1) NOT NULL)"}, silent);
  if (f5dat_has_lfdnr(sql)) runner.run_lines({"ALTER TABLE F5Dat DROP CONSTRAINT PK_F5DAT"}, silent);
  // The text as run_lines sends it: one line ended by CR LF.
  sql.AlterColumnType("F5Dat", "STEUERSCHL", "numeric",
                      "ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL NUMERIC (19,2) NOT NULL\r\n", db::Channel::Lines,
                      silent);
  runner.run_lines({"ALTER TABLE F5Dat ADD CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL, LFDNR) ON [PRIMARY]"},
                   silent);
  WidenTaxKeyColumns(sql);
}

}  // namespace

void ConvertAllTaxKeys(db::Primitives& sql, Ui& ui, UiFeedback& feedback) {
  db::Connections& connections = sql.runner().connections();
  feedback.set_place(db::kDiscoveryCatalogue);
  connections.pConn(db::kDiscoveryCatalogue);
  for (const std::string& name : db::list_tenants(sql.runner(), true)) {
    ui.set_caption(kFinishingCaption + name);
    feedback.set_place(name);
    connections.MandantChange(name);
    if (sql.TableExists("UpdS")) continue;
    // UpdS marks the conversion as done, and F5Dat is without its key
    // between the drop and the new key: all of it is one transaction.
    db::in_one_transaction(sql.runner(), [&] { convert(sql); });
  }
}

void WidenTaxKeyColumns(db::Primitives& sql) {
  auto& runner = sql.runner();
  const auto silent = db::Guard::silent();
  db::Rowset columns = runner.query(db::Channel::Probe, kTaxKeyColumnsQuery, db::Guard::unguarded());
  for (size_t row = 0; row < columns.rows.size(); ++row) {
    // ANSI warnings are off only while one column is converted.
    runner.run(db::Channel::Separate, "SET ANSI_WARNINGS OFF ", silent);
    std::string statement = "ALTER TABLE " + columns.text(row, "TableName") + " ALTER COLUMN " +
                            columns.text(row, "FieldName") + " numeric (19,2)";
    statement += columns.text(row, "isnullable") != "0" ? " NULL" : " NOT NULL";
    sql.AlterColumnType(columns.text(row, "TableName"), columns.text(row, "FieldName"), "numeric", statement,
                        db::Channel::Separate, silent);
    runner.run(db::Channel::Separate, "SET ANSI_WARNINGS ON ", silent);
  }
}

}  // namespace upgrade
