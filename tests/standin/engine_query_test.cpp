// Queries and data changes: joins, grouping, subqueries, UNION ALL,
// positional inserts, UPDATE ... FROM and correlated updates.
#include "engine_fixture.h"

namespace standin::test {
namespace {

void seed(Engine& e) {
  e.ok("CREATE TABLE MgArt (Art int NOT NULL PRIMARY KEY, Bezeichnung varchar(50))");
  e.ok(
      "CREATE TABLE MgVert (VertragNr int, AdrNr int, Art int, ArtName varchar(50), AbwAdrNr int, StrasseKIH varchar(40))");
  e.ok("CREATE TABLE Adresse (AdrNr int, Strasse varchar(40), MitglNr varchar(10))");
  e.ok("INSERT INTO MgArt VALUES (1, 'Erwachsene'), (2, 'Jugend')");
  e.ok("INSERT INTO MgVert (VertragNr, AdrNr, Art, AbwAdrNr) VALUES (10, 1, 1, NULL), (11, 2, 2, 1), (12, 3, 9, 0)");
  e.ok("INSERT INTO Adresse VALUES (1, 'Hauptstr. 1', 'A7'), (2, 'Ringweg 2', NULL), (3, 'Am Bach 3', ' B2 ')");
}

TEST(EngineQuery, JoinsGroupingAndOrdering) {
  Engine e;
  seed(e);
  EXPECT_EQ(
      e.rows("SELECT V.VertragNr, A.Bezeichnung FROM MgVert V LEFT JOIN MgArt A ON A.Art=V.Art ORDER BY V.VertragNr"),
      (Rows{{"10", "Erwachsene"}, {"11", "Jugend"}, {"12", "NULL"}}));
  EXPECT_EQ(
      e.rows(
          "SELECT a.Art, COUNT(*) AS n FROM MgArt a INNER JOIN MgVert v ON v.Art = a.Art GROUP BY a.Art ORDER BY n DESC, a.Art"),
      (Rows{{"1", "1"}, {"2", "1"}}));
  EXPECT_EQ(e.rows("SELECT TOP 1 AdrNr FROM Adresse ORDER BY AdrNr DESC"), (Rows{{"3"}}));
  EXPECT_EQ(e.rows("SELECT DISTINCT Art FROM MgVert WHERE Art IN (1, 2) ORDER BY Art"), (Rows{{"1"}, {"2"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM Adresse a, MgArt m"), "6");
}

TEST(EngineQuery, SubqueriesAndUnionAll) {
  Engine e;
  seed(e);
  EXPECT_EQ(e.rows("SELECT AdrNr FROM Adresse AS A WHERE A.AdrNr NOT IN (SELECT DISTINCT H.AdrNr FROM MgVert AS H "
                   "WHERE H.AdrNr=A.AdrNr AND H.Art=1) ORDER BY 1"),
            (Rows{{"2"}, {"3"}}));
  EXPECT_EQ(e.rows("SELECT AdrNr FROM Adresse a WHERE EXISTS (SELECT * FROM MgVert v WHERE v.AbwAdrNr = a.AdrNr)"),
            (Rows{{"1"}}));
  EXPECT_EQ(e.rows("SELECT 1 AS x UNION ALL SELECT 1 UNION ALL SELECT 2"), (Rows{{"1"}, {"1"}, {"2"}}));
  EXPECT_EQ(e.scalar("SELECT (SELECT MAX(Art) FROM MgArt) + 1"), "3");
  EXPECT_EQ(e.error("SELECT (SELECT Art FROM MgArt)"), 512);
}

TEST(EngineQuery, PositionalInsertFillsColumnsInDeclaredOrder) {
  Engine e;
  e.ok(
      "CREATE TABLE AnlageTabelle (ID int IDENTITY(1,1) NOT NULL, Name varchar(240) NOT NULL, "
      "Nutzungsdauer integer NOT NULL, Fundstelle varchar(20) NOT NULL)");
  e.ok(
      "Insert Into AnlageTabelle Select Name='Abfüllanlagen', Nutzungsdauer=10, Fundstelle='5.22'\r\n"
      "Insert Into AnlageTabelle Select Fundstelle='x', Nutzungsdauer=3, Name='y'");
  // The labels only name the values: the second row took them by position.
  EXPECT_EQ(e.rows("SELECT ID, Name, Nutzungsdauer, Fundstelle FROM AnlageTabelle ORDER BY ID"),
            (Rows{{"1", "Abfüllanlagen", "10", "5.22"}, {"2", "x", "3", "y"}}));
  EXPECT_EQ(e.error("Insert Into AnlageTabelle Select Name='z', Nutzungsdauer=1"), 213);
  EXPECT_EQ(e.error("INSERT INTO AnlageTabelle (ID, Name, Nutzungsdauer, Fundstelle) VALUES (7, 'a', 1, 'b')"), 544);
  e.ok("SET IDENTITY_INSERT AnlageTabelle ON");
  e.ok("INSERT INTO AnlageTabelle (ID, Name, Nutzungsdauer, Fundstelle) VALUES (7, 'a', 1, 'b')");
  e.ok("SET IDENTITY_INSERT AnlageTabelle OFF");
  e.ok("Insert Into AnlageTabelle Select Name='c', Nutzungsdauer=1, Fundstelle='d'");
  EXPECT_EQ(e.scalar("SELECT MAX(ID) FROM AnlageTabelle"), "8");
}

TEST(EngineQuery, UpdateFromJoinAndCorrelatedUpdate) {
  Engine e;
  seed(e);
  e.ok("UPDATE MgVert SET ArtName=A.Bezeichnung FROM MgVert V LEFT JOIN MgArt A ON A.Art=V.Art");
  EXPECT_EQ(e.rows("SELECT ArtName FROM MgVert ORDER BY VertragNr"), (Rows{{"Erwachsene"}, {"Jugend"}, {"NULL"}}));
  e.ok(
      "UPDATE MgVert SET\nStrasseKIH=(SELECT A.Strasse FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr)\n"
      "WHERE AbwAdrNr IS NOT NULL OR AbwAdrNr<>0");
  EXPECT_EQ(e.rows("SELECT StrasseKIH FROM MgVert ORDER BY VertragNr"), (Rows{{"NULL"}, {"Hauptstr. 1"}, {"NULL"}}));
  BatchResult r = e.run("DELETE FROM MgVert WHERE Art = 9");
  EXPECT_EQ(r.rows_affected, 1);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM MgVert"), "2");
}

TEST(EngineQuery, CollationIgnoresCaseAndTrailingBlanks) {
  Engine e;
  e.ok("CREATE TABLE F5BuText ([Text] varchar(40))");
  e.ok("INSERT INTO f5butext VALUES ('AUFNAHMEGEBÜHREN'), ('beitrag  '), ('Spende')");
  e.ok("UPDATE F5BuText SET [Text]='Aufnahmegebühren' WHERE [Text]='AUFNAHMEGEBÜHREN'");
  e.ok("UPDATE F5BuText SET [Text]='Beitrag' WHERE [Text]='BEITRAG'");
  EXPECT_EQ(e.rows("SELECT [Text] FROM F5BuText ORDER BY 1"), (Rows{{"Aufnahmegebühren"}, {"Beitrag"}, {"Spende"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM F5BuText WHERE [Text] = 'aufnahmegebühren'"), "1");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM F5BuText WHERE [Text] = 'Aufnahmegebuhren'"), "0");
}

TEST(EngineQuery, AreaCodeMergeWithUnaryPlus) {
  Engine e;
  e.ok("CREATE TABLE Adresse (Vorwahl varchar(10), Telefon1 varchar(40))");
  e.ok("INSERT INTO Adresse VALUES ('030', '1234'), (NULL, '55'), ('089', NULL), (NULL, NULL)");
  e.ok("UPDATE Adresse SET Telefon1=ISNULL(Vorwahl,'')+ + ISNULL(Telefon1,'')");
  EXPECT_EQ(e.rows("SELECT Telefon1 FROM Adresse"), (Rows{{"0301234"}, {"55"}, {"089"}, {""}}));
}

TEST(EngineQuery, BareNullTakesTheTypeOfTheOtherArgument) {
  Engine e;
  e.ok("CREATE TABLE Kontakt (Nr int, Notiz varchar(5))");
  e.ok("INSERT INTO Kontakt VALUES (1, NULL)");
  EXPECT_EQ(e.rows("SELECT ISNULL(NULL, 'leer'), COALESCE(NULL, 'kein', NULL), ISNULL(NULL, 5)"),
            (Rows{{"leer", "kein", "5"}}));
  // A NULL that has a type keeps it: the text is converted to int.
  EXPECT_EQ(e.error("SELECT ISNULL(Nr * NULL, 'x') FROM Kontakt"), 245);
  EXPECT_EQ(e.rows("SELECT ISNULL(Notiz, 'abcdefgh') FROM Kontakt"), (Rows{{"abcde"}}));
  EXPECT_EQ(e.error("SELECT COALESCE(NULL, NULL)"), 4127);
}

TEST(EngineQuery, ParametersBindAsVariables) {
  Engine e;
  e.ok("CREATE TABLE AdrSepa (AdrNr int, MandatsNr varchar(35), AngelegtAm datetime)");
  std::vector<Param> params{{"pAdrNr", Value::integer(12)}, {"@ref", Value::varchar("12A7")}};
  auto r = e.session().execute("INSERT INTO AdrSepa (AdrNr, MandatsNr) VALUES (@pAdrNr, @ref)", params);
  ASSERT_TRUE(r.ok()) << r.errors[0].message;
  EXPECT_EQ(e.rows("SELECT AdrNr, MandatsNr FROM AdrSepa"), (Rows{{"12", "12A7"}}));
  EXPECT_EQ(e.error("SELECT @pAdrNr"), 137);
}

TEST(EngineQuery, TypedParametersOfAMandateRow) {
  Engine e;
  e.ok(
      "CREATE TABLE AdrSepa ([AdrNr] [int] NOT NULL, [MandatsNr] [varchar](35) NOT NULL, "
      "[Status] [varchar] (20) NOT NULL, [AngelegtAm] [datetime] NULL)");
  DateTime today = DateTime::from_civil(2024, 5, 1);
  std::vector<Param> params{{"@AdrNr", Value::integer(7)},
                            {"@MandatsNr", Value::nvarchar("7J-12")},
                            {"@Status", Value::nvarchar("Aktiv")},
                            {"@AngelegtAm", Value::datetime(today)}};
  auto r = e.session().execute(
      "INSERT INTO AdrSepa (AdrNr, MandatsNr, Status, AngelegtAm) VALUES (@AdrNr, @MandatsNr, @Status, @AngelegtAm)",
      params);
  ASSERT_TRUE(r.ok()) << r.errors[0].message;
  EXPECT_EQ(e.rows("SELECT AdrNr, MandatsNr, Status, AngelegtAm FROM AdrSepa"),
            (Rows{{"7", "7J-12", "Aktiv", "2024-05-01 00:00:00.000"}}));
}

}  // namespace
}  // namespace standin::test

namespace standin::test {
namespace {

TEST(EngineQuery, AppointmentStartAndEndFromDateAndTimeOfDay) {
  Engine e;
  e.ok("CREATE TABLE W_Vorl (Datum datetime, UhrZeit datetime, DatumVon datetime NULL, DatumBis datetime NULL)");
  e.ok("INSERT INTO W_Vorl (Datum, UhrZeit) VALUES ('04.03.2015 17:00', '30.12.1899 09:05'), ('05.03.2015', NULL)");
  e.ok(
      "UPDATE W_Vorl SET DatumVon=DATEADD(dd, DATEDIFF(dd,0,Datum), 0) + CAST(CAST(DATEPART(hh, UhrZeit) AS VarChar)"
      "+':'+Right('0'+CAST(DATEPART(mi, UhrZeit) AS VarChar),2) AS DateTime)");
  e.ok("UPDATE W_Vorl SET DatumBis=DatumVon+0.03");
  EXPECT_EQ(e.rows("SELECT DatumVon, DatumBis FROM W_Vorl ORDER BY Datum"),
            (Rows{{"2015-03-04 09:05:00.000", "2015-03-04 09:48:12.000"}, {"NULL", "NULL"}}));
}

TEST(EngineQuery, RoundingUpToWholeCents) {
  Engine e;
  e.ok("CREATE TABLE f5bew4s (soll numeric(19,8), haben numeric(19,8))");
  e.ok("INSERT INTO f5bew4s VALUES (12.3401, -1.234), (12.34, NULL)");
  e.ok("update f5bew4s set soll=ROUND(CEILING(Soll*100),0)/100,haben=ROUND(CEILING(Haben*100),0)/100");
  EXPECT_EQ(e.rows("SELECT soll, haben FROM f5bew4s"), (Rows{{"12.35000000", "-1.23000000"}, {"12.34000000", "NULL"}}));
}

TEST(EngineQuery, MonthEndClampingOfDateAdd) {
  Engine e;
  EXPECT_EQ(e.scalar("SELECT DATEADD(mm, 1, '31.01.2015')"), "2015-02-28 00:00:00.000");
  EXPECT_EQ(e.scalar("SELECT DATEADD(yy, 2020-1900, DATEADD(mm, 1, DATEADD(dd, 28, 0)))"), "2020-02-28 00:00:00.000");
  EXPECT_EQ(e.scalar("SELECT LEN('ab  ')"), "2");
}

}  // namespace
}  // namespace standin::test
