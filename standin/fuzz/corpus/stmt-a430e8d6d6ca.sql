CREATE TABLE [dbo].[OnlKontAnm] (
Bank varchar (80) NOT NULL,
Konto varchar (15) NOT NULL,
BLZ varchar (10) NOT NULL,
Online char (1) NOT NULL,
Auswahl char (1) NOT NULL,
AuszugeLesenAb DateTime NULL,
LetztesAbholdatum  DateTime NULL)