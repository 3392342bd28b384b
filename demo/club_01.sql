-- Sample club 1: TSV Lindenau-Weiher 1921 e.V., Augsburg (Bavaria), as an
-- old release left it. Run after schema_old_release.sql in an empty
-- database. Dates are written yyyymmdd, which every date order reads alike.
--
-- What the upgrade should meet here:
--   members paying by direct debit (Zahlungsart 'L') with membership numbers,
--   one of them (Lukas Huber) paid for by his mother through AbwAdrNr on the
--   contract, one who left (Anna Schneider), one without membership number;
--   area codes in Vorwahl; a contract of a contribution type that no longer
--   exists; bookings with empty search texts and a cash book; the old
--   four-digit tax keys 1190/1170/1070/1160; appointments with a date and a
--   time of day (one without a time); three bank slots on the club record,
--   the second with a quote in the bank name, the third padded with blanks.

INSERT INTO Mandstam (MandNr, Name1, Name2, Strasse, PLZ, Ort, Telefon, Email, Steuernummer, Finanzamt, Vorsitzender, Kassenwart, Gruendung, Bank1, Konto1, BLZ1, Fibukonto1, Bank2, Konto2, BLZ2, Fibukonto2, Bank3, Konto3, BLZ3, Fibukonto3) VALUES (1, 'TSV Lindenau-Weiher 1921 e.V.', 'Sportgelände am Weiher', 'Am Weiher 12', '86199', 'Augsburg', '0821 998877', 'info@tsv-lindenau-weiher.de', '103/123/45678', 'Augsburg-Stadt', 'Josef Huber', 'Thomas Wagner', '19210415', 'Stadtsparkasse Augsburg', '0012345678', '72050000', 1200, 'Raiffeisenbank ''Lechfeld'' eG', '0000456789', '72069329', 1210, '  Augusta-Bank eG  ', '0001234567', '72090000', NULL)
INSERT INTO EINST (Mandant, ProgVersion, Datenpfad, Sicherungspfad, Waehrung, Beitragsjahr) VALUES ('TSV Lindenau-Weiher 1921 e.V.', '2012.3', 'C:\Vereinsdaten\TSV', 'D:\Sicherung\TSV', 'EUR', 2015)
INSERT INTO F5einst (BUCHJAHR, MONAT, Kontenrahmen, Bilanzierung) VALUES (2015, 3, 'SKR 49', 'N')
GO

INSERT INTO PASS (BENUTZER, PASSWORT, Name, Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz, VORLAGE_SP) VALUES ('ADMIN', 'weiher21', 'Josef Huber', 'C:\Vereinsdaten\Vorlagen', 'C:\Vereinsdaten\Vorlagen\Serienbriefe', 'C:\Vereinsdaten\Rechnungen', 'C:\Vereinsdaten\Listen', 'C:\Vereinsdaten\Vorlagen\Spenden')
INSERT INTO PASS (BENUTZER, PASSWORT, Name, Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz, VORLAGE_SP) VALUES ('KASSE', 'kasse2015', 'Thomas Wagner', 'C:\Vereinsdaten\Vorlagen', NULL, 'C:\Vereinsdaten\Rechnungen', NULL, NULL)
INSERT INTO PASS (BENUTZER, PASSWORT, Name, Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz, VORLAGE_SP) VALUES ('SCHRIFTF', 'protokoll', 'Sabine Becker', NULL, NULL, NULL, NULL, NULL)
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('ADMIN', 'DRAVOK01', 'J')
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('KASSE', 'DRAVOK01', 'J')
INSERT INTO PASSDB (BENUTZER, Datenbank, Zugriff) VALUES ('SCHRIFTF', 'DRAVOK01', 'N')
GO

INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (1, '1001', 'Herr', 'Josef', 'Huber', 'Lindenstraße 4', '86199', 'Augsburg', 'Deutschland', '0821', '4567890', 'josef.huber@example.de', '19580611', 'M', '19720301', NULL, 'Vorsitzender', 'L', 'Stadtsparkasse Augsburg', '72050000', '0098765432', 'Josef Huber', 'ADMIN', '20020114')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (2, '1002', 'Frau', 'Maria', 'Huber', 'Lindenstraße 4', '86199', 'Augsburg', 'Deutschland', '0821', NULL, 'maria.huber@example.de', '19610923', 'W', '19850101', NULL, '', 'L', 'Stadtsparkasse Augsburg', '72050000', '0098765440', 'Maria Huber', 'ADMIN', '20020114')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (3, '1003', 'Herr', 'Lukas', 'Huber', 'Lindenstraße 4', '86199', 'Augsburg', 'Deutschland', NULL, NULL, NULL, '20030507', 'M', '20090901', NULL, NULL, 'L', NULL, NULL, NULL, NULL, 'ADMIN', '20090901')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (4, '1004', 'Frau', 'Anna', 'Schneider', 'Bgm.-Aurnhammer-Straße 31', '86199', 'Augsburg', 'Deutschland', '0821', '5512034', 'a.schneider@example.de', '19750302', 'W', '19990401', '20141231', NULL, 'L', 'Augusta-Bank eG', '72090000', '0000771234', 'Anna Schneider', 'ADMIN', '20020114')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (5, '1005', 'Herr', 'Thomas', 'Wagner', 'Inninger Straße 88', '86179', 'Augsburg', 'Deutschland', '0821', '812233', 'kasse@tsv-lindenau-weiher.de', '19670118', 'M', '19900701', NULL, 'Kassenwart', 'U', NULL, NULL, NULL, NULL, 'ADMIN', '20020114')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (6, NULL, 'Frau', 'Sabine', 'Becker', 'Bergstraße 7', '86199', 'Augsburg', 'Deutschland', NULL, '0821 903311', 'sabine.becker@example.de', '19800814', 'W', '20130115', NULL, 'Schriftführerin', 'L', 'Stadtsparkasse Augsburg', '72050000', '0011223344', 'Sabine Becker', 'SCHRIFTF', '20130115')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (7, 'J-12', 'Herr', 'Jonas', 'Fischer', 'Am Weiher 3', '86199', 'Augsburg', 'Deutschland', '08231', '604455', NULL, '20040229', 'M', '20110301', NULL, NULL, 'L', 'Raiffeisenbank Lechfeld', '72069329', '0000312233', 'Klaus Fischer', 'ADMIN', '20110301')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (8, '1008', 'Frau', 'Stefanie', 'Bauer', 'Wellenburger Straße 60', '86199', 'Augsburg', 'Deutschland', NULL, NULL, 'steffi.bauer@example.de', '19920404', 'W', '20140101', NULL, 'Übungsleiterin', 'B', NULL, NULL, NULL, NULL, 'KASSE', '20140101')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Firma1, Firma2, Firma4, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Zahlungsart, BenutzerErf, DatumErf) VALUES (9, NULL, 'Firma', 'Autohaus Müller GmbH', 'Vertragshändler', 'Herrn Geschäftsführer Peter Müller', 'Müller', 'Haunstetter Straße 205', '86161', 'Augsburg', 'Deutschland', '0821', '570570', 'p.mueller@autohaus-mueller.example', 'U', 'KASSE', '20120610')
INSERT INTO Adresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Land, Vorwahl, Telefon1, Telefon3, Geburtsdatum, Geschlecht, Eintritt, Austritt, Funktion, Zahlungsart, Bank, BLZ, KontoNr, KtoInhaber, BenutzerErf, DatumErf) VALUES (10, '1010', 'Herr', 'Franz', 'Weber', 'Königsbrunner Straße 9', '86343', 'Königsbrunn', 'Deutschland', '08231', '91827', NULL, '19490720', 'M', '19650101', NULL, 'Ehrenvorsitzender', 'L', 'Augusta-Bank eG', '72090000', '0000554433', 'Franz Weber', 'ADMIN', '20020114')
GO

