CREATE TABLE dbo.MandKonten (
LfdNr [int] IDENTITY(1,1) NOT NULL,
Bank varchar (80) NOT NULL,
Konto varchar (15) NOT NULL,
BLZ varchar (10) NOT NULL,
FibuKonto int NULL)