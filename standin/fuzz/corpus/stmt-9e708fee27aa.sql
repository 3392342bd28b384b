CREATE TABLE dbo.GuVKennz49 (
RimNr varchar (4) NOT NULL,
Kennz Varchar (1) NOT NULL,
Bezeichnung varchar (120) NOT NULL)