SELECT * FROM Information_Schema.Columns
 WHERE Table_Catalog=