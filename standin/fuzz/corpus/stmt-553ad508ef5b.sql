CREATE TABLE [dbo].[tblHelp](
ID INT IDENTITY (1,1) NOT NULL,
PARENTID INT NULL,
FORM varchar (50) NOT NULL,
CID varchar (50) NOT NULL,
Bezeichnung varchar (80) NOT NULL,
Memo text NOT NULL,
Notes text NULL,
Benutzer varchar (50) NOT NULL,
RadDat datetime NOT NULL,
Gruppe varchar (50) NULL,
PROGRAM varchar (5) NOT NULL)