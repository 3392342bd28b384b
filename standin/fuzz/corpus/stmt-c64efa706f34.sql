ALTER TABLE [dbo].[Anlagetabelle]  ADD
CONSTRAINT [PK_Anlagetabelle] PRIMARY KEY CLUSTERED
([Name]) ON [PRIMARY]