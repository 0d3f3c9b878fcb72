#!/usr/bin/env python3
"""Writes the example input files of this folder: invented people, invented amounts.

  zefo.43              payroll export, employees (family blocks, one further social-security
                       section on a "||||" continuation line)
  amministratori.43    payroll export, one company officer
  collaboratori.43     payroll export, one Co.Co.Co. collaborator
  770-tracciato1.txt   770 Semplificato, codice fiscale from column 30
  770-tracciato2.txt   770 Semplificato, codice fiscale from column 14
  finanziaria.txt      financial procedure export of professionals

Files are Windows-1252 text with CR LF line ends, as the procedures write them.
Run: python3 examples/paghe/genera.py  (writes beside itself)
"""
import os


class Riga:
    """A fixed-column line: values placed at their first column (1-based)."""

    def __init__(self, lunghezza=0):
        self.c = [" "] * lunghezza

    def at(self, col, testo):
        fine = col - 1 + len(testo)
        if len(self.c) < fine:
            self.c.extend([" "] * (fine - len(self.c)))
        self.c[col - 1:fine] = list(testo)
        return self

    def __str__(self):
        return "".join(self.c)


def importo(euro):
    """1234.5 -> "0001234,50" (seven digits, comma, two decimals)."""
    cent = round(euro * 100)
    return f"{cent // 100:07d},{cent % 100:02d}"


SOSTITUTO = dict(cf="80012345678", denominazione="COMUNE DI VALLEVERDE", comune="VALLEVERDE",
                 prov="PG", cap="06050", indirizzo="PIAZZA DEL MUNICIPIO 1",
                 telefono="075123456", email="ragioneria@comune.valleverde.pg.it")


def certificato(matr, cf, cognome, nome, sesso, nascita, luogo, prov, giorni, redditi, ritenute,
                famiglia=(), previdenza=None, tipo_reddito="1"):
    r = Riga(2304)
    s = SOSTITUTO
    r.at(1, s["cf"]).at(18, s["denominazione"]).at(59, s["comune"]).at(90, s["prov"])
    r.at(93, s["cap"]).at(99, s["indirizzo"]).at(130, s["telefono"]).at(156, s["email"])
    r.at(221, matr).at(226, cf).at(243, cognome).at(264, nome).at(285, sesso)
    r.at(287, nascita).at(298, luogo).at(329, prov)
    r.at(345, "VALLEVERDE").at(376, "PG").at(379, "L123")
    r.at(462, importo(redditi)).at(473, importo(0)).at(484, f"{giorni:03d}")
    r.at(492, importo(ritenute)).at(503, importo(round(redditi * 0.012, 2)))
    r.at(514, importo(round(redditi * 0.004, 2))).at(525, importo(0))
    r.at(536, importo(0)).at(547, importo(0)).at(558, importo(0)).at(569, importo(0))
    r.at(679, importo(0))
    detrazioni_familiari = 950.0 if famiglia else 0.0
    r.at(690, importo(detrazioni_familiari)).at(745, importo(round(redditi * 0.05, 2)))
    r.at(811, importo(0)).at(1094, importo(0)).at(1116, importo(0))
    if previdenza:
        r.at(1424, "80078750587").at(1455, "1").at(1457, "2014").at(1462, "1").at(1466, "0001")
        r.at(1471, importo(previdenza)).at(1482, importo(round(previdenza * 0.0885, 2)))
        r.at(1493, importo(round(previdenza * 0.2381, 2)))
    if famiglia:
        r.at(1750, "Nota BO:")
        col = 1758
        for tipo, cf_fam, mesi, perc in famiglia:
            r.at(col, tipo).at(col + 4, cf_fam).at(col + 21, mesi).at(col + 24, perc)
            col += 33
    r.at(2201, "27/02/2015").at(2212, "IL RESPONSABILE DEL SERVIZIO")
    r.at(2258, tipo_reddito).at(2260, "0").at(2262, importo(0)).at(2273, importo(0))
    r.at(2284, "01/01/2014").at(2295, "00/00/0000")
    return r


def continuazione(matr, cf, imponibile):
    r = Riga(300)
    r.at(1, "||||").at(10, matr).at(15, cf).at(167, "97103880585")
    r.at(198, "2").at(200, "0000").at(205, "0").at(209, "0000")
    r.at(214, importo(imponibile)).at(225, importo(round(imponibile * 0.0880, 2)))
    r.at(236, importo(round(imponibile * 0.2420, 2)))
    return r


def scrivi(nome, righe):
    percorso = os.path.join(os.path.dirname(os.path.abspath(__file__)), nome)
    with open(percorso, "wb") as f:
        for r in righe:
            f.write(str(r).encode("cp1252") + b"\r\n")


