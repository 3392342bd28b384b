CREATE TABLE dbo.AnlageAbschr (
InventarNr varchar(20) NOT NULL,
Jahr integer NOT NULL,
LaufzeitBis integer NOT NULL,
Anschaffungskosten numeric (18,8) NOT NULL,
AfaBetrag numeric (18,8) NOT NULL,
Buchwert numeric (18,8) NOT NULL,
Kummuliert numeric (18,8) NOT NULL,
Abschreibungsart char(1) NOT NULL,
Gerundet char(1) NOT NULL)