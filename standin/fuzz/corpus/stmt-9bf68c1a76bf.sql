CREATE TABLE dbo.GuVKennz (
RimNr varchar (4) NOT NULL,
Kennz Varchar (1) NOT NULL,
Bezeichnung varchar (50) NOT NULL)