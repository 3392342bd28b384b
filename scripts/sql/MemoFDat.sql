CREATE FUNCTION dbo.fFalligkeitDatum (@Year INT)
RETURNS TABLE
AS
-- Due dates of every billing period of every membership contract in one
-- calendar year. A stored due date counts only by its day and month: it is
-- moved into @Year by adding days, months and years to 1 January 1900 in
-- that order; each step clamps to the end of a shorter month, which turns
-- 29 February into 28 February in every year (1900 has no 29 February).
RETURN
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 1 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum1) - 1,
    DATEADD(day, DAY(FalligkeitDatum1) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'jährlich' AND FalligkeitDatum1 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 1 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum1) - 1,
    DATEADD(day, DAY(FalligkeitDatum1) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'halbjährl.' AND FalligkeitDatum1 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 7 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum2) - 1,
    DATEADD(day, DAY(FalligkeitDatum2) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'halbjährl.' AND FalligkeitDatum2 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 1 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum1) - 1,
    DATEADD(day, DAY(FalligkeitDatum1) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'quartal' AND FalligkeitDatum1 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 2 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum2) - 1,
    DATEADD(day, DAY(FalligkeitDatum2) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'quartal' AND FalligkeitDatum2 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 3 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum3) - 1,
    DATEADD(day, DAY(FalligkeitDatum3) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'quartal' AND FalligkeitDatum3 IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 4 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, MONTH(FalligkeitDatum4) - 1,
    DATEADD(day, DAY(FalligkeitDatum4) - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'quartal' AND FalligkeitDatum4 IS NOT NULL
UNION ALL
-- Monthly contracts: day FalligkeitTag of every month while it is below
-- the month's threshold, else the month's fixed last (or 28th) day.
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 1 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 0,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 2 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 1,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 28 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 3 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 2,
    DATEADD(day, FalligkeitTag - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 4 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 3,
    DATEADD(day, CASE WHEN FalligkeitTag < 31 THEN FalligkeitTag ELSE 30 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 5 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 4,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 6 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 5,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 30 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 7 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 6,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 8 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 7,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 9 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 8,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 30 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 10 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 9,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 11 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 10,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 30 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
UNION ALL
SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, VertragEnde, 12 AS Zeitraum,
  DATEADD(year, @Year - 1900, DATEADD(month, 11,
    DATEADD(day, CASE WHEN FalligkeitTag < 29 THEN FalligkeitTag ELSE 31 END - 1, CAST('19000101' AS datetime)))) AS FalligkeitDatum
FROM MgVert
WHERE Sollstellung = 'monatlich' AND FalligkeitTag IS NOT NULL
