CREATE TABLE dbo.F5kennzD (
BILANZ_GUV varchar (6) NOT NULL,
KENNZAHLH varchar (4) NOT NULL,
Nr int NOT NULL,
BEZEICHG varchar (100) NULL)