INSERT INTO HyAdresse (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Vorwahl, Telefon1, Eintritt, Zahlungsart, BenutzerErf, DatumErf) VALUES (4, '1004', 'Frau', 'Anna', 'Kerner', 'Gögginger Straße 2', '86159', 'Augsburg', '0821', '5512034', '19990401', 'L', 'ADMIN', '20020114')
INSERT INTO AdresseZukunft (AdrNr, MitglNr, Anrede, Vorname, Name, Strasse, PLZ, Ort, Vorwahl, Telefon1, Zahlungsart, GueltigAb) VALUES (5, '1005', 'Herr', 'Thomas', 'Wagner', 'Bürgermeister-Wegele-Straße 14', '86167', 'Augsburg', '0821', '812233', 'U', '20150701')
INSERT INTO LogAdr (AdrNr, MitglNr, Vorname, Name, Strasse, PLZ, Ort, Telefon3, LogBenutzer, LogDatum) VALUES (2, '1002', 'Maria', 'Huber', 'Lindenstraße 4', '86199', 'Augsburg', 'maria.huber@example.de', 'ADMIN', '20140310')
INSERT INTO Inter (AdrNr, Verband, VerbandMitglNr) VALUES (1, 'Bayerischer Fußball-Verband', 'BFV-448812')
INSERT INTO Inter (AdrNr, Verband, VerbandMitglNr) VALUES (8, 'Bayerischer Turnverband', NULL)
INSERT INTO Interes (AdrNr, Interesse) VALUES (1, 'Jugendarbeit')
INSERT INTO Interes (AdrNr, Interesse) VALUES (10, 'Vereinschronik')
INSERT INTO Interes1 (AdrNr, Interesse, Bemerkung) VALUES (9, 'Sponsoring', 'Bandenwerbung Sportplatz, Vertrag bis 2016')
INSERT INTO Kontakt (AdrNr, Datum, Art, Betreff, Benutzer, WordFile) VALUES (1, '20150110', 'Brief', 'Einladung Jahreshauptversammlung', 'ADMIN', 'C:\Vereinsdaten\Briefe\Einladung_JHV_2015.doc')
INSERT INTO Kontakt (AdrNr, Datum, Art, Betreff, Benutzer, WordFile) VALUES (9, '20150202', 'Telefon', 'Verlängerung Bandenwerbung', 'KASSE', NULL)
GO

-- Appointments: one due 04.03.2015 at 09:05 (entered with a time of day on
-- the date as well), one without a time of day.
INSERT INTO W_Vorl (G_DATUM, BENUTZER, ADRNR, ZEIT, Datum, UhrZeit, Betreff, Erledigt) VALUES ('20150220', 'ADMIN', 1, '10:15', '20150304 17:00', '09:05', 'Jahreshauptversammlung vorbereiten', 'N')
INSERT INTO W_Vorl (G_DATUM, BENUTZER, ADRNR, ZEIT, Datum, UhrZeit, Betreff, Erledigt) VALUES ('20150105', 'KASSE', 4, '11:00', '20150115', NULL, 'Austritt schriftlich bestätigen', 'J')
INSERT INTO W_Vorl (G_DATUM, BENUTZER, ADRNR, ZEIT, Datum, UhrZeit, Betreff, Erledigt) VALUES ('20150220', 'KASSE', 9, '14:30', '20150601', '16:45', 'Sponsorvertrag verlängern', 'N')
GO

INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (1, 'Erwachsene', 120.00, 'jährlich', 4000, NULL)
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (2, 'Kinder und Jugendliche', 30.00, 'halbjährl.', 4000, NULL)
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (3, 'Familienbeitrag', 60.00, 'quartal', 4000, NULL)
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (4, 'Fitnesskurs', 15.00, 'monatlich', 4010, '200')
INSERT INTO MgArt (Art, Bezeichnung, Betrag, Sollstellung, KontoNr, KoSt) VALUES (5, 'Passive Mitglieder', 36.00, 'jährlich', 4000, NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (1, '1001-1', 1, 'ERWACHSENE', 120.00, 'jährlich', '19720301', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (2, '1002-1', 3, 'Familie', 60.00, 'quartal', '19850101', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (3, '1003-1', 2, 'Jugendliche', 30.00, 'halbjährl.', '20090901', NULL, 'L', 2)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (4, '1004-1', 1, 'Erwachsene', 120.00, 'jährlich', '19990401', '20141231', 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (5, '1005-1', 1, 'Erwachsene', 120.00, 'jährlich', '19900701', NULL, 'U', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (5, '1005-2', 9, 'Tennis (alt)', 80.00, 'jährlich', '19950101', '20101231', 'U', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (6, '6-1', 4, 'Fitnesskurs', 15.00, 'monatlich', '20130115', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (7, 'J-12-1', 2, 'Jugendliche', 30.00, 'halbjährl.', '20110301', NULL, 'L', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (8, '1008-1', 1, 'Erwachsene', 120.00, 'jährlich', '20140101', NULL, 'B', NULL)
INSERT INTO MgVert (AdrNr, VertragNr, Art, ArtName, Betrag, Sollstellung, VertragBegin, VertragEnde, Zahlungsart, AbwAdrNr) VALUES (10, '1010-1', 5, 'Passive', 36.00, 'jährlich', '19650101', NULL, 'L', NULL)
GO

INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (1, '1001-1', 1, 'ERWACHSENE', '20150115', 120.00, 120.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (2, '1002-1', 3, 'Familie', '20150115', 60.00, 60.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (3, '1003-1', 2, 'Jugendliche', '20150115', 30.00, 30.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (5, '1005-1', 1, 'Erwachsene', '20150115', 120.00, 0.00, 2015002, 'U')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (5, '1005-2', 9, 'Tennis (alt)', '20100115', 80.00, 80.00, 2010017, 'U')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (6, '6-1', 4, 'Fitnesskurs', '20150301', 15.00, 0.00, NULL, 'L')
INSERT INTO MgSolln (AdrNr, VertragNr, Art, ArtName, Datum, Betrag, Bezahlt, RgNr, Zahlungsart) VALUES (8, '1008-1', 1, 'Erwachsene', '20150115', 120.00, 120.00, NULL, 'B')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (1, '1001-1', '20150115', 120.00, 'Josef Huber', '72050000', '0098765432', 'Mitgliedsbeitrag 2015 Nr. 1001', 'J')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (2, '1002-1', '20150115', 60.00, 'Maria Huber', '72050000', '0098765440', 'Familienbeitrag 1. Quartal 2015', 'J')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (3, '1003-1', '20150115', 30.00, 'Maria Huber', '72050000', '0098765440', 'Jugendbeitrag 1. Halbjahr 2015 Lukas', 'J')
INSERT INTO MgLast (AdrNr, VertragNr, Datum, Betrag, Kontoinhaber, BLZ, KontoNr, Verwendungszweck, Erl) VALUES (6, '6-1', '20150301', 15.00, 'Sabine Becker', '72050000', '0011223344', 'Fitnesskurs März 2015', 'N')
INSERT INTO RECHN (RgNr, AdrNr, Datum, Faellig, Betreff, Netto, MwSt, Brutto, Bezahlt, Zahlungsart, ArtikelNr_1, Anzahl_1, Text1_1, Netto_1, MwSt_1, MwSt_Bet_1, Brutto_1, Konto1) VALUES (2015001, 9, '20150205', '20150305', 'Bandenwerbung Saison 2015', 500.00, 95.00, 595.00, 'N', 'U', 'BW-01', 1, 'Bandenwerbung Sportplatz 2015', 500.00, 19.00, 95.00, 595.00, 4400)
INSERT INTO RECHN (RgNr, AdrNr, Datum, Faellig, Betreff, Netto, MwSt, Brutto, Bezahlt, Zahlungsart, ArtikelNr_1, Anzahl_1, Text1_1, Netto_1, MwSt_1, MwSt_Bet_1, Brutto_1, Konto1) VALUES (2015002, 5, '20150115', '20150215', 'Mitgliedsbeitrag 2015', 120.00, 0.00, 120.00, 'N', 'U', NULL, 1, 'Mitgliedsbeitrag Erwachsene', 120.00, 0.00, 0.00, 120.00, 4000)
GO

-- Bookkeeping of 2015: accounts with the old tax keys, tax keys, bookings.
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 1000, 'Kasse', 'Wahr', 'C2', 'ohne Steuer', NULL, NULL, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 1200, 'Stadtsparkasse Augsburg', 'Wahr', 'C2', 'ohne Steuer', NULL, NULL, 'Wahr', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 1210, 'Raiffeisenbank Lechfeld', 'Wahr', 'C2', 'ohne Steuer', NULL, NULL, 'Wahr', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 3220, 'Spenden ideeller Bereich', '', 'A1', 'ohne Steuer', NULL, NULL, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4000, 'Mitgliedsbeiträge', '', 'A1', 'ohne Steuer', NULL, NULL, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4300, 'Erlöse Verkauf Vereinsheim 7 %', '', 'A3', 'MehrwertSteuer', 1070, 86, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4400, 'Erlöse Werbung 19 %', '', 'A3', 'MehrwertSteuer', 1190, 81, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4410, 'Erlöse Werbung (alt, 16 %)', '', 'A3', 'MehrwertSteuer', 1160, 81, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 4420, 'Erlöse Bandenwerbung (Altvertrag)', '', 'A3', 'MehrwertSteuer', 1170, 81, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 6300, 'Hallenmiete', '', 'B1', 'VorSteuer', 1190, 66, 'Falsch', 'N         ')
INSERT INTO F5Kont (BUCHJAHR, KONTONR, BEZEICHG, BILANZGUV, KENNZAHL, START, STSCHL, KENNZUSTV, Bank, Spende) VALUES (2015, 6800, 'Porto und Telefon', '', 'B1', 'ohne Steuer', 19, NULL, 'Falsch', 'N         ')
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1070, 1771, 1571, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1160, 1775, 1575, NULL, NULL, NULL)
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1170, 1775, 1575, NULL, NULL, 'alt')
INSERT INTO F5Dat (STEUERSCHL, MWSTKTO, VORST_KTO, BFG_BASIS, BFB_GGKTO, BEG) VALUES (1190, 1776, 1576, NULL, NULL, NULL)
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('GUV', 'A1', 'Ideeller Bereich Einnahmen')
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('GUV', 'A3', 'Wirtschaftlicher Geschäftsbetrieb Einnahmen')
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('GUV', 'B1', 'Ideeller Bereich Ausgaben')
INSERT INTO F5kennz (BILANZ_GUV, KENNZAHLH, BEZEICHG) VALUES ('BILANZ', 'C2', 'Kassenbestand, Guthaben bei Kreditinstituten')
INSERT INTO F6KOST (KoSt, BEZEICHG, Verantwortlich) VALUES ('100', 'Fußball', 'Josef Huber')
INSERT INTO F6KOST (KoSt, BEZEICHG, Verantwortlich) VALUES ('200', 'Turnen und Fitness', 'Stefanie Bauer')
GO

-- Bookings: empty and missing search texts, no parent links yet, a cash-book
-- booking (DIALOG_STAP 'K').
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 1, 1, '20150115', 1, 1200, 4000, 210.00, 0.00, NULL, 'Beitragseinzug Januar', NULL, NULL, 'B', 'KASSE')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 2, 1, '20150120', 2, 1000, 4300, 47.50, 0.00, 1070, 'Getränkeverkauf Vereinsheim', '', '100', 'K', 'KASSE')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 3, 1, '20150205', 3, 1200, 4400, 595.00, 0.00, 1190, 'Bandenwerbung Autohaus Müller', 'AUTOHAUS', '100', 'B', 'KASSE')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 4, 1, '20150210', 4, 6300, 1200, 238.00, 0.00, 1190, 'Hallenmiete Februar', '', '200', NULL, 'KASSE')
INSERT INTO F5BEW4 (BUCHJAHR, InterneNr, LfdNr, DATUM, BELEGNR, KONTO, GEGENKONTO, SOLL, HABEN, STSCHL, BUCHTEXT, SUCHTEXT, KOST, DIALOG_STAP, BENUTZER) VALUES (2015, 4, 2, '20150210', 4, 6300, 1200, 0.00, 38.00, 1190, 'Hallenmiete Februar Vorsteuer', NULL, '200', NULL, 'KASSE')
INSERT INTO F5bew4s (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Kassenbuch', 2015, '20150301', 5, 1000, 4300, 12.3401, 0, 'Getränkeverkauf', '100', 'KASSE')
INSERT INTO F5bew4s (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Kassenbuch', 2015, '20150302', 6, 6800, 1000, 0, 2.95, 'Briefmarken', NULL, 'KASSE')
INSERT INTO F5bew4s (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Stapel März', 2015, '20150303', 7, 1200, 4000, 15.00, NULL, 'Fitnesskurs März', '200', 'KASSE')
INSERT INTO F5bew4sg (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Kassenbuch', 2015, '20150301', 5, 1000, 4300, 12.3401, 0, 'Getränkeverkauf', '100', 'KASSE')
INSERT INTO F5bew4sg (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Stapel März', 2015, '20150303', 7, 1200, 4000, 15.00, NULL, 'Fitnesskurs März', '200', 'KASSE')
INSERT INTO F5bw4sa (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Kassenbuch', 2014, '20141215', 88, 1000, 4300, 31.20, 0, 'Weihnachtsfeier Getränke', '100', 'KASSE')
INSERT INTO F5bw4sga (Stapel, BUCHJAHR, Datum, BelegNr, Konto, Gegenkonto, Soll, Haben, Buchtext, KoSt, Benutzer) VALUES ('Kassenbuch', 2014, '20141215', 88, 1000, 4300, 31.20, 0, 'Weihnachtsfeier Getränke', '100', 'KASSE')
INSERT INTO F5Kasses (Kasse, Bezeichnung, KontoNr, KB) VALUES (1, 'Vereinsheimkasse', 1000, 'K')
INSERT INTO F5Kasses (Kasse, Bezeichnung, KontoNr, KB) VALUES (2, 'Girokonto Stadtsparkasse', 1200, 'B')
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (1, 'AUFNAHMEGEBÜHREN', 4000)
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (2, 'BEITRAG', 4000)
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (3, 'spende', 3220)
INSERT INTO F5BuText (Nr, [Text], KontoNr) VALUES (4, 'Hallenmiete', 6300)
INSERT INTO F5Sicht (BENUTZER, Sicht, Spalten) VALUES ('KASSE', 'Journal', 'DATUM;BELEGNR;KONTO;GEGENKONTO;SOLL;HABEN;BUCHTEXT')
GO

-- Directories and sports lists as the old release shipped them.
INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT) VALUES ('72050000', 1, 'Stadtsparkasse Augsburg', 'Augsburg')
INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT) VALUES ('72069329', 1, 'Raiffeisenbank Lechfeld', 'Untermeitingen')
INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT) VALUES ('72090000', 1, 'Augusta-Bank Raiffeisen-Volksbank', 'Augsburg')
INSERT INTO d_str (Nr, Strasse, PLZ, Ort) VALUES (1, 'Am Weiher', '86199', 'Augsburg')
INSERT INTO d_str (Nr, Strasse, PLZ, Ort) VALUES (2, 'Lindenstraße', '86199', 'Augsburg')
INSERT INTO d_str (Nr, Strasse, PLZ, Ort) VALUES (3, 'Inninger Straße', '86179', 'Augsburg')
INSERT INTO d_orte (Nr, PLZ, Ort) VALUES (1, '86150', 'Augsburg')
INSERT INTO d_orte (Nr, PLZ, Ort) VALUES (2, '86199', 'Augsburg')
INSERT INTO d_orte (Nr, PLZ, Ort) VALUES (3, '86343', 'Königsbrunn')
INSERT INTO Sportarten (KZ, NUMMER, SPORTART, VerbandNr) VALUES ('BLSV', '14', 'Fußball', 14)
INSERT INTO Sportarten (KZ, NUMMER, SPORTART, VerbandNr) VALUES ('BLSV', '40', 'Turnen', 40)
INSERT INTO Sportarten (KZ, NUMMER, SPORTART, VerbandNr) VALUES ('BLSV', '40', 'Gymnastik', 40)
INSERT INTO fachverbaende (KZ, NUMMER, FACHVERBAN) VALUES ('BLSV', '14', 'Bayerischer Fußball-Verband')
INSERT INTO fachverbaende (KZ, NUMMER, FACHVERBAN) VALUES ('BLSV', '40', 'Bayerischer Turnverband')
INSERT INTO SportartenV (NUMMER, SPORTART, VerbandNr, Abteilung) VALUES ('14', 'Fußball', 14, 'Fußballabteilung')
INSERT INTO SportartenV (NUMMER, SPORTART, VerbandNr, Abteilung) VALUES ('40', 'Turnen', 40, 'Turnabteilung')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (1, '14', 'Fußball', 'Bayerischer Fußball-Verband', 14, '19720301')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (3, '14', 'Fußball', 'Bayerischer Fußball-Verband', 14, '20090901')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (7, '14', 'Fußball', 'Bayerischer Fußball-Verband', 14, '20110301')
INSERT INTO AdrSArt (AdrNr, SArt, SPORTART, FACHVERBAN, VerbandNr, Seit) VALUES (8, '40', 'Turnen', 'Bayerischer Turnverband', 40, '20140101')
GO
