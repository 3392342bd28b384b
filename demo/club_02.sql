-- Sample club 2: Sportfreunde Kastanienhof 1958 e.V., Kassel (Hesse), as an
-- old release left it. Run after schema_old_release.sql in an empty
-- database. Dates are written yyyymmdd, which every date order reads alike.
--
-- Differences from club 1 that the upgrade should meet: the second bank
-- slot lacks its bank code and the third is empty (only slot 1 becomes a
-- club account); a member whose contract is paid from the account of a
-- non-member (AbwAdrNr points to an address without membership); a member
-- who left and still pays by direct debit on paper; a second user with a
-- twelve-character name; bookings only in the bank book; a member whose
-- membership number was entered with blanks around it (' 58-040 '); the
-- sports lists under the key names of an older release (PK_Sportarten_1,
-- and names of their own for the club's and the addresses' sports).
--
-- The old release bound DEFAULT constraints to some columns, named or left
-- to the server to name: flags with 'N' or 'J', amounts and numbers with 0.
-- Among them are columns whose type the upgrade changes (VerbandNr, RgNr,
-- the tax keys), which the server refuses while a default is bound, and
-- columns it only widens or reads.

ALTER TABLE dbo.Sportarten ADD CONSTRAINT DF_Sportarten_VerbandNr DEFAULT 0 FOR VerbandNr
ALTER TABLE dbo.SportartenV ADD DEFAULT 0 FOR VerbandNr
ALTER TABLE dbo.AdrSArt ADD DEFAULT 0 FOR VerbandNr
ALTER TABLE dbo.MgSolln ADD CONSTRAINT DF_MgSolln_RgNr DEFAULT 0 FOR RgNr
ALTER TABLE dbo.MgSolln ADD CONSTRAINT DF_MgSolln_Betrag DEFAULT 0 FOR Betrag
ALTER TABLE dbo.MgSolln ADD DEFAULT '' FOR ArtName
ALTER TABLE dbo.F5Kont ADD CONSTRAINT DF_F5Kont_STSCHL DEFAULT 0 FOR STSCHL
ALTER TABLE dbo.F5BEW4 ADD DEFAULT 0 FOR STSCHL
ALTER TABLE dbo.F5BEW4 ADD CONSTRAINT DF_F5BEW4_DIALOG_STAP DEFAULT 'N' FOR DIALOG_STAP
ALTER TABLE dbo.F5Dat ADD CONSTRAINT DF_F5Dat_STEUERSCHL DEFAULT 0 FOR STEUERSCHL
ALTER TABLE dbo.F5einst ADD CONSTRAINT DF_F5einst_Bilanzierung DEFAULT 'N' FOR Bilanzierung
ALTER TABLE dbo.PASSDB ADD DEFAULT 'J' FOR Zugriff
GO

INSERT INTO Mandstam (MandNr, Name1, Name2, Strasse, PLZ, Ort, Telefon, Email, Steuernummer, Finanzamt, Vorsitzender, Kassenwart, Gruendung, Bank1, Konto1, BLZ1, Fibukonto1, Bank2, Konto2, BLZ2, Fibukonto2, Bank3, Konto3, BLZ3, Fibukonto3) VALUES (1, 'Sportfreunde Kastanienhof 1958 e.V.', NULL, 'Kastanienweg 1', '34128', 'Kassel', '0561 880011', 'vorstand@sf-kastanienhof.de', '026/250/11223', 'Kassel-Hofgeismar', 'Ingrid Hoffmann', 'Peter Schäfer', '19580301', 'Kasseler Sparkasse', '0001122334', '52050353', 1200, 'Kasseler Bank eG', '0004455667', '', 1210, NULL, NULL, NULL, NULL)
INSERT INTO EINST (Mandant, ProgVersion, Datenpfad, Sicherungspfad, Waehrung, Beitragsjahr) VALUES ('Sportfreunde Kastanienhof 1958 e.V.', '2011.1', 'C:\SFK\Daten', NULL, 'EUR', 2015)
INSERT INTO F5einst (BUCHJAHR, MONAT, Kontenrahmen, Bilanzierung) VALUES (2014, 12, 'SKR 49', 'N')
INSERT INTO F5einst (BUCHJAHR, MONAT, Kontenrahmen, Bilanzierung) VALUES (2015, 1, 'SKR 49', 'N')
GO

