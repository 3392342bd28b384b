CREATE TABLE dbo.tmpJournal (
ID INT IDENTITY (1,1) NOT NULL,
Soll numeric (19,8) NULL,
Haben numeric (19,8) NULL,
SollSt numeric (19,8) NULL,
HabenSt numeric (19,8) NULL)