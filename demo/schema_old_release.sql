-- The tenant schema of an old release of the club administration, as the
-- upgrade finds it: every table and column that the upgrade reads, alters,
-- fills or relies on without creating it, with the types an older release
-- had, plus the columns a club database of that kind plainly carries.
-- Nothing the upgrade adds is here (no IBAN1..3 on the addresses, no Klasse
-- or LfdNr on F5Dat, no VerbandNr on Inter, no Kn on fachverbaende, ...):
-- each of its add-column calls must find its column missing.
--
-- Run it in an empty database; batches are separated by GO lines.
--
-- Which statements of the upgrade need which table (stage, block):
--
-- Mandstam      I settings: one-letter settings and VereinUebUntgliedAbt added;
--               I federations: LSB and FibuKost added, FibuKost filled.
--               II opening: GlaeubigerId, IBAN1, BIC1, VerwZw1r..4r added.
--               II bank accounts: slots Bank1..3, Konto1..3, BLZ1..3,
--               Fibukonto1..3 of the first row read to fill MandKonten
--               (blanks trimmed, quotes not doubled); BankKontoFuerendeNull.
--               II help/version: Online1..3, IBAN2..3, BIC2..3 added; the
--               slots read again to rebuild MandKonten.
--               II bank directory: Zertifikat, ElsterPIN. II DSA:
--               VereinOhneOnlKonten. II SEPA: SEPAErstTage/SEPAFolgeTage
--               added and defaulted; GlaeubigerId widened to 35.
-- Adresse       I settings: IBAN1..3, BIC1..3, Vorwahl2..4 added; AdrNr (int,
--               primary key) referenced by FK_AdrFunktion_Adresse; Funktion
--               (varchar(80)) copied into AdrFunktion.
--               I clean-ups: Vorwahl merged into Telefon1, then cleared.
--               I federations: Firma4 widened to varchar(100).
--               II opening: Telefon3 widened to 240 (silent); DtOfSgntr,
--               SEPA_FE, AdrNrKIH added. II bank directory: mandatsrefenz.
--               II DSA: DSA columns added. II SEPA: EinzugLastMandLiegtVor,
--               *KIH, AbwKtoInhCB added; Strasse, PLZ, Ort, Telefon3 read for
--               the contract account holders; mandatsrefenz derived from
--               AdrNr and MitglNr; Zahlungsart='L' flagged; BIC1 corrected.
--               II mandates: AdrNr, MitglNr, mandatsrefenz, IBAN1, BIC1,
--               Austritt, Zahlungsart, AbwKtoInhCB select the members.
--               III entry: Eintritt and Austritt indexed. III chart:
--               DSASportArt widened.
-- HyAdresse     I settings: IBAN1..3, BIC1..3, Vorwahl2..4 added.
--               II opening: Telefon3 widened (silent).
-- AdresseZukunft II opening: Telefon3 widened, unguarded: must exist.
-- LogAdr        II opening: Telefon3 widened (silent).
-- Inter         I settings: Nr, Landesverband, VerbandNr added (as inter and
--               Inter). III entry: VerbandNr widened (as INTER), unguarded.
-- Interes       I settings: "Eintritt ", "Austritt ", "Status " added.
-- Interes1      I settings: Nr, Datum added.
-- F5Kont        I settings: Steuersammelkonto added; STSCHL (smallint)
--               renumbered 1190/1170/1070/1160 -> 19/17/7/16 on every run.
--               I P&L keys: KennzEUR. I federations: KoSt.
--               II bank accounts: Spende set 'J' for KONTONR 3220 (as F5kont).
--               III fixed assets: DatevAuto. Finishing pass: STSCHL widened.
-- F5Dat         I settings: Klasse added; its creation adds LfdNr (identity),
--               drops PK_F5DAT (unguarded: the key must have that name) and
--               keys (STEUERSCHL, LfdNr); STEUERSCHL renumbered.
--               Finishing pass: PK_F5DAT rebuilt around a widened STEUERSCHL.
-- F6KOST        I settings: Kostenart, Etat. I P&L keys: the 24 month columns.
--               I clean-ups: EtatE, EtatK.
-- F5BEW4        I settings: Parent added. I clean-ups: indexes on (BUCHJAHR,
--               InterneNr, SUCHTEXT), (LfdNr), (Parent); empty SuchText set to
--               'HAUPT', NULL Parent to -1; DIALOG_STAP 'K' -> 'B' (as F5bew4).
-- F5kennz       I P&L keys: FK_F5kennzD_F5kennz references its key
--               (BILANZ_GUV varchar(6), KENNZAHLH varchar(4)).
-- SportartenV   I clean-ups: LV added. II DSA: DSAFach added. II SEPA:
--               SPORTART widened (reported). III entry: VerbandNr widened
--               (unguarded); once: LfdNr identity added, its primary key
--               dropped whatever its name, NUMMER made varchar(20) NOT NULL,
--               PK_SportartenV on LfdNr; SPORTART widened (unguarded).
-- F5Kasses      I clean-ups: KB 'K' -> 'B'. II SEPA: BlgNumNichtAutoHZ.
-- F5bew4s       I clean-ups: Stapel 'Kassenbuch' -> 'Bankbuch'. III entry:
--               Soll and Haben rounded up to cents (unguarded).
--               III fixed assets: Betrag, Kontoart, Soll_Haben.
-- F5bew4sg      as F5bew4s (rounding too); II bank accounts: Verzicht;
--               II SEPA: Druck; III: DATEVDatum, BetragDerGutschrift.
-- F5bw4sga      I clean-ups: Stapel. II: Verzicht, Druck. III: DATEVDatum,
--               BetragDerGutschrift.
-- F5bw4sa       I clean-ups: Stapel. III fixed assets: Betrag, Kontoart,
--               Soll_Haben.
-- PASS          I clean-ups: AutoDatSichDeaktiv added and filled.
--               I federations: Vorlage_V, Vorl_SB_V, Rechn_Ver, Liste_Verz,
--               VORLAGE_SP widened to 240 (as Pass), unguarded.
--               II help: HelpAend. III fixed assets: EMail, Verwalter;
--               BENUTZER (varchar(12), not null) copied into tblRechte.
-- F5BuText      I clean-ups: [Text] 'AUFNAHMEGEBÜHREN', 'BEITRAG', 'SPENDE'
--               rewritten in mixed case. III: SollHaben; Kontoart (as F5butext).
-- d_str, d_orte I federations: PK_d_str / PK_d_orte on Nr (NOT NULL, unique).
-- Kontakt       I federations: WordFile widened to 240, unguarded.
-- W_Vorl        I federations: DatumVon, DatumBis added and computed from
--               Datum and UhrZeit. III entry (as W_vorl): LfdNrN marker;
--               PK_W_vorl dropped and rebuilt on (G_DATUM, BENUTZER, ADRNR,
--               ZEIT, LfdNr): those must be NOT NULL and unique together.
-- RECHN         II opening: e-mail columns, invoice lines 11 to 15 (lines 1
--               to 10 are here), Abteilung (as Rechn). II SEPA: Prenotified,
--               DatumPren, DatumBankeinzug, MandatsNr, SEPAXML, GUID, AssBeitID.
-- MgVert        II opening: RgNr. II DSA: ArtName filled from MgArt through
--               Art (unguarded). II SEPA: Prenotifikation, AbwKontoInh, *KIH
--               added and filled through AbwAdrNr; due-date columns.
--               III entry: fFalligkeitDatum reads AdrNr, VertragNr, Art,
--               Sollstellung, VertragBegin, VertragEnde.
-- MgSolln       II opening: AdrNrRg. II DSA: ArtName widened to 120 and
--               filled (unguarded). II SEPA: mandate and XML columns,
--               FalligkeitDatum, AssBeitID; RgNr made VARCHAR(10).
--               III entry: ArtName refreshed (unguarded).
-- MgArt         II DSA and III entry: Art and Bezeichnung read.
--               II SEPA (as Mgart): due-date columns added.
-- MgLast        II bank accounts: Bankkonto, BankBLZ, BankFibuKonto.
--               II SEPA: mandate, XML, IndSepa, FalligkeitDatum columns.
-- F5Sicht       II bank accounts: Verzicht_G.
-- d_blz         II bank directory: BLZ (NOT NULL, no key yet), LfdNr, BANK,
--               ORT must be there; 20 columns and the identity ID are added,
--               the rows deleted, BANK and Ort widened (unguarded: not
--               indexed), PK_D_BLZ on (BLZ, ID). III chart: reloaded.
-- EINST         II SEPA: mRef, Firma4Vor, MaxAnzLastProXmlDatei,
--               AutoShowFalligBeitrag. III: Kn5a, SEPAVersion, Anlage3 (as
--               Einst), GuVSKR49, GuV49.
-- AdrSArt       II SEPA: SPORTART widened (as ADRSART, reported).
--               III entry: VerbandNr (as AdrSART) and FACHVERBAN widened
--               (unguarded); once: LfdNr identity added, primary key dropped
--               whatever its name, SArt made VARCHAR(20) NOT NULL,
--               PK_AdrSArt on (AdrNr, SArt, LfdNr).
-- Sportarten    III entry: VerbandNr and SPORTART widened (unguarded); once:
--               emptied, PK_Sportarten dropped, NUMMER and KZ made NOT NULL,
--               LfdNr dropped and re-added, loaded positionally, so the
--               columns must be exactly KZ, NUMMER, SPORTART, VerbandNr,
--               LfdNr. III chart: three federations reloaded.
-- fachverbaende III entry: Kn added, FACHVERBAN widened; once: emptied,
--               PK_fachverbaende dropped, KZ and NUMMER made NOT NULL, LfdNr
--               dropped and re-added: the columns must be exactly KZ,
--               NUMMER, FACHVERBAN, LfdNr before Kn is appended.
--               III chart: reloaded (partly, then wholly).
-- tmpKSBja, tmpKSBjaList
--               III entry, once: Fachverband and Skz2 widened, unguarded.
-- F5einst       III fixed assets: MONATBIS added and filled from MONAT.
-- PASSDB        III chart: DSA, DOSB1..4 flag columns added.
--
-- Created by the upgrade itself and therefore absent here: AdrFunktion,
-- F5kennzD, GuVKennz, GuVKennzD, the fourteen template tables, F6KoStGr,
-- tblLSB, tblBeitassProt, tmpJournal, MgUeberw, MgKontoUms, MgUeberwVorl,
-- MandKonten, MgBuText, tblHelp, tblHelpGruppe, tblVersion, SEPA_Protokol,
-- SEPA_ProtokolS, OnlKontAnm, tmpMgKontoUms, tblOnlLog, OnlKontoStand,
-- tblDSA7, tblDSALogin, DSAFachverband, tblDSAExport, AdrSepa, AdrSepaVer,
-- RuckLastGrund, Anlagegut, Anlagetabelle, AnlageAbschr, tblBriefEinst,
-- DEEinzelProt, DEEinzelProtS, tblRechte, GuVKennz49, GuVKennz49D,
-- F5SKR49, F5DatSKR49, VerbSportArt, UpdS and fFalligkeitDatum.

