CREATE TABLE dbo.OnlKontoStand (
 Konto varchar (15) NOT NULL,
 Datum DateTime NOT NULL,
 Saldo numeric (18,8) NOT NULL)