CREATE TABLE dbo.tblLSB (
Kennung varchar (50) NOT NULL,
Bezeichnung varchar (50) NOT NULL)