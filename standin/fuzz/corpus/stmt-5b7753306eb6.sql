ALTER TABLE [dbo].[OnlKontoStand]  ADD
CONSTRAINT [PK_OnlKontoStand] PRIMARY KEY CLUSTERED
([Konto], [Datum]) ON [PRIMARY]