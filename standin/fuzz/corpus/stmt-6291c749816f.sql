CREATE TABLE dbo.tblOnlLog (
ID int IDENTITY (1,1) NOT NULL,
NR int NOT NULL,
Status int NOT NULL,
Vorgang varchar (200) NULL,
Komentar varchar (200) NULL,
Ergebnis varchar (200) NULL)