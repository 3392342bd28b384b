CREATE TABLE dbo.GuVKennzD (
RimNr varchar (4) NOT NULL,
Kennz Varchar (1) NOT NULL,
Nr int NOT NULL,
Bezeichnung varchar (50) NOT NULL)