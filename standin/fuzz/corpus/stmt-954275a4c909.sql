CREATE TABLE AdrSepaVer (
[AdrNr] [int] NOT NULL,
[MandatsNr] [varchar](35) NOT NULL,
[MandKey] [varchar](35) NOT NULL,
[LfdNr] [int] NOT NULL,
[Lastschriftart] [varchar](20) NOT NULL,
[Typ] [char] (1) NOT NULL,
[Status] [varchar] (20) NOT NULL,
[AngelegtAm] [datetime] NULL,
[GultigBis] [datetime] NULL,
[UnterschriftDatum] [datetime] NULL,
[ErsteVerwendung] [datetime] NULL,
[LetzteVerwendung] [datetime] NULL,
[WiderrufenAm] [datetime] NULL)