CREATE TABLE dbo.AdrFunktion (
AdrNr integer NOT NULL,
Funktion Varchar(80) NOT NULL,
Nr integer NULL,
DatumVon datetime NULL,
DatumBis datetime NULL)