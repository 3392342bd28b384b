CREATE TABLE dbo.VerbSportArt (
[Nummer] [varchar](3) NOT NULL,
[Sportart] [varchar](120) NULL,
[Kennung] [varchar](50) NULL,
) ON [PRIMARY]