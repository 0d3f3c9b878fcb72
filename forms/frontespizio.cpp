// The withholding agent's frontispiece and the Quadro CT page.

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

Pagina costruisciFrontespizio() {
    Modulo m(QStringLiteral("Frontespizio"), QStringLiteral("SostitutoImposta"), 10);
    m.testata(QStringLiteral("FRONTESPIZIO PER LA TRASMISSIONE TELEMATICA"));

    Voce intestazione = codiceFiscale({}, {}, QStringLiteral("CodiceFiscale"));
    intestazione.puntiFont = 12;
    intestazione.grassetto = true;
    intestazione.solaLettura = true;
    intestazione.nome = QStringLiteral("codice fiscale in testata");
    const qreal wCf = m.larghezzaBox(intestazione);
    m.scrivi(QRectF(m.destra() - wCf, 2, wCf, 12), QStringLiteral("CODICE FISCALE"), 7, true);
    m.campo(QRectF(m.destra() - wCf, 16, wCf, 21), intestazione);

    // the privacy notice, in our own words: what the data are for, who handles them, the rights
    m.fascia(QStringLiteral(
                 "INFORMATIVA SUL TRATTAMENTO DEI DATI PERSONALI AI SENSI DELL'ART. 13 DEL D.LGS. N. 196 DEL 2003"),
             false);
    const auto voce = [&](const char* titolo, const char* testo) {
        m.nota(QString::fromUtf8(titolo) + QLatin1Char(' ') + QString::fromUtf8(testo), 6.5);
    };
    voce("Perché i dati sono chiesti.",
         "I dati di questa comunicazione e delle certificazioni che l'accompagnano servono all'Agenzia delle Entrate "
         "per "
         "controllare le ritenute operate e i redditi certificati, per preparare la dichiarazione precompilata dei "
         "percipienti e per le altre attività di liquidazione, controllo e riscossione delle imposte previste dalla "
         "legge.");
    voce("Obbligo di comunicarli.",
         "La comunicazione è dovuta per legge: chi non la presenta, o la presenta incompleta o inesatta, può incorrere "
         "nelle sanzioni previste.");
    voce("Come sono trattati.",
         "I dati sono trattati anche con strumenti informatici, solo per gli scopi indicati e con misure che ne "
         "proteggono la riservatezza; possono essere comunicati ad altre amministrazioni pubbliche, come gli enti "
         "previdenziali per la parte che li riguarda, nei soli casi previsti dalla legge.");
    voce("Chi li tratta.",
         "Titolare del trattamento è l'Agenzia delle Entrate; per i dati che raccolgono e trasmettono lo sono anche il "
         "sostituto d'imposta e l'intermediario incaricato della trasmissione telematica, che ne rispondono.");
    voce("Diritti dell'interessato.",
         "Chi è indicato nella comunicazione può conoscere i propri dati e chiederne la correzione o l'aggiornamento, "
         "oppure la cancellazione se trattati contro la legge, rivolgendosi al titolare (art. 7 del D.Lgs. n. 196 del "
         "2003). "
         "Poiché il trattamento è previsto dalla legge, non occorre il suo consenso.");
    m.spazio(6);

    m.fascia(QStringLiteral("TIPO DI COMUNICAZIONE"));
    m.riga({largo(elenco({}, QStringLiteral("Annullamento"), QStringLiteral("Annullamento"), {QString(), "X"}), 120),
            largo(elenco({}, QStringLiteral("Sostituzione"), QStringLiteral("sostituzione"), {QString(), "X"}), 120),
            vuota({}, {}, 500)});
    m.spazio(8);

    m.setParte(QStringLiteral("sostituto"));
    m.fascia(QStringLiteral("DATI RELATIVI AL SOSTITUTO"));
    m.riga({codiceFiscale({}, QStringLiteral("Codice fiscale"), QStringLiteral("CodiceFiscale")),
            largo(testo({}, QStringLiteral("Cognome o Denominazione"), QStringLiteral("CognomeDenominazione")), 330),
            largo(testo({}, QStringLiteral("Nome"), QStringLiteral("Nome")), 200)});
    m.riga({piccolo(testo({}, QStringLiteral("Telefono o fax – prefisso"), QStringLiteral("TelefonoPref"), "000000")),
            piccolo(testo({}, QStringLiteral("numero"), QStringLiteral("telefono"), "00000000000000")),
            largo(testo({}, QStringLiteral("Indirizzo di posta elettronica"), QStringLiteral("email")), 420)});
    m.spazio(8);

    m.setParte(QStringLiteral("rappresentante"));
    m.fascia(QStringLiteral("DATI RELATIVI AL RAPPRESENTANTE FIRMATARIO DELLA COMUNICAZIONE"));
    m.riga({codiceFiscale({}, QStringLiteral("Codice fiscale"), QStringLiteral("CFRapp")),
            largo(testo({}, QStringLiteral("Codice carica"), QStringLiteral("CodCar"), "000"), 80),
            codiceFiscale({}, QStringLiteral("Codice fiscale società o ente dichiarante"), QStringLiteral("CodEnte")),
            vuota({}, {}, 200)});
    m.riga({largo(testo({}, QStringLiteral("Cognome"), QStringLiteral("CognomeRapp")), 400),
            largo(testo({}, QStringLiteral("Nome"), QStringLiteral("NomeRapp")), 300)});
    m.spazio(8);

    m.setParte({});
    m.fascia(QStringLiteral("FIRMA DELLA COMUNICAZIONE"));
    Voce a1 = testo({}, QStringLiteral("Numero certificazioni lavoro dipendente e assimilati"), QStringLiteral("A1"),
                    "00000000");
    Voce a2 = testo({}, QStringLiteral("Numero certificazioni lavoro autonomo, provvigioni e redditi diversi"),
                    QStringLiteral("A2"), "00000000");
    a1.rientro = a2.rientro = 26;  // the window's count buttons sit there
    a1.larghezza = a2.larghezza = 170;
    m.riga({a1, a2, largo(casella({}, QStringLiteral("Quadro CT"), QStringLiteral("A3")), 70),
            vuota({}, QStringLiteral("FIRMA"), 300)});
    m.spazio(8);

    m.fascia(QStringLiteral("IMPEGNO ALLA PRESENTAZIONE TELEMATICA"));
    m.fascia(QStringLiteral("Riservato all'incaricato"), false);
    m.setParte(QStringLiteral("incaricato"));
    m.riga({codiceFiscale({}, QStringLiteral("Codice fiscale dell'incaricato"), QStringLiteral("A4")),
            largo(elenco({}, QStringLiteral("Impegno a presentare in via telematica la comunicazione"),
                         QStringLiteral("A8"), {"1", "2", QString()}),
                  150),
            piccolo(testo({}, QStringLiteral("Data dell'impegno – giorno"), QStringLiteral("A5"), "000")),
            piccolo(testo({}, QStringLiteral("mese"), QStringLiteral("A6"), "000")),
            piccolo(testo({}, QStringLiteral("anno"), QStringLiteral("A7"), "00000")),
            vuota({}, QStringLiteral("FIRMA DELL'INCARICATO"), 200)});
    return m.fine();
}

