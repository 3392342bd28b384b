INSERT INTO DSAFachverband (Nr, 
Bezeichnung) VALUES ('101','Allgemeiner 
Deutscher Hochschulsportverband (ADH)')