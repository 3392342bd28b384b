CREATE TABLE dbo.GuVKennz49D (
RimNr varchar (4) NOT NULL,
Kennz Varchar (1) NOT NULL,
Nr int NOT NULL,
Bezeichnung varchar (120) NOT NULL,
EA char (1) NULL)