def dipendenti():
    return [
        certificato("0001", "BNCGNN72E15G478K", "BIANCHI", "GIOVANNI", "M", "15/05/1972",
                    "PERUGIA", "PG", 365, 31250.40, 6418.22,
                    famiglia=[("C", "VRDLRA74M52G478T", "12", ""),
                              ("F1", "BNCLCU02A41G478P", "12", "100,00"),
                              ("F", "BNCMRC05H10G478W", "12", "100,00")],
                    previdenza=31250.40),
        continuazione("0001", "BNCGNN72E15G478K", 1200.00),
        certificato("0002", "FRRNNA80C60D653Z", "FERRARI", "ANNA", "F", "20/03/1980",
                    "FOLIGNO", "PG", 365, 24870.00, 4902.15,
                    famiglia=[("F1", "FRRSFO10P45D653R", "12", "50,00")],
                    previdenza=24870.00),
        certificato("0003", "NCLLSN65T08L117C", "NICOLÒ", "ALESSANDRO", "M", "08/12/1965",
                    "TERNI", "TR", 181, 14112.75, 1988.40, previdenza=14112.75),
        certificato("0004", "CSTPLA91L54H501Y", "COSTA", "PAOLA", "F", "14/07/1991",
                    "ROMA", "RM", 240, 9650.00, 412.30,
                    famiglia=[("C", "RSSDVD89B11H501Q", "08", "")],
                    previdenza=9650.00),
    ]


def amministratori():
    r = certificato("0101", "GLLFNC58S03G478H", "GALLI", "FRANCO", "M", "03/11/1958", "PERUGIA",
                    "PG", 0, 0, 0)
    r.at(473, importo(18000.00)).at(492, importo(4140.00)).at(503, importo(216.00))
    r.at(679, importo(0))
    return [r]


def collaboratori():
    r = certificato("0201", "MRTSRA85A41F205D", "MARTINI", "SARA", "F", "01/01/1985", "MILANO",
                    "MI", 0, 0, 0)
    r.at(1354, importo(7200.00)).at(1365, importo(7200.00)).at(1376, importo(1728.00))
    r.at(1387, importo(864.00))
    return [r]


def au(codice, valore):
    return codice + valore.ljust(16)[:16]


def professionista_770(cf, campi, tracciato):
    r = Riga()
    r.at(1, "H").at(2, SOSTITUTO["cf"])
    r.at(30 if tracciato == 1 else 14, cf)
    r.at(90 if tracciato == 1 else 58, "".join(au(c, v) for c, v in campi))
    return r


def file_770(tracciato):
    righe = [Riga().at(1, "A").at(16, "77S15"), Riga().at(1, "B").at(2, SOSTITUTO["cf"])]
    righe.append(professionista_770("RSSLGU70A01G478X", [
        ("AU001002", "ROSSI"), ("AU001003", "LUIGI"), ("AU001004", "M"),
        ("AU001005", "01011970"), ("AU001006", "PERUGIA"), ("AU001007", "PG"),
        ("AU001008", "VIA DEI CONSOLI "), ("AU001008", "+ 12"),
        ("AU001019", "A"), ("AU001020", "2014"), ("AU001022", "12.000,00"),
        ("AU001026", "12.000,00"), ("AU001027", "2.400,00")], tracciato))
    righe.append(professionista_770("VRDCHR68D45H501M", [
        ("AU001002", "VERDI"), ("AU001003", "CHIARA"), ("AU001004", "F"),
        ("AU001005", "05041968"), ("AU001006", "ROMA"), ("AU001007", "RM"),
        ("AU001008", "PIAZZA NAVONA 3"),
        ("AU001019", "A"), ("AU001022", "4.500,00"), ("AU001026", "4.500,00"),
        ("AU001027", "900,00")], tracciato))
    righe.append(Riga().at(1, "Z"))
    return righe


def finanziaria():
    def prof(cf, cognome, nome, sesso, nascita, luogo, prov, compenso, ritenute, attivita):
        r = Riga(451)
        r.at(6, cf).at(23, cognome).at(48, nome).at(69, sesso).at(71, nascita)
        r.at(82, luogo).at(113, prov)
        r.at(327, f"{round(compenso * 100) // 100:08d},{round(compenso * 100) % 100:02d}")
        r.at(339, f"{round(ritenute * 100) // 100:08d},{round(ritenute * 100) % 100:02d}")
        r.at(435, "27/02/2015").at(446, attivita)
        return r
    return [
        prof("BRNMRC66L12G478S", "BRUNO", "MARCO", "M", "12/07/1966", "PERUGIA", "PG",
             8750.00, 1750.00, "691000"),
        prof("LNGSLV77R50D653K", "LONGO", "SILVIA", "F", "10/10/1977", "FOLIGNO", "PG",
             3200.00, 640.00, ""),
        prof("SNTFBA59E22L117J", "SANTORO", "FABIO", "M", "00/00/0000", "TERNI", "TR",
             1500.50, 300.10, "711210"),
    ]


if __name__ == "__main__":
    scrivi("zefo.43", dipendenti())
    scrivi("amministratori.43", amministratori())
    scrivi("collaboratori.43", collaboratori())
    scrivi("770-tracciato1.txt", file_770(1))
    scrivi("770-tracciato2.txt", file_770(2))
    scrivi("finanziaria.txt", finanziaria())
