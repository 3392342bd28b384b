CREATE TABLE dbo.tblBeitassProt (
ID INT IDENTITY (1,1) NOT NULL,
Bezeichnung varchar (120) NOT NULL,
Datum datetime NOT NULL,
AdrNr int NOT NULL,
VertragNr VarChar (10) NOT NULL,
Art smallint NOT NULL,
ArtName VarChar (120) NULL,
Sollstellung VarChar (10) NULL,
VertragBegin datetime NULL,
VertragEnde datetime NULL,
Betrag numeric (19,8) NULL)