-- Club master record (one row) and program settings ----------------------

CREATE TABLE dbo.Mandstam (
    MandNr int NOT NULL,
    Name1 varchar(60) NULL,
    Name2 varchar(60) NULL,
    Strasse varchar(40) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL,
    Telefon varchar(40) NULL,
    Email varchar(80) NULL,
    Steuernummer varchar(20) NULL,
    Finanzamt varchar(40) NULL,
    Vorsitzender varchar(60) NULL,
    Kassenwart varchar(60) NULL,
    Gruendung datetime NULL,
    Bank1 varchar(60) NULL,
    Konto1 varchar(15) NULL,
    BLZ1 varchar(10) NULL,
    Fibukonto1 int NULL,
    Bank2 varchar(60) NULL,
    Konto2 varchar(15) NULL,
    BLZ2 varchar(10) NULL,
    Fibukonto2 int NULL,
    Bank3 varchar(60) NULL,
    Konto3 varchar(15) NULL,
    BLZ3 varchar(10) NULL,
    Fibukonto3 int NULL,
    CONSTRAINT PK_Mandstam PRIMARY KEY CLUSTERED (MandNr)
)
GO

CREATE TABLE dbo.EINST (
    Mandant varchar(60) NULL,
    ProgVersion varchar(20) NULL,
    Datenpfad varchar(240) NULL,
    Sicherungspfad varchar(240) NULL,
    Waehrung varchar(3) NULL,
    Beitragsjahr smallint NULL
)
GO

