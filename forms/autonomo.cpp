// The self-employment page (points 1 to 23): page 5 of the employee certificate (Zefo2) and
// page 2 of the professional's certificate (Professionisti).

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

Voce e(int punto, const char* etichetta, const char* campione = nullptr) {
    const QString col = QStringLiteral("E%1").arg(punto, 2, 10, QLatin1Char('0'));
    if (campione)
        return testo(QString::number(punto), QString::fromUtf8(etichetta), col, QString::fromLatin1(campione));
    return importo(QString::number(punto), QString::fromUtf8(etichetta), col);
}

Pagina costruisciAutonomo(const QString& tabella, const QString& tabellaIntestazione) {
    Modulo m(QStringLiteral("Pagina 5"), tabella, 10);
    intestazioneCertificato(m, QStringLiteral("CERTIFICAZIONE LAVORO AUTONOMO, PROVVIGIONI E REDDITI DIVERSI"),
                            tabellaIntestazione);
    m.fascia(QStringLiteral("DATI RELATIVI ALLE SOMME EROGATE"));
    m.riga({e(1, "Causale", "MMM"), e(2, "Anno", "00000"),
            casella("3", QStringLiteral("Anticipazione"), QStringLiteral("E03")), e(4, "Ammontare lordo corrisposto"),
            e(5, "Somme non soggette a ritenuta per regime convenzionale"), e(6, "Codice", "000"),
            e(7, "Altre somme non soggette a ritenuta")});
    m.riga({e(8, "Imponibile"), e(9, "Ritenute a titolo di acconto"), e(10, "Ritenute a titolo d'imposta"),
            e(11, "Ritenute sospese"), vuota({}, {}, 220)});
    m.fascia(QStringLiteral("ADDIZIONALI"), false);
    m.riga({e(12, "Addizionale regionale a titolo d'acconto"), e(13, "Addizionale regionale a titolo d'imposta"),
            e(14, "Addizionale regionale sospesa"), e(15, "Addizionale comunale a titolo d'acconto"),
            e(16, "Addizionale comunale a titolo d'imposta"), e(17, "Addizionale comunale sospesa")});
    m.fascia(QStringLiteral("ANNI PRECEDENTI, CONTRIBUTI PREVIDENZIALI E RIMBORSI"), false);
    m.riga({e(18, "Imponibile anni precedenti"), e(19, "Ritenute operate anni precedenti"),
            e(20, "Contributi previdenziali a carico del soggetto erogante"),
            e(21, "Contributi previdenziali a carico del percipiente"), e(22, "Spese rimborsate"),
            e(23, "Ritenute rimborsate")});
    return m.fine();
}

}  // namespace

const Pagina& CertificatoPagina5() {
    static const Pagina p = costruisciAutonomo(QStringLiteral("Zefo2"), QStringLiteral("Zefo1"));
    return p;
}

const Pagina& ProfessionistaPagina2() {
    static const Pagina p = costruisciAutonomo(QStringLiteral("Professionisti"), QStringLiteral("Professionisti"));
    return p;
}

}  // namespace forms