INSERT INTO PASS (BENUTZER, PASSWORT, Name, Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz, VORLAGE_SP) VALUES ('HOFFMANN', 'kastanie58', 'Ingrid Hoffmann', 'C:\SFK\Vorlagen', 'C:\SFK\Vorlagen', 'C:\SFK\Rechnungen', 'C:\SFK\Listen', NULL)
INSERT INTO PASS (BENUTZER, PASSWORT, Name, Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz, VORLAGE_SP) VALUES ('SCHAEFERPETE', 'kasse', 'Peter Schäfer', NULL, NULL, 'C:\SFK\Rechnungen', NULL, NULL)
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('HOFFMANN', 'DRAVOK02', 'J')
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('SCHAEFERPETE', 'DRAVOK02', 'J')
GO

INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (101, '58-001', 'Frau', 'Ingrid', 'Hoffmann', 'Kastanienweg 5', '34128', 'Kassel', 'Deutschland', '0561', '881234', 'ingrid.hoffmann@example.de', '19530217', 'W', '19700101', NULL, 'Vorsitzende', 'L', 'Kasseler Sparkasse', '52050353', '0000112233', 'Ingrid Hoffmann', 'HOFFMANN', '20050301')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (102, '58-002', 'Herr', 'Peter', 'Schäfer', 'Wolfhager Straße 140', '34127', 'Kassel', 'Deutschland', '0561', '83377', 'p.schaefer@example.de', '19660930', 'M', '19880501', NULL, 'Kassenwart', 'L', 'Kasseler Bank eG', '52090000', '0003344556', 'Peter Schäfer', 'HOFFMANN', '20050301')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (103, '58-017', 'Frau', 'Lea', 'Schmidt', 'Holländische Straße 22', '34127', 'Kassel', 'Deutschland', NULL, NULL, NULL, '20060812', 'W', '20120801', NULL, NULL, 'L', NULL, NULL, NULL, NULL, 'SCHAEFERPETE', '20120801')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (108, ' 58-040 ', 'Frau', 'Sophie', 'Wolf', 'Goethestraße 31', '34119', 'Kassel', 'Deutschland', NULL, NULL, 'sophie.wolf@example.de', '19990704', 'W', '20150201', NULL, NULL, 'L', 'Kasseler Sparkasse', '52050353', '0000998877', 'Sophie Wolf', 'HOFFMANN', '20150201')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (104, NULL, 'Herr', 'Michael', 'Schmidt', 'Holländische Straße 22', '34127', 'Kassel', 'Deutschland', '0561', '7390021', 'michael.schmidt@example.de', '19760404', 'M', NULL, NULL, NULL, NULL, 'Kasseler Sparkasse', '52050353', '0007788990', 'Michael Schmidt', 'SCHAEFERPETE', '20120801')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (105, '58-009', 'Herr', 'Günter', 'Koch', 'Frankfurter Straße 301', '34134', 'Kassel', 'Deutschland', '0561', '4099871', NULL, '19410105', 'M', '19620101', '20131231', 'Platzwart', 'L', 'Kasseler Sparkasse', '52050353', '0000998877', 'Günter Koch', 'HOFFMANN', '20050301')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (106, '58-021', 'Frau', 'Julia', 'Richter', 'Baunsbergstraße 8', '34131', 'Kassel', 'Deutschland', '0561', '312200', 'julia.richter@example.de', '19890619', 'W', '20140301', NULL, 'Übungsleiterin', 'U', NULL, NULL, NULL, NULL, 'SCHAEFERPETE', '20140301')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (107, '58-030', 'Herr', 'Mehmet', 'Yilmaz', 'Leipziger Straße 77', '34123', 'Kassel', 'Deutschland', '05608', '4411', NULL, '19950210', 'M', '20150101', NULL, NULL, 'L', 'Kasseler Sparkasse', '52050353', '0001239876', 'Mehmet Yilmaz', 'SCHAEFERPETE', '20150101')
GO

