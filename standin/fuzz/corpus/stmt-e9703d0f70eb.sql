CREATE TABLE dbo.F6KoStGr (
KoStGr integer NOT NULL,
Bezeichnung varchar (60) NOT NULL)