CREATE TABLE DEEinzelProt (
[LfdNr] [int] IDENTITY(1,1) NOT NULL,
[Benutzer] [varchar](50) NULL,
[Datum] [datetime] NULL,
[Mandant] [int] NULL,
 CONSTRAINT [PK_DEEinzelProt] PRIMARY KEY CLUSTERED
([LfdNr] ASC) ON [PRIMARY]) ON [PRIMARY]