INSERT INTO Inter (AdrNr, Verband, VerbandMitglNr) VALUES (101, 'Hessischer Fußball-Verband', 'HFV-0112')
INSERT INTO Interes (AdrNr, Interesse) VALUES (104, 'Helfer Sportfest')
INSERT INTO Kontakt (AdrNr, Datum, Art, Betreff, Benutzer, WordFile) VALUES (105, '20131115', 'Brief', 'Austrittsbestätigung', 'HOFFMANN', 'C:\SFK\Briefe\Austritt_Koch.doc')
INSERT INTO W_Vorl (G_DATUM, BENUTZER, ADRNR, ZEIT, Datum, UhrZeit, Betreff, Erledigt) VALUES ('20150107', 'HOFFMANN', 101, '08:30', '20150112', '18:30', 'Vorstandssitzung', 'N')
INSERT INTO W_Vorl (G_DATUM, BENUTZER, ADRNR, ZEIT, Datum, UhrZeit, Betreff, Erledigt) VALUES ('20150107', 'HOFFMANN', 107, '08:45', '20150131', '10:00', 'Neumitglied begrüßen', 'N')
GO

INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (1, 'Erwachsene', 96.00, 'jährlich', 4000, NULL)
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (2, 'Jugend', 48.00, 'jährlich', 4000, NULL)
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (3, 'Rentner', 8.00, 'monatlich', 4000, NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (101, 'V58-001', 1, 'Erwachsene', 96.00, 'jährlich', '19700101', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (102, 'V58-002', 1, 'Erwachsene', 96.00, 'jährlich', '19880501', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (103, 'V58-017', 2, 'Jugend', 48.00, 'jährlich', '20120801', NULL, 'L', 104)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (105, 'V58-009', 3, 'Senioren', 8.00, 'monatlich', '19620101', '20131231', 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (106, 'V58-021', 1, 'Erwachsene', 96.00, 'jährlich', '20140301', NULL, 'U', 0)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (107, 'V58-030', 1, 'Erwachsene', 96.00, 'jährlich', '20150101', NULL, 'L', NULL)
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (101, 'V58-001', 1, 'Erwachsene', '20150201', 96.00, 96.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (103, 'V58-017', 2, 'Jugend', '20150201', 48.00, 48.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (106, 'V58-021', 1, 'Erwachsene', '20150201', 96.00, 0.00, 15004, 'U')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (101, 'V58-001', '20150201', 96.00, 'Ingrid Hoffmann', '52050353', '0000112233', 'Beitrag 2015 Mitglied 58-001', 'J')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (103, 'V58-017', '20150201', 48.00, 'Michael Schmidt', '52050353', '0007788990', 'Jugendbeitrag 2015 Lea Schmidt', 'J')
INSERT INTO RECHN (RgNr, AdrNr, Datum, Faellig, Betreff, Netto, MwSt, Brutto, Bezahlt, Zahlungsart, ArtikelNr_1, Anzahl_1, Text1_1, Netto_1, MwSt_1, MwSt_Bet_1, Brutto_1, Konto1) VALUES (15004, 106, '20150201', '20150301', 'Mitgliedsbeitrag 2015', 96.00, 0.00, 96.00, 'N', 'U', NULL, 1, 'Beitrag Erwachsene 2015', 96.00, 0.00, 0.00, 96.00, 4000)
GO

INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 1200, 'Kasseler Sparkasse', 'Wahr', 'C2', 'ohne Steuer', NULL, NULL, 'Wahr', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 3220, 'Spenden', '', 'A1', 'ohne Steuer', NULL, NULL, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4000, 'Mitgliedsbeiträge', '', 'A1', 'ohne Steuer', NULL, NULL, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4300, 'Erlöse Sportfest 7 %', '', 'A3', 'MehrwertSteuer', 1070, 86, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4400, 'Erlöse Trikotwerbung 19 %', '', 'A3', 'MehrwertSteuer', 1190, 81, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2014, 4400, 'Erlöse Trikotwerbung 19 %', '', 'A3', 'MehrwertSteuer', 1190, 81, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 6400, 'Sportgeräte', '', 'B1', 'VorSteuer', 1160, 66, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 6410, 'Vereinsbekleidung (Altbestand)', '', 'B1', 'VorSteuer', 1170, 66, 'Falsch', 'N         ')
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1070, 1771, 1571, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1160, 1775, 1575, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1170, 1775, 1575, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1190, 1776, 1576, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (0, NULL, NULL, NULL, NULL, 'frei')
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('GUV', 'A1', 'Ideeller Bereich Einnahmen')
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('BILANZ', 'C2', 'Guthaben bei Kreditinstituten')
INSERT INTO F6KOST (KoSt, BEZEICHG, Verantwortlich) VALUES ('10', 'Fußball Senioren', 'Peter Schäfer')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 1, 1, '20150201', 1, 1200, 4000, 144.00, 0.00, NULL, 'Beitragseinzug Februar', '', NULL, 'B', 'SCHAEFERPETE')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 2, 1, '20150210', 2, 6400, 1200, 119.00, 0.00, 1190, 'Bälle und Hütchen', NULL, '10', 'B', 'SCHAEFERPETE')
INSERT INTO F5bew4s (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Bankbuch', 2015, '20150212', 3, 1200, 3220, 50.005, 0, 'Spende Sportfest', NULL, 'SCHAEFERPETE')
INSERT INTO F5bew4sg (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Bankbuch', 2015, '20150212', 3, 1200, 3220, -1.234, 1.231, 'Rundungsprobe', NULL, 'SCHAEFERPETE')
INSERT INTO F5Kasses (Kasse, Bezeichnung, KontoNr, KB) VALUES (1, 'Girokonto Sparkasse', 1200, 'K')
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (1, 'Beitrag', 4000)
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (2, 'SPENDE', 3220)
GO

INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT) VALUES ('52050353', 1, 'Kasseler Sparkasse', 'Kassel')
INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT) VALUES ('52090000', 1, 'Kasseler Bank', 'Kassel')
INSERT INTO d_str (Nr, Strasse, PLZ, Ort) VALUES (1, 'Kastanienweg', '34128', 'Kassel')
INSERT INTO d_orte (Nr, PLZ, Ort) VALUES (1, '34128', 'Kassel')
INSERT INTO d_orte (Nr, PLZ, Ort) VALUES (2, '34127', 'Kassel')
INSERT INTO Sportarten (KZ, NUMMER, SPORTART, VerbandNr) VALUES ('LSB Hessen', '7', 'Fußball', 7)
INSERT INTO Sportarten (KZ, NUMMER, SPORTART, VerbandNr) VALUES ('LSB Hessen', '21', 'Leichtathletik', 21)
INSERT INTO fachverbaende (KZ, NUMMER, FACHVERBAN) VALUES ('LSB Hessen', '7', 'Hessischer Fußball-Verband')
INSERT INTO fachverbaende (KZ, NUMMER, FACHVERBAN) VALUES ('LSB Hessen', '21', 'Hessischer Leichtathletik-Verband')
INSERT INTO SportartenV (NUMMER, SPORTART, VerbandNr, Abteilung) VALUES ('7', 'Fußball', 7, 'Fußball')
INSERT INTO SportartenV (NUMMER, SPORTART, VerbandNr, Abteilung) VALUES ('21', 'Leichtathletik', 21, 'Leichtathletik')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (101, '7', 'Fußball', 'Hessischer Fußball-Verband', 7, '19700101')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (103, '21', 'Leichtathletik', 'Hessischer Leichtathletik-Verband', 21, '20120801')
INSERT INTO tmpKSBja (Benutzer, Fachverband, Skz2, Maennlich, Weiblich) VALUES ('HOFFMANN', '7', '07', 48, 3)
INSERT INTO tmpKSBjaList (Benutzer, Skz2, Fachverband, Bezeichnung) VALUES ('HOFFMANN', '07', '7', 'Hessischer Fußball-Verband')
GO

-- The key names of an older release.
ALTER TABLE dbo.Sportarten DROP CONSTRAINT PK_Sportarten
ALTER TABLE dbo.Sportarten ADD CONSTRAINT PK_Sportarten_1 PRIMARY KEY CLUSTERED (KZ, NUMMER, LfdNr)
ALTER TABLE dbo.SportartenV DROP CONSTRAINT PK_SportartenV
ALTER TABLE dbo.SportartenV ADD CONSTRAINT PK_SportartV PRIMARY KEY CLUSTERED (NUMMER)
ALTER TABLE dbo.AdrSArt DROP CONSTRAINT PK_AdrSArt
ALTER TABLE dbo.AdrSArt ADD CONSTRAINT PK_AdressenSportarten PRIMARY KEY CLUSTERED (AdrNr, SArt)
GO