CREATE TABLE dbo.F5einst (
    BUCHJAHR smallint NOT NULL,
    MONAT smallint NULL,
    Kontenrahmen varchar(20) NULL,
    Bilanzierung char(1) NULL,
    CONSTRAINT PK_F5einst PRIMARY KEY CLUSTERED (BUCHJAHR)
)
GO

-- Users and their per-database rows ---------------------------------------

CREATE TABLE dbo.PASS (
    BENUTZER varchar(12) NOT NULL,
    PASSWORT varchar(20) NULL,
    Name varchar(60) NULL,
    Vorlage_V varchar(100) NULL,
    Vorl_SB_V varchar(100) NULL,
    Rechn_Ver varchar(100) NULL,
    Liste_Verz varchar(100) NULL,
    VORLAGE_SP varchar(100) NULL,
    CONSTRAINT PK_PASS PRIMARY KEY CLUSTERED (BENUTZER)
)
GO

CREATE TABLE dbo.PASSDB (
    BENUTZER varchar(12) NOT NULL,
    Datenbank varchar(50) NOT NULL,
    Zugriff char(1) NULL,
    CONSTRAINT PK_PASSDB PRIMARY KEY CLUSTERED (BENUTZER, Datenbank)
)
GO

-- Addresses and their three copies of the same layout ----------------------

CREATE TABLE dbo.Adresse (
    AdrNr int NOT NULL,
    MitglNr varchar(15) NULL,
    Anrede varchar(20) NULL,
    Titel varchar(30) NULL,
    Vorname varchar(30) NULL,
    Name varchar(40) NULL,
    Firma1 varchar(40) NULL,
    Firma2 varchar(40) NULL,
    Firma3 varchar(40) NULL,
    Firma4 varchar(40) NULL,
    Strasse varchar(40) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL,
    Land varchar(30) NULL,
    Vorwahl varchar(10) NULL,
    Telefon1 varchar(40) NULL,
    Telefon2 varchar(40) NULL,
    Telefon3 varchar(80) NULL,
    Telefon4 varchar(40) NULL,
    Telefon5 varchar(40) NULL,
    Telefon6 varchar(40) NULL,
    Geburtsdatum datetime NULL,
    Geschlecht char(1) NULL,
    Eintritt datetime NULL,
    Austritt datetime NULL,
    Funktion varchar(80) NULL,
    Zahlungsart char(1) NULL,
    Bank varchar(60) NULL,
    BLZ varchar(10) NULL,
    KontoNr varchar(15) NULL,
    KtoInhaber varchar(50) NULL,
    Bemerkung varchar(250) NULL,
    BenutzerErf varchar(12) NULL,
    DatumErf datetime NULL,
    CONSTRAINT PK_Adresse PRIMARY KEY CLUSTERED (AdrNr)
)
GO

CREATE TABLE dbo.HyAdresse (
    AdrNr int NOT NULL,
    MitglNr varchar(15) NULL,
    Anrede varchar(20) NULL,
    Titel varchar(30) NULL,
    Vorname varchar(30) NULL,
    Name varchar(40) NULL,
    Firma1 varchar(40) NULL,
    Firma2 varchar(40) NULL,
    Firma3 varchar(40) NULL,
    Firma4 varchar(40) NULL,
    Strasse varchar(40) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL,
    Land varchar(30) NULL,
    Vorwahl varchar(10) NULL,
    Telefon1 varchar(40) NULL,
    Telefon2 varchar(40) NULL,
    Telefon3 varchar(80) NULL,
    Telefon4 varchar(40) NULL,
    Telefon5 varchar(40) NULL,
    Telefon6 varchar(40) NULL,
    Geburtsdatum datetime NULL,
    Geschlecht char(1) NULL,
    Eintritt datetime NULL,
    Austritt datetime NULL,
    Funktion varchar(80) NULL,
    Zahlungsart char(1) NULL,
    Bank varchar(60) NULL,
    BLZ varchar(10) NULL,
    KontoNr varchar(15) NULL,
    KtoInhaber varchar(50) NULL,
    Bemerkung varchar(250) NULL,
    BenutzerErf varchar(12) NULL,
    DatumErf datetime NULL
)
GO

