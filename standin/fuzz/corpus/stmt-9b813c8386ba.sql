CREATE TABLE dbo.MgBuText (
Buchungstext [varchar] (120) NOT NULL,
KontoNr INT NULL,
KoSt INT NULL)