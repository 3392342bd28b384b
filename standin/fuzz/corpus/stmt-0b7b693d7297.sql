ALTER TABLE [dbo].[AdrFunktion]  WITH CHECK ADD  CONSTRAINT [FK_AdrFunktion_Adresse] FOREIGN KEY([AdrNr])
REFERENCES [dbo].[Adresse] ([AdrNr])