CREATE TABLE dbo.AdresseZukunft (
    AdrNr int NOT NULL,
    MitglNr varchar(15) NULL,
    Anrede varchar(20) NULL,
    Titel varchar(30) NULL,
    Vorname varchar(30) NULL,
    Name varchar(40) NULL,
    Firma1 varchar(40) NULL,
    Firma2 varchar(40) NULL,
    Firma3 varchar(40) NULL,
    Firma4 varchar(40) NULL,
    Strasse varchar(40) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL,
    Land varchar(30) NULL,
    Vorwahl varchar(10) NULL,
    Telefon1 varchar(40) NULL,
    Telefon2 varchar(40) NULL,
    Telefon3 varchar(80) NULL,
    Telefon4 varchar(40) NULL,
    Telefon5 varchar(40) NULL,
    Telefon6 varchar(40) NULL,
    Geburtsdatum datetime NULL,
    Geschlecht char(1) NULL,
    Eintritt datetime NULL,
    Austritt datetime NULL,
    Funktion varchar(80) NULL,
    Zahlungsart char(1) NULL,
    Bank varchar(60) NULL,
    BLZ varchar(10) NULL,
    KontoNr varchar(15) NULL,
    KtoInhaber varchar(50) NULL,
    Bemerkung varchar(250) NULL,
    BenutzerErf varchar(12) NULL,
    DatumErf datetime NULL,
    GueltigAb datetime NULL
)
GO

CREATE TABLE dbo.LogAdr (
    AdrNr int NOT NULL,
    MitglNr varchar(15) NULL,
    Anrede varchar(20) NULL,
    Titel varchar(30) NULL,
    Vorname varchar(30) NULL,
    Name varchar(40) NULL,
    Firma1 varchar(40) NULL,
    Firma2 varchar(40) NULL,
    Firma3 varchar(40) NULL,
    Firma4 varchar(40) NULL,
    Strasse varchar(40) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL,
    Land varchar(30) NULL,
    Vorwahl varchar(10) NULL,
    Telefon1 varchar(40) NULL,
    Telefon2 varchar(40) NULL,
    Telefon3 varchar(80) NULL,
    Telefon4 varchar(40) NULL,
    Telefon5 varchar(40) NULL,
    Telefon6 varchar(40) NULL,
    Geburtsdatum datetime NULL,
    Geschlecht char(1) NULL,
    Eintritt datetime NULL,
    Austritt datetime NULL,
    Funktion varchar(80) NULL,
    Zahlungsart char(1) NULL,
    Bank varchar(60) NULL,
    BLZ varchar(10) NULL,
    KontoNr varchar(15) NULL,
    KtoInhaber varchar(50) NULL,
    Bemerkung varchar(250) NULL,
    BenutzerErf varchar(12) NULL,
    DatumErf datetime NULL,
    LogBenutzer varchar(12) NULL,
    LogDatum datetime NULL
)
GO

-- Federation memberships and interests of an address -----------------------

CREATE TABLE dbo.Inter (
    AdrNr int NOT NULL,
    Verband varchar(60) NOT NULL,
    VerbandMitglNr varchar(20) NULL,
    CONSTRAINT PK_Inter PRIMARY KEY CLUSTERED (AdrNr, Verband)
)
GO

CREATE TABLE dbo.Interes (
    AdrNr int NOT NULL,
    Interesse varchar(60) NOT NULL,
    CONSTRAINT PK_Interes PRIMARY KEY CLUSTERED (AdrNr, Interesse)
)
GO

CREATE TABLE dbo.Interes1 (
    AdrNr int NOT NULL,
    Interesse varchar(60) NOT NULL,
    Bemerkung varchar(250) NULL
)
GO

CREATE TABLE dbo.Kontakt (
    LfdNr int IDENTITY(1,1) NOT NULL,
    AdrNr int NOT NULL,
    Datum datetime NULL,
    Art varchar(20) NULL,
    Betreff varchar(100) NULL,
    Benutzer varchar(12) NULL,
    WordFile varchar(100) NULL,
    CONSTRAINT PK_Kontakt PRIMARY KEY CLUSTERED (LfdNr)
)
GO

-- Follow-up appointments: created on G_DATUM at ZEIT by BENUTZER for ADRNR,
-- due on Datum at the time of day of UhrZeit.
CREATE TABLE dbo.W_Vorl (
    G_DATUM datetime NOT NULL,
    BENUTZER varchar(12) NOT NULL,
    ADRNR int NOT NULL,
    ZEIT datetime NOT NULL,
    LfdNr int IDENTITY(1,1) NOT NULL,
    Datum datetime NULL,
    UhrZeit datetime NULL,
    Betreff varchar(100) NULL,
    Erledigt char(1) NULL,
    CONSTRAINT PK_W_vorl PRIMARY KEY CLUSTERED (G_DATUM, BENUTZER, ADRNR, ZEIT)
)
GO

-- Contributions: types, contracts, claims, direct debits, invoices ---------

CREATE TABLE dbo.MgArt (
    Art smallint NOT NULL,
    Bezeichnung varchar(50) NULL,
    Betrag numeric(19,8) NULL,
    Sollstellung varchar(10) NULL,
    KontoNr int NULL,
    KoSt varchar(10) NULL,
    CONSTRAINT PK_MgArt PRIMARY KEY CLUSTERED (Art)
)
GO

CREATE TABLE dbo.MgVert (
    AdrNr int NOT NULL,
    VertragNr varchar(10) NOT NULL,
    Art smallint NULL,
    ArtName varchar(50) NULL,
    Betrag numeric(19,8) NULL,
    Sollstellung varchar(10) NULL,
    VertragBegin datetime NULL,
    VertragEnde datetime NULL,
    Zahlungsart char(1) NULL,
    AbwAdrNr int NULL,
    Bemerkung varchar(100) NULL,
    CONSTRAINT PK_MgVert PRIMARY KEY CLUSTERED (AdrNr, VertragNr)
)
GO

