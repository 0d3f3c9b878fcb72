// Pages 4 and 4 bis of the employee certificate: social-security (INPS) and insurance (INAIL)
// data. Page 4 bis is the same page over a further section (Zefo3), without INAIL and notes.

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

Voce d(int punto, const char* etichetta, const char* campione = nullptr) {
    Voce v = campione ? testo(QString::number(punto), QString::fromUtf8(etichetta), {}, QString::fromLatin1(campione))
                      : importo(QString::number(punto), QString::fromUtf8(etichetta), {});
    v.colonna = QStringLiteral("D%1").arg(punto, 2, 10, QLatin1Char('0'));
    return v;
}

Voce tutti(int punto) {
    Voce v = casella(QString::number(punto), QStringLiteral("Tutti"),
                     QStringLiteral("D%1").arg(punto, 2, 10, QLatin1Char('0')));
    v.grassetto = true;
    v.trasparente = true;
    return v;
}

// The twelve month boxes of one point: the month initials stay readable under a mark.
std::vector<Voce> mesi(int punto) {
    static const char* const iniziali[] = {"G", "F", "M", "A", "M", "G", "L", "A", "S", "O", "N", "D"};
    static const char* const nomi[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                       "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    std::vector<Voce> v;
    for (int m = 1; m <= 12; ++m) {
        // the December box of section 1 is spelled in lower case in the archive
        const QString col = punto == 8 && m == 12 ? QStringLiteral("d08_12")
                                                  : QStringLiteral("D%1_%2").arg(punto, 2, 10, QLatin1Char('0')).arg(m);
        Voce c = casella(m == 1 ? QString::number(punto) : QString(), {}, col);
        c.grassetto = true;
        c.trasparente = true;
        c.lettera = QString::fromLatin1(iniziali[m - 1]);
        c.rientro = 9;
        c.suggerimento = QString::fromLatin1(nomi[m - 1]);
        c.nome = QStringLiteral("punto %1, %2").arg(punto).arg(c.suggerimento);
        c.larghezza = 30;
        v.push_back(c);
    }
    return v;
}

Voce chiamato(Voce v, const char* nome) {
    v.nome = QString::fromUtf8(nome);
    return v;
}

std::vector<Voce> conMesi(std::vector<Voce> prima, int puntoTutti, const char* etichettaMesi) {
    prima.push_back(tutti(puntoTutti));
    Voce titolo = vuota({}, QString::fromUtf8(etichettaMesi), 110);
    prima.push_back(titolo);
    for (auto& m : mesi(puntoTutti + 1)) prima.push_back(m);
    return prima;
}

Pagina costruisciPrevidenziale(const QString& nome, const QString& tabella, bool conInail) {
    Modulo m(nome, tabella, 8);
    // a further section is a second module of the same page, and says so
    if (conInail)
        intestazioneCertificato(m, QStringLiteral("DATI PREVIDENZIALI ED ASSISTENZIALI INPS"), QStringLiteral("Zefo1"));
    else
        intestazioneCertificato(
            m, QStringLiteral("DATI PREVIDENZIALI ED ASSISTENZIALI INPS – ULTERIORE SEZIONE"), QStringLiteral("Zefo1"),
            2, QStringLiteral("Seconda sezione INPS del percipiente; dati INAIL e annotazioni nel Mod. N. 1"));

    m.setParte(QStringLiteral("sezione 1"));
    m.fascia(QStringLiteral("SEZIONE 1 – LAVORATORI SUBORDINATI"), false);
    m.riga({d(1, "Matricola azienda", "00000000000"), casella("2", QStringLiteral("INPS"), QStringLiteral("D02")),
            casella("3", QStringLiteral("Altro"), QStringLiteral("D03")), d(4, "Imponibile previdenziale"),
            d(5, "Imponibile ai fini IVS"), d(6, "Contributi a carico del lavoratore trattenuti"), vuota({}, {}, 150)});
    m.riga(conMesi({}, 7, "Mesi per i quali non è stata presentata la denuncia UniEmens"));
    m.spazio(4);

    m.setParte(QStringLiteral("sezione 2"));
    m.fascia(QStringLiteral("SEZIONE 2 – COLLABORAZIONI COORDINATE E CONTINUATIVE"), false);
    m.riga({d(9, "Compensi corrisposti al collaboratore"), d(10, "Contributi dovuti"),
            d(11, "Contributi a carico del collaboratore trattenuti"), d(12, "Contributi versati"),
            vuota({}, {}, 300)});
    m.riga(conMesi({}, 13, "Mesi per i quali non è stata presentata la denuncia UniEmens"));
    m.spazio(4);

    m.setParte(QStringLiteral("sezione 3"));
    m.fascia(QStringLiteral("SEZIONE 3 – INPS GESTIONE DIPENDENTI PUBBLICI (ex INPDAP)"), false);
    m.riga({d(15, "Codice fiscale Amministrazione", "000000000000"), d(16, "Progressivo azienda", "00000"),
            d(17, "Codice identificativo", "MMMMMMMM"), d(18, "Cassa pensionistica", "0000"),
            d(19, "Cassa previdenziale", "0000"), d(20, "Cassa gestione credito", "0000"),
            d(21, "Cassa ENPDEP/ENAM", "0000"), d(22, "Anno di riferimento", "00000")});
    m.riga({d(23, "Imponibile pensionistico"), d(24, "Contributi pensionistici"), d(25, "Imponibile TFS"),
            d(26, "Contributi TFS"), d(27, "Imponibile TFR")});
    m.riga({d(28, "Contributi TFR"), d(29, "Imponibile gestione credito"), d(30, "Contributo gestione credito"),
            d(31, "Imponibile ENPDEP/ENAM"), d(32, "Contributi ENPDEP/ENAM")});
    m.riga(conMesi({}, 33, "Mesi per i quali non è stata presentata la denuncia"));
    m.spazio(8);

    // on page 4 bis the INAIL and note boxes are drawn but hold nothing
    const auto forse = [&](Voce v) { return conInail ? v : spento(v); };
    m.setParte(QStringLiteral("INAIL"));
    m.fascia(QStringLiteral("DATI ASSICURATIVI INAIL"));
    m.riga({forse(suRighe(largo(testo("35", QStringLiteral("Qualifica"), QStringLiteral("D35")), 150), 2)),
            forse(testo("36", QStringLiteral("Posizione assicurativa territoriale"), QStringLiteral("D36"),
                        "0000000000000000")),
            forse(testo("37", QStringLiteral("Data inizio – giorno"), QStringLiteral("D37_1"), "000")),
            forse(chiamato(testo({}, QStringLiteral("mese"), QStringLiteral("D37_2"), "000"), "punto 37, mese")),
            forse(testo("38", QStringLiteral("Data fine – giorno"), QStringLiteral("D38_1"), "000")),
            forse(chiamato(testo({}, QStringLiteral("mese"), QStringLiteral("D38_2"), "000"), "punto 38, mese")),
            forse(testo("39", QStringLiteral("Codice comune"), QStringLiteral("D39"), "MMMMM")),
            forse(casella("40", QStringLiteral("Personale viaggiante"), QStringLiteral("D40")))});
    m.spazio(8);

    m.setParte({});
    m.fascia(QStringLiteral("ANNOTAZIONI"));
    for (int i = 1; i <= 4; ++i) {
        Voce riga = testo({}, i == 1 ? QStringLiteral("Descrizione") : QString(), QStringLiteral("des%1").arg(i));
        riga.nome = QStringLiteral("annotazione %1").arg(i);
        m.riga({forse(suRighe(riga, 3))});
    }
    return m.fine();
}

}  // namespace

const Pagina& CertificatoPagina4() {
    static const Pagina p = costruisciPrevidenziale(QStringLiteral("Pagina 4"), QStringLiteral("Zefo2"), true);
    return p;
}

const Pagina& CertificatoPagina4bis() {
    static const Pagina p = costruisciPrevidenziale(QStringLiteral("Pagina 4 bis"), QStringLiteral("Zefo3"), false);
    return p;
}

}  // namespace forms
