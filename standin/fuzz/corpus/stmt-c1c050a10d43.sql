CREATE TABLE RuckLastGrund (
[Kennung] [varchar](50) NOT NULL)