CREATE TABLE dbo.MgSolln (
    LfdNr int IDENTITY(1,1) NOT NULL,
    AdrNr int NOT NULL,
    VertragNr varchar(10) NULL,
    Art smallint NULL,
    ArtName varchar(50) NULL,
    Datum datetime NULL,
    Betrag numeric(19,8) NULL,
    Bezahlt numeric(19,8) NULL,
    RgNr int NULL,
    Zahlungsart char(1) NULL,
    CONSTRAINT PK_MgSolln PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.MgLast (
    LfdNr int IDENTITY(1,1) NOT NULL,
    AdrNr int NOT NULL,
    VertragNr varchar(10) NULL,
    Datum datetime NULL,
    Betrag numeric(19,8) NULL,
    Kontoinhaber varchar(50) NULL,
    BLZ varchar(10) NULL,
    KontoNr varchar(15) NULL,
    Verwendungszweck varchar(54) NULL,
    Erl char(1) NULL,
    CONSTRAINT PK_MgLast PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.RECHN (
    RgNr int NOT NULL,
    AdrNr int NOT NULL,
    Datum datetime NULL,
    Faellig datetime NULL,
    Betreff varchar(60) NULL,
    Netto numeric(19,8) NULL,
    MwSt numeric(19,8) NULL,
    Brutto numeric(19,8) NULL,
    Bezahlt char(1) NULL,
    Zahlungsart char(1) NULL,
    ArtikelNr_1 varchar(10) NULL, Anzahl_1 numeric(19,8) NULL, Text1_1 varchar(60) NULL, Text2_1 varchar(60) NULL, Netto_1 numeric(19,8) NULL,
    MwSt_1 numeric(19,8) NULL, MwSt_Bet_1 numeric(19,8) NULL, Brutto_1 numeric(19,8) NULL, EK_Art_1 numeric(19,8) NULL, Spanne_1 numeric(19,8) NULL,
    Rabatt_1 numeric(19,8) NULL, VK_Art_1 numeric(19,8) NULL, VK_Preis_1 numeric(19,8) NULL, Konto1 int NULL, KoSt1 varchar(10) NULL, KoTr1 int NULL,
    ArtikelNr_2 varchar(10) NULL, Anzahl_2 numeric(19,8) NULL, Text1_2 varchar(60) NULL, Text2_2 varchar(60) NULL, Netto_2 numeric(19,8) NULL,
    MwSt_2 numeric(19,8) NULL, MwSt_Bet_2 numeric(19,8) NULL, Brutto_2 numeric(19,8) NULL, EK_Art_2 numeric(19,8) NULL, Spanne_2 numeric(19,8) NULL,
    Rabatt_2 numeric(19,8) NULL, VK_Art_2 numeric(19,8) NULL, VK_Preis_2 numeric(19,8) NULL, Konto2 int NULL, KoSt2 varchar(10) NULL, KoTr2 int NULL,
    ArtikelNr_3 varchar(10) NULL, Anzahl_3 numeric(19,8) NULL, Text1_3 varchar(60) NULL, Text2_3 varchar(60) NULL, Netto_3 numeric(19,8) NULL,
    MwSt_3 numeric(19,8) NULL, MwSt_Bet_3 numeric(19,8) NULL, Brutto_3 numeric(19,8) NULL, EK_Art_3 numeric(19,8) NULL, Spanne_3 numeric(19,8) NULL,
    Rabatt_3 numeric(19,8) NULL, VK_Art_3 numeric(19,8) NULL, VK_Preis_3 numeric(19,8) NULL, Konto3 int NULL, KoSt3 varchar(10) NULL, KoTr3 int NULL,
    ArtikelNr_4 varchar(10) NULL, Anzahl_4 numeric(19,8) NULL, Text1_4 varchar(60) NULL, Text2_4 varchar(60) NULL, Netto_4 numeric(19,8) NULL,
    MwSt_4 numeric(19,8) NULL, MwSt_Bet_4 numeric(19,8) NULL, Brutto_4 numeric(19,8) NULL, EK_Art_4 numeric(19,8) NULL, Spanne_4 numeric(19,8) NULL,
    Rabatt_4 numeric(19,8) NULL, VK_Art_4 numeric(19,8) NULL, VK_Preis_4 numeric(19,8) NULL, Konto4 int NULL, KoSt4 varchar(10) NULL, KoTr4 int NULL,
    ArtikelNr_5 varchar(10) NULL, Anzahl_5 numeric(19,8) NULL, Text1_5 varchar(60) NULL, Text2_5 varchar(60) NULL, Netto_5 numeric(19,8) NULL,
    MwSt_5 numeric(19,8) NULL, MwSt_Bet_5 numeric(19,8) NULL, Brutto_5 numeric(19,8) NULL, EK_Art_5 numeric(19,8) NULL, Spanne_5 numeric(19,8) NULL,
    Rabatt_5 numeric(19,8) NULL, VK_Art_5 numeric(19,8) NULL, VK_Preis_5 numeric(19,8) NULL, Konto5 int NULL, KoSt5 varchar(10) NULL, KoTr5 int NULL,
    ArtikelNr_6 varchar(10) NULL, Anzahl_6 numeric(19,8) NULL, Text1_6 varchar(60) NULL, Text2_6 varchar(60) NULL, Netto_6 numeric(19,8) NULL,
    MwSt_6 numeric(19,8) NULL, MwSt_Bet_6 numeric(19,8) NULL, Brutto_6 numeric(19,8) NULL, EK_Art_6 numeric(19,8) NULL, Spanne_6 numeric(19,8) NULL,
    Rabatt_6 numeric(19,8) NULL, VK_Art_6 numeric(19,8) NULL, VK_Preis_6 numeric(19,8) NULL, Konto6 int NULL, KoSt6 varchar(10) NULL, KoTr6 int NULL,
    ArtikelNr_7 varchar(10) NULL, Anzahl_7 numeric(19,8) NULL, Text1_7 varchar(60) NULL, Text2_7 varchar(60) NULL, Netto_7 numeric(19,8) NULL,
    MwSt_7 numeric(19,8) NULL, MwSt_Bet_7 numeric(19,8) NULL, Brutto_7 numeric(19,8) NULL, EK_Art_7 numeric(19,8) NULL, Spanne_7 numeric(19,8) NULL,
    Rabatt_7 numeric(19,8) NULL, VK_Art_7 numeric(19,8) NULL, VK_Preis_7 numeric(19,8) NULL, Konto7 int NULL, KoSt7 varchar(10) NULL, KoTr7 int NULL,
    ArtikelNr_8 varchar(10) NULL, Anzahl_8 numeric(19,8) NULL, Text1_8 varchar(60) NULL, Text2_8 varchar(60) NULL, Netto_8 numeric(19,8) NULL,
    MwSt_8 numeric(19,8) NULL, MwSt_Bet_8 numeric(19,8) NULL, Brutto_8 numeric(19,8) NULL, EK_Art_8 numeric(19,8) NULL, Spanne_8 numeric(19,8) NULL,
    Rabatt_8 numeric(19,8) NULL, VK_Art_8 numeric(19,8) NULL, VK_Preis_8 numeric(19,8) NULL, Konto8 int NULL, KoSt8 varchar(10) NULL, KoTr8 int NULL,
    ArtikelNr_9 varchar(10) NULL, Anzahl_9 numeric(19,8) NULL, Text1_9 varchar(60) NULL, Text2_9 varchar(60) NULL, Netto_9 numeric(19,8) NULL,
    MwSt_9 numeric(19,8) NULL, MwSt_Bet_9 numeric(19,8) NULL, Brutto_9 numeric(19,8) NULL, EK_Art_9 numeric(19,8) NULL, Spanne_9 numeric(19,8) NULL,
    Rabatt_9 numeric(19,8) NULL, VK_Art_9 numeric(19,8) NULL, VK_Preis_9 numeric(19,8) NULL, Konto9 int NULL, KoSt9 varchar(10) NULL, KoTr9 int NULL,
    ArtikelNr_10 varchar(10) NULL, Anzahl_10 numeric(19,8) NULL, Text1_10 varchar(60) NULL, Text2_10 varchar(60) NULL, Netto_10 numeric(19,8) NULL,
    MwSt_10 numeric(19,8) NULL, MwSt_Bet_10 numeric(19,8) NULL, Brutto_10 numeric(19,8) NULL, EK_Art_10 numeric(19,8) NULL, Spanne_10 numeric(19,8) NULL,
    Rabatt_10 numeric(19,8) NULL, VK_Art_10 numeric(19,8) NULL, VK_Preis_10 numeric(19,8) NULL, Konto10 int NULL, KoSt10 varchar(10) NULL, KoTr10 int NULL,
    CONSTRAINT PK_RECHN PRIMARY KEY CLUSTERED (RgNr)
)
GO

-- Bookkeeping: accounts, tax keys, bookings, batches, cash books ------------

-- The account layout without the columns the upgrade adds
-- (Steuersammelkonto, KennzEUR, KoSt, DatevAuto).
CREATE TABLE dbo.F5Kont (
    BUCHJAHR smallint NOT NULL,
    KONTONR int NOT NULL,
    BEZEICHG varchar(40) NULL,
    ABHABEN numeric(19,8) NULL,
    ABSOLL numeric(19,8) NULL,
    JAHRUMSH numeric(19,8) NULL,
    JAHRUMSS numeric(19,8) NULL,
    BILANZGUV varchar(8) NULL,
    KENNZAHL varchar(10) NULL,
    KTOART varchar(40) NULL,
    START varchar(20) NULL,
    STSCHL smallint NULL,
    KREDKONTO int NULL,
    DEBITKTO int NULL,
    MOUMSHJAN numeric(19,8) NULL,
    MOUMSSJAN numeric(19,8) NULL,
    MOUMSHFEB numeric(19,8) NULL,
    MOUMSSFEB numeric(19,8) NULL,
    [MOUMSHMÄRZ] numeric(19,8) NULL,
    [MOUMSSMÄRZ] numeric(19,8) NULL,
    MOUMSHAPRIL numeric(19,8) NULL,
    MOUMSSAPRIL numeric(19,8) NULL,
    MOUMSHMAI numeric(19,8) NULL,
    MOUMSSMAI numeric(19,8) NULL,
    MOUMSHJUNI numeric(19,8) NULL,
    MOUMSSJUNI numeric(19,8) NULL,
    MOUMSHJULI numeric(19,8) NULL,
    MOUMSSJULI numeric(19,8) NULL,
    MOUMSHAUG numeric(19,8) NULL,
    MOUMSSAUG numeric(19,8) NULL,
    MOUMSHSEP numeric(19,8) NULL,
    MOUMSSSEP numeric(19,8) NULL,
    MOUMSHOKT numeric(19,8) NULL,
    MOUMSSOKT numeric(19,8) NULL,
    MOUMSHNOV numeric(19,8) NULL,
    MOUMSSNOV numeric(19,8) NULL,
    MOUMSHDEZ numeric(19,8) NULL,
    MOUMSSDEZ numeric(19,8) NULL,
    VERDICHTEN varchar(6) NULL,
    KENNZUSTV smallint NULL,
    SEITENZAHL smallint NULL,
    SPERRE varchar(6) NULL,
    [FÄLLIGKEIT1] smallint NULL,
    SKONTO1_ numeric(19,8) NULL,
    [FÄLLIGKEIT2] smallint NULL,
    SKONTO2_ numeric(19,8) NULL,
    [FÄLLIGKEIT3] smallint NULL,
    HAUPTKONTO numeric(19,8) NULL,
    VORLABHAB numeric(19,8) NULL,
    VORLABSOLL numeric(19,8) NULL,
    SEITENANZLE numeric(19,8) NULL,
    VALUTA varchar(3) NULL,
    PlanJahrSoll numeric(19,8) NULL,
    PlanJahrHaben numeric(19,8) NULL,
    PlanSollJan numeric(19,8) NULL,
    PlanHabenJan numeric(19,8) NULL,
    PlanSollFeb numeric(19,8) NULL,
    PlanHabenFeb numeric(19,8) NULL,
    PlanSollMaerz numeric(19,8) NULL,
    PlanHabenMaerz numeric(19,8) NULL,
    PlanSollApril numeric(19,8) NULL,
    PlanHabenApril numeric(19,8) NULL,
    PlanSollMai numeric(19,8) NULL,
    PlanHabenMai numeric(19,8) NULL,
    PlanSollJuni numeric(19,8) NULL,
    PlanHabenJuni numeric(19,8) NULL,
    PlanSollJuli numeric(19,8) NULL,
    PlanHabenJuli numeric(19,8) NULL,
    PlanSollAug numeric(19,8) NULL,
    PlanHabenAug numeric(19,8) NULL,
    PlanSollSep numeric(19,8) NULL,
    PlanHabenSep numeric(19,8) NULL,
    PlanSollOkt numeric(19,8) NULL,
    PlanHabenOkt numeric(19,8) NULL,
    PlanSollNov numeric(19,8) NULL,
    PlanHabenNov numeric(19,8) NULL,
    PlanSollDez numeric(19,8) NULL,
    PlanHabenDez numeric(19,8) NULL,
    STSCH_U varchar(1) NULL,
    KONTO_WGEWI numeric(19,8) NULL,
    KONTO_WVERL numeric(19,8) NULL,
    KOST_J_N varchar(6) NULL,
    KontoArt varchar(40) NULL,
    Bank varchar(6) NULL,
    Unterkonto varchar(1) NULL,
    HauptKto int NULL,
    Bezeich2 varchar(40) NULL,
    KdLfNr varchar(30) NULL,
    KennzGuV varchar(10) NULL,
    KennzBilanz varchar(10) NULL,
    KennzBWA varchar(10) NULL,
    HHRest numeric(19,8) NULL,
    OPS varchar(1) NULL,
    Spende char(10) NULL,
    KennzEU char(10) NULL,
    BenutzerErf varchar(20) NULL,
    BenutzerAend varchar(20) NULL,
    DatumErf datetime NULL,
    DatumAend datetime NULL,
    Kassenstand numeric(18,8) NULL,
    Anfangsbestand numeric(18,8) NULL,
    AktBelegNr numeric(18,8) NULL,
    KB char(1) NULL,
    EINAUS char(1) NULL,
    CONSTRAINT PK_F5Kont PRIMARY KEY CLUSTERED (BUCHJAHR, KONTONR)
)
GO

-- Tax keys, still with the four-digit keys and one row per key.
CREATE TABLE dbo.F5Dat (
    STEUERSCHL smallint NOT NULL,
    MWSTKTO int NULL,
    VORST_KTO int NULL,
    BFG_BASIS smallint NULL,
    BFB_GGKTO smallint NULL,
    BEG varchar(5) NULL,
    CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL)
)
GO

CREATE TABLE dbo.F5kennz (
    BILANZ_GUV varchar(6) NOT NULL,
    KENNZAHLH varchar(4) NOT NULL,
    BEZEICHG varchar(100) NULL,
    CONSTRAINT PK_F5kennz PRIMARY KEY CLUSTERED (BILANZ_GUV, KENNZAHLH)
)
GO

CREATE TABLE dbo.F6KOST (
    KoSt varchar(10) NOT NULL,
    BEZEICHG varchar(40) NULL,
    Verantwortlich varchar(40) NULL,
    CONSTRAINT PK_F6KOST PRIMARY KEY CLUSTERED (KoSt)
)
GO

CREATE TABLE dbo.F5BEW4 (
    BUCHJAHR smallint NOT NULL,
    InterneNr int NOT NULL,
    LfdNr int NOT NULL,
    DATUM datetime NULL,
    BELEGNR int NULL,
    KONTO int NULL,
    GEGENKONTO int NULL,
    SOLL numeric(19,8) NULL,
    HABEN numeric(19,8) NULL,
    STSCHL smallint NULL,
    BUCHTEXT varchar(60) NULL,
    SUCHTEXT varchar(40) NULL,
    KOST varchar(10) NULL,
    DIALOG_STAP char(1) NULL,
    BENUTZER varchar(12) NULL,
    CONSTRAINT PK_F5BEW4 PRIMARY KEY CLUSTERED (BUCHJAHR, InterneNr, LfdNr)
)
GO

-- The four booking-batch tables share one layout: open batches (F5bew4s),
-- their general-ledger lines (F5bew4sg) and the archived copies of both.
CREATE TABLE dbo.F5bew4s (
    LfdNr int IDENTITY(1,1) NOT NULL,
    Stapel varchar(40) NOT NULL,
    BUCHJAHR smallint NULL,
    Datum datetime NULL,
    BelegNr int NULL,
    Konto int NULL,
    Gegenkonto int NULL,
    Soll numeric(19,8) NULL,
    Haben numeric(19,8) NULL,
    Buchtext varchar(60) NULL,
    KoSt varchar(10) NULL,
    Benutzer varchar(12) NULL,
    CONSTRAINT PK_F5bew4s PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.F5bew4sg (
    LfdNr int IDENTITY(1,1) NOT NULL,
    Stapel varchar(40) NOT NULL,
    BUCHJAHR smallint NULL,
    Datum datetime NULL,
    BelegNr int NULL,
    Konto int NULL,
    Gegenkonto int NULL,
    Soll numeric(19,8) NULL,
    Haben numeric(19,8) NULL,
    Buchtext varchar(60) NULL,
    KoSt varchar(10) NULL,
    Benutzer varchar(12) NULL,
    CONSTRAINT PK_F5bew4sg PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.F5bw4sa (
    LfdNr int IDENTITY(1,1) NOT NULL,
    Stapel varchar(40) NOT NULL,
    BUCHJAHR smallint NULL,
    Datum datetime NULL,
    BelegNr int NULL,
    Konto int NULL,
    Gegenkonto int NULL,
    Soll numeric(19,8) NULL,
    Haben numeric(19,8) NULL,
    Buchtext varchar(60) NULL,
    KoSt varchar(10) NULL,
    Benutzer varchar(12) NULL,
    CONSTRAINT PK_F5bw4sa PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.F5bw4sga (
    LfdNr int IDENTITY(1,1) NOT NULL,
    Stapel varchar(40) NOT NULL,
    BUCHJAHR smallint NULL,
    Datum datetime NULL,
    BelegNr int NULL,
    Konto int NULL,
    Gegenkonto int NULL,
    Soll numeric(19,8) NULL,
    Haben numeric(19,8) NULL,
    Buchtext varchar(60) NULL,
    KoSt varchar(10) NULL,
    Benutzer varchar(12) NULL,
    CONSTRAINT PK_F5bw4sga PRIMARY KEY CLUSTERED (LfdNr)
)
GO

CREATE TABLE dbo.F5Kasses (
    Kasse smallint NOT NULL,
    Bezeichnung varchar(40) NULL,
    KontoNr int NULL,
    KB char(1) NULL,
    CONSTRAINT PK_F5Kasses PRIMARY KEY CLUSTERED (Kasse)
)
GO

CREATE TABLE dbo.F5BuText (
    Nr int NOT NULL,
    [Text] varchar(60) NULL,
    KontoNr int NULL,
    CONSTRAINT PK_F5BuText PRIMARY KEY CLUSTERED (Nr)
)
GO

-- Saved list views of the bookkeeping, per user.
CREATE TABLE dbo.F5Sicht (
    BENUTZER varchar(12) NOT NULL,
    Sicht varchar(40) NOT NULL,
    Spalten varchar(250) NULL,
    CONSTRAINT PK_F5Sicht PRIMARY KEY CLUSTERED (BENUTZER, Sicht)
)
GO

-- Directories: bank codes, streets, places -----------------------------------

-- The bank directory of the old release: four columns and no key.
CREATE TABLE dbo.d_blz (
    BLZ varchar(8) NOT NULL,
    LfdNr int NULL,
    BANK varchar(60) NULL,
    ORT varchar(40) NULL
)
GO

CREATE TABLE dbo.d_str (
    Nr int NOT NULL,
    Strasse varchar(60) NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL
)
GO

CREATE TABLE dbo.d_orte (
    Nr int NOT NULL,
    PLZ varchar(10) NULL,
    Ort varchar(40) NULL
)
GO

-- Sports and federation lists ---------------------------------------------

-- Sports per regional federation (KZ). The column order matters: the sports
-- list is loaded by positional inserts. The names are as wide as the upgrade
-- makes them already: the one-time reload of the lists runs before the
-- widening of SPORTART and FACHVERBAN, so narrower names would truncate.
CREATE TABLE dbo.Sportarten (
    KZ varchar(30) NOT NULL,
    NUMMER varchar(10) NOT NULL,
    SPORTART varchar(120) NULL,
    VerbandNr int NULL,
    LfdNr int IDENTITY(1,1) NOT NULL,
    CONSTRAINT PK_Sportarten PRIMARY KEY CLUSTERED (KZ, NUMMER, LfdNr)
)
GO

-- Federations per regional federation; positional inserts again.
CREATE TABLE dbo.fachverbaende (
    KZ varchar(30) NOT NULL,
    NUMMER varchar(10) NOT NULL,
    FACHVERBAN varchar(120) NULL,
    LfdNr int IDENTITY(1,1) NOT NULL,
    CONSTRAINT PK_fachverbaende PRIMARY KEY CLUSTERED (KZ, NUMMER, LfdNr)
)
GO

-- The sports the club offers.
CREATE TABLE dbo.SportartenV (
    NUMMER varchar(10) NOT NULL,
    SPORTART varchar(60) NULL,
    VerbandNr int NULL,
    Abteilung varchar(40) NULL,
    CONSTRAINT PK_SportartenV PRIMARY KEY CLUSTERED (NUMMER)
)
GO

-- The sports of an address.
CREATE TABLE dbo.AdrSArt (
    AdrNr int NOT NULL,
    SArt varchar(10) NOT NULL,
    SPORTART varchar(60) NULL,
    FACHVERBAN varchar(60) NULL,
    VerbandNr int NULL,
    Seit datetime NULL,
    CONSTRAINT PK_AdrSArt PRIMARY KEY CLUSTERED (AdrNr, SArt)
)
GO

-- Work tables of the regional federation report, per user.
CREATE TABLE dbo.tmpKSBja (
    Benutzer varchar(12) NOT NULL,
    Fachverband varchar(10) NULL,
    Skz2 varchar(10) NULL,
    Maennlich int NULL,
    Weiblich int NULL
)
GO

CREATE TABLE dbo.tmpKSBjaList (
    Benutzer varchar(12) NOT NULL,
    Skz2 varchar(10) NULL,
    Fachverband varchar(10) NULL,
    Bezeichnung varchar(60) NULL
)
GO
