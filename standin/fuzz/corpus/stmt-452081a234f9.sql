CREATE TABLE [dbo].[tblVersion](
[Version] [varchar] (50) NOT NULL)