CREATE TABLE tblDSALogin (
Benutzer varchar (30) NOT NULL,
Passwort varchar (30) NOT NULL,
Firmename varchar (30) NOT NULL)