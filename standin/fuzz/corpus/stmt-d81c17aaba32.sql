ALTER TABLE [dbo].[AnlageAbschr]  ADD
CONSTRAINT [PK_AnlageAbschr] PRIMARY KEY CLUSTERED
([InventarNr],[Jahr]) ON [PRIMARY]