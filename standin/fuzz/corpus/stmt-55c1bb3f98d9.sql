CREATE TABLE dbo.Anlagetabelle (
Name varchar(240) NOT NULL,
Nutzungsdauer integer NOT NULL,
Fundstelle varchar(20) NOT NULL)