Pagina costruisciQuadroCT() {
    Modulo m(QStringLiteral("Quadro CT"), QStringLiteral("QuadroCt"), 10);
    m.testata(QStringLiteral("QUADRO CT"),
              QStringLiteral("RICEZIONE IN VIA TELEMATICA DEI DATI RELATIVI AI MOD. 730-4 RESI DISPONIBILI "
                             "DALL'AGENZIA DELLE ENTRATE"));
    const QString sostituto = QStringLiteral("SostitutoImposta");

    m.setParte(QStringLiteral("sostituto"));
    m.fascia(QStringLiteral("DATI DEL SOSTITUTO D'IMPOSTA RICHIEDENTE"));
    m.riga({di(codiceFiscale("1", QStringLiteral("Codice fiscale"), QStringLiteral("CodiceFiscale")), sostituto),
            testo("2", QStringLiteral("Numero di telefono cellulare"), QStringLiteral("NumCellulare"),
                  "+39 0000000000000"),
            largo(di(testo("3", QStringLiteral("Indirizzo di posta elettronica"), QStringLiteral("email")), sostituto),
                  330)});
    m.spazio(8);

    m.setParte(QStringLiteral("sezione A"));
    m.fascia(QStringLiteral("SEZIONE A – RICEZIONE DEI DATI TRAMITE L'UTENZA TELEMATICA DEL SOSTITUTO D'IMPOSTA"));
    m.riga(
        {largo(casella("1", QStringLiteral("Utente del servizio Fisconline"), QStringLiteral("B5")), 180),
         largo(testo("2", QStringLiteral("Utente del servizio Entratel – Codice sede"), QStringLiteral("B6"), "0000"),
               220),
         vuota({}, {}, 354)});
    m.spazio(8);

    m.setParte(QStringLiteral("sezione B"));
    m.fascia(QStringLiteral("SEZIONE B – RICEZIONE DEI DATI TRAMITE INTERMEDIARIO"));
    m.riga({codiceFiscale("1", QStringLiteral("Codice fiscale dell'intermediario"), QStringLiteral("B1")),
            testo("2", QStringLiteral("Codice sede Entratel dell'intermediario"), QStringLiteral("B2"), "00000"),
            testo("3", QStringLiteral("Numero di telefono cellulare"), QStringLiteral("B3"), "+39 0000000000000")});
    m.riga({largo(testo("4", QStringLiteral("Indirizzo di posta elettronica"), QStringLiteral("B4")), 420),
            vuota({}, QStringLiteral("FIRMA"), 334)});
    m.spazio(16);

    // a reminder for the operator: the window shows it, the page sent to the Agency does not
    m.setSoloSchermo(true);
    m.nota(QStringLiteral("Se il sostituto d’imposta ha già in precedenza validamente presentato una comunicazione "
                          "CSO, il quadro CT non deve essere compilato."),
           9, true, Qt::AlignHCenter, QColor(200, 0, 0));
    m.setSoloSchermo(false);
    return m.fine();
}

}  // namespace

const Pagina& Frontespizio() {
    static const Pagina p = costruisciFrontespizio();
    return p;
}

const Pagina& PaginaQuadroCT() {
    static const Pagina p = costruisciQuadroCT();
    return p;
}

}  // namespace forms
