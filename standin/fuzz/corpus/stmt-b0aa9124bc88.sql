INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Rheinland','Sportbund Rheinland')
INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Pfalz','Sportbund Pfalz')
INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Rheinhessen','Sportbund Rheinhessen')