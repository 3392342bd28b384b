-- The discovery catalogue DRAVOK: the database the tool connects to first to
-- list the tenant databases. It is itself a tenant database of the old
-- release, holding the users and their access to the club databases but no
-- club of its own. Run after schema_old_release.sql in an empty database.

INSERT INTO EINST (Mandant, ProgVersion, Datenpfad, Sicherungspfad, Waehrung, Beitragsjahr) VALUES ('Mandantenverwaltung', '2012.3', 'C:\Vereinsdaten', NULL, 'EUR', NULL)
INSERT INTO PASS (BENUTZER, PASSWORT, Name) VALUES ('ADMIN', 'weiher21', 'Systemverwalter')
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('ADMIN', 'DRAVOK01', 'J')
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('ADMIN', 'DRAVOK02', 'J')
GO
