INSERT INTO AdrFunktion (AdrNr, Funktion, Nr)
SELECT AdrNr, Funktion, 1 FROM Adresse WHERE (Funktion IS NOT NULL OR Funktion<>'')