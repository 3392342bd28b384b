ALTER TABLE [dbo].[AdrFunktion]  ADD
CONSTRAINT [PK_AdrFunktion] PRIMARY KEY CLUSTERED
([AdrNr],[Funktion]) ON [PRIMARY]