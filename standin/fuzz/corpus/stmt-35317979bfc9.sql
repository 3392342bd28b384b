CREATE TABLE tblRechte (
[ID] [int] IDENTITY (1, 1) NOT NULL,
[BENUTZER] [varchar] (12) NOT NULL,
[RB] [int] NOT NULL,
[Bezeichnung] [varchar] (100) NOT NULL,
[Kurzname] [varchar] (50) NOT NULL,
[Ind] [char] (1) NOT NULL,
CONSTRAINT [PK_tblRechte] PRIMARY KEY CLUSTERED
([ID] ASC) ON [PRIMARY]) ON [PRIMARY]