// Page 1 of a certificate, the anagraphic data: the same page for employees (Zefo1) and
// professionals (Professionisti).

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

Pagina costruisciAnagrafica(const QString& tabella, bool conDittaMatricola) {
    Modulo m(QStringLiteral("Pagina 1"), tabella, 10);
    const qreal y0 = m.y();
    m.testata(QStringLiteral("DATI ANAGRAFICI"));

    // the year box of the form: fixed text, the same for every certificate
    const qreal xAnno = m.destra() - 150;
    m.scrivi(QRectF(xAnno - 15, y0 + 14, 90, 12), QStringLiteral("relativa all'anno"), 6.5, true, Qt::AlignCenter);
    m.riquadro(QRectF(xAnno, y0 + 28, 60, 22), Qt::white, kBordo, 0.8);
    m.scrivi(QRectF(xAnno, y0 + 28, 60, 22), QStringLiteral("2014"), 12, true, Qt::AlignCenter);
    if (conDittaMatricola) {
        // the editor's firm and employee number: the operator's, not the form's
        m.setSoloSchermo(true);
        Voce dm = testo({}, {}, QStringLiteral("DittaMatr"), QStringLiteral("0000000000/0000000000"));
        dm.tabella = kTabellaCalcolata;
        dm.solaLettura = true;
        dm.puntiFont = 8;
        dm.allineamento = Qt::AlignRight | Qt::AlignVCenter;
        const qreal w = m.larghezzaBox(dm);
        m.campo(QRectF(m.destra() - w, y0, w, m.altezzaBox() - 3), dm);
        m.setSoloSchermo(false);
    }

    m.setParte(QStringLiteral("sostituto"));
    m.fascia(QStringLiteral("DATI RELATIVI AL DATORE DI LAVORO, ENTE PENSIONISTICO O ALTRO SOSTITUTO D'IMPOSTA"));
    m.riga({codiceFiscale("1", QStringLiteral("Codice fiscale"), QStringLiteral("A01")),
            suRighe(largo(testo("2", QStringLiteral("Cognome o Denominazione"), QStringLiteral("A02")), 250), 2),
            suRighe(largo(testo("3", QStringLiteral("Nome"), QStringLiteral("A03")), 190), 2)});
    m.riga({largo(testo("4", QStringLiteral("Comune"), QStringLiteral("A04")), 230),
            testo("5", QStringLiteral("Prov."), QStringLiteral("A05"), "MMM"),
            testo("6", QStringLiteral("Cap"), QStringLiteral("A06"), "000000"),
            largo(testo("7", QStringLiteral("Indirizzo"), QStringLiteral("A07")), 330)});
    m.riga({piccolo(testo("8", QStringLiteral("Telefono, fax – prefisso e numero"), QStringLiteral("A08"),
                          "0000 0000000000")),
            largo(testo("9", QStringLiteral("Indirizzo di posta elettronica"), QStringLiteral("A09")), 300),
            testo("10", QStringLiteral("Codice attività"), QStringLiteral("A10"), "0000000"),
            testo("11", QStringLiteral("Codice sede"), QStringLiteral("A11"), "00000")});
    m.spazio(8);

    m.setParte(QStringLiteral("percipiente"));
    m.fascia(QStringLiteral("DATI RELATIVI AL DIPENDENTE, PENSIONATO O ALTRO PERCETTORE DELLE SOMME"));
    m.riga({codiceFiscale("1", QStringLiteral("Codice fiscale"), QStringLiteral("B01")),
            suRighe(largo(testo("2", QStringLiteral("Cognome o Denominazione"), QStringLiteral("B02")), 280), 2),
            suRighe(largo(testo("3", QStringLiteral("Nome"), QStringLiteral("B03")), 190), 2)});
    m.riga({elenco("4", QStringLiteral("Sesso (M o F)"), QStringLiteral("B04"), {QString(), "M", "F"}),
            data("5", QStringLiteral("Data di nascita (giorno / mese / anno)"), QStringLiteral("B05")),
            largo(testo("6", QStringLiteral("Comune (o Stato estero) di nascita"), QStringLiteral("B06")), 220),
            testo("7", QStringLiteral("Provincia di nascita (sigla)"), QStringLiteral("B07"), "MMM"),
            testo("8", QStringLiteral("Categorie particolari"), QStringLiteral("B08"), "MMM"),
            testo("9", QStringLiteral("Eventi eccezionali"), QStringLiteral("B09"), "000"),
            testo("10", QStringLiteral("Casi di esclusione dalla precompilata"), QStringLiteral("B10"), "000")});
    const auto domicilio = [](const QString& titolo, const QString& p1, const QString& p2, const QString& p3,
                              const QString& c1, const QString& c2, const QString& c3) {
        return [=](Modulo& r) {
            r.fascia(titolo, false);
            r.riga({largo(testo(p1, QStringLiteral("Comune"), c1), 200),
                    testo(p2, QStringLiteral("Provincia (sigla)"), c2, "MMM"),
                    testo(p3, QStringLiteral("Codice comune"), c3, "MMMMM")});
        };
    };
    m.affianca({1, 1}, {domicilio(QStringLiteral("DOMICILIO FISCALE ALL'1/1/2014"), "20", "21", "22",
                                  QStringLiteral("B20"), QStringLiteral("B21"), QStringLiteral("B22")),
                        domicilio(QStringLiteral("DOMICILIO FISCALE ALL'1/1/2015"), "23", "24", "25",
                                  QStringLiteral("B23"), QStringLiteral("B24"), QStringLiteral("B25"))});
    m.setParte(QStringLiteral("rappresentante"));
    m.fascia(QStringLiteral("DATI RELATIVI AL RAPPRESENTANTE"), false);
    m.riga({codiceFiscale("30", QStringLiteral("Codice fiscale del rappresentante"), QStringLiteral("B30")),
            vuota({}, {}, 560)});
    m.setParte(QStringLiteral("percipiente estero"));
    m.fascia(QStringLiteral("RISERVATO AI PERCIPIENTI ESTERI"), false);
    m.riga({testo("40", QStringLiteral("Codice di identificazione fiscale estero"), QStringLiteral("B40"),
                  "MMMMMMMMMMMMMMMM"),
            largo(testo("41", QStringLiteral("Località di residenza estera"), QStringLiteral("B41")), 190),
            largo(testo("42", QStringLiteral("Via e numero civico"), QStringLiteral("B42")), 220),
            testo("43", QStringLiteral("Codice Stato estero"), QStringLiteral("B43"), "00000")});
    m.spazio(16);
    m.setParte({});

    Voce quando = data({}, QStringLiteral("DATA (giorno / mese / anno)"), QStringLiteral("B44"));
    quando.nome = QStringLiteral("data");
    quando.allineamento = Qt::AlignCenter;
    quando.larghezza = 160;
    Voce firma = testo({}, QStringLiteral("FIRMA DEL SOSTITUTO DI IMPOSTA"), QStringLiteral("BFirma"));
    firma.allineamento = Qt::AlignCenter;
    firma.nome = QStringLiteral("firma del sostituto d'imposta");
    firma.larghezza = 420;
    m.riga({quando, vuota({}, {}, 174), firma});
    return m.fine();
}

}  // namespace

const Pagina& CertificatoPagina1() {
    static const Pagina p = costruisciAnagrafica(QStringLiteral("Zefo1"), true);
    return p;
}

const Pagina& ProfessionistaPagina1() {
    static const Pagina p = costruisciAnagrafica(QStringLiteral("Professionisti"), false);
    return p;
}

}  // namespace forms
