-- Edge cases over the example archive: one certificate whose fiscal section needs more than
-- one record, names Windows-1252 cannot hold, a second agent row, a second Zefo2 row and a
-- second Zefo3 row for one certificate, an officer with an empty point 1, a lower-case kind,
-- and a professional whose values the encoder refuses.
-- Loaded over the example archive (base.txt).
BEGIN;
UPDATE Zefo1 SET C010='1.234,56',c011='2.234,56',c012='3.234,56',c016='4.234,56',c017='5.234,56',c019='6.234,56',c020='7.234,56',c021='8.234,56',c023='9.234,56',c024='10.234,56',c031='11.234,56',c032='12.234,56',c033='13.234,56',c034='14.234,56',c035='15.234,56',c036='16.234,56',c037='17.234,56',c038='18.234,56',c051='19.234,56',c052='20.234,56',c053='21.234,56',c054='22.234,56',c055='23.234,56',c056='24.234,56',c057='25.234,56',c058='26.234,56',c061='27.234,56',c062='28.234,56',c063='29.234,56',c064='30.234,56',c065='31.234,56',c066='32.234,56',c067='33.234,56',c068='34.234,56',c071='35.234,56',c072='36.234,56',c073='37.234,56',c074='38.234,56',c075='39.234,56',c076='40.234,56',c077='41.234,56',c078='42.234,56',c079='43.234,56',c080='44.234,56',c081='45.234,56',c082='46.234,56',c101='47.234,56',c102='48.234,56',c103='49.234,56',c104='50.234,56',c105='51.234,56',c106='52.234,56',c107='53.234,56',c108='54.234,56',c109='55.234,56',c110='56.234,56',c111='57.234,56',c112='58.234,56',c113='59.234,56',c114='60.234,56',c115='61.234,56',c116='62.234,56',c117='63.234,56',c118='64.234,56',c119='65.234,56',c120='66.234,56',c121='67.234,56',c141='68.234,56',c142='69.234,56',c143='70.234,56',c144='71.234,56',c145='72.234,56',c146='73.234,56',c147='74.234,56',c148='75.234,56',c149='76.234,56',c150='77.234,56',c151='78.234,56',c152='79.234,56',c153='80.234,56',c161='81.234,56',c162='82.234,56',c163='83.234,56',c164='84.234,56',c166='85.234,56',c171='86.234,56',c172='87.234,56',c173='88.234,56',c174='89.234,56',c175='90.234,56',c184='91.234,56',c186='92.234,56',c191='93.234,56',c192='94.234,56' WHERE ID=1;
UPDATE Zefo1 SET B02='WAŁĘSA', B03='ŁUKASZ €' WHERE ID=2;
INSERT INTO SostitutoImposta (CodiceFiscale,CognomeDenominazione) VALUES ('99999999999','SECONDO SOSTITUTO');
INSERT INTO Zefo2 (ID,MatrDip,ditta,tipo,D01,D04) VALUES ('3','9999','99','DIP','0000000000','1,00');
INSERT INTO Zefo3 (Id,matricola,Cf,D15,D16,D18,D20,D22,D23,D24,D33) VALUES (6,'0006','RCCNCL55M14F205J','99999999999','2','2','1','2013','1,00','2,00','');
UPDATE Zefo1 SET C001='' WHERE ID=13;
UPDATE Zefo2 SET tipo='dip' WHERE ID=4;
UPDATE Professionisti SET E04='12abc', E07='1.000.000.000.000.000,00', B02='KŐRÖS' WHERE ID=(SELECT min(ID) FROM Professionisti);
UPDATE Professionisti SET B07='31/02/2014' WHERE ID=(SELECT max(ID) FROM Professionisti);
COMMIT;
