CREATE TABLE [dbo].[tblHelpGruppe](
[Kennung] [varchar] (50) NOT NULL,
[Nr] [int] NULL)