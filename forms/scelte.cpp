// The sheet for the choice of the 8, 5 and 2 per mille of IRPEF (pages 6 and 7 of the
// printed certificate): the front with the taxpayer's data and the three choices, the back
// with the instructions.

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

const char* const kTitoloScelta = "SCELTA PER LA DESTINAZIONE DELL'OTTO, DEL CINQUE E DEL DUE PER MILLE DELL'IRPEF";

// Cells with only a caption and a signature line, n to a row.
void firme(Modulo& m, const std::vector<QString>& voci, int perRiga, bool conBeneficiario) {
    for (std::size_t i = 0; i < voci.size(); i += perRiga) {
        std::vector<Voce> riga;
        for (std::size_t j = i; j < i + perRiga; ++j) {
            Voce v = vuota({}, j < voci.size() ? voci[j] : QString(), 100);
            riga.push_back(v);
        }
        const qreal y = m.y();
        m.riga(riga);
        // the signature line (and the beneficiary's box) under each caption
        const qreal w = m.larghezza() / perRiga;
        for (int k = 0; k < perRiga && i + k < voci.size(); ++k) {
            const qreal x = m.sinistra() + k * w;
            m.riquadro(QRectF(x, m.y(), w, conBeneficiario ? 56 : 26), kFondoCella, kBordo, 0.5);
            // the caption sits under the line, clear of it and inside the cell
            m.linea(QLineF(x + 12, m.y() + 15, x + w - 12, m.y() + 15), 0.6);
            m.scrivi(QRectF(x, m.y() + 17, w, 8), QStringLiteral("FIRMA"), 5.5, false, Qt::AlignHCenter | Qt::AlignTop);
            if (conBeneficiario) {
                m.scrivi(QRectF(x + 4, m.y() + 30, w - 8, 9), QStringLiteral("Codice fiscale del beneficiario (eventuale)"),
                         5.5, false, Qt::AlignLeft | Qt::AlignVCenter);
                m.riquadro(QRectF(x + 4, m.y() + 40, w - 8, 12), Qt::white, kBordo, 0.5);
            }
        }
        (void)y;
        m.spazio(conBeneficiario ? 56 : 26);
    }
}

Pagina costruisciPagina6() {
    Modulo m(QStringLiteral("Pagina 6"), QStringLiteral("Zefo1"), 10);
    m.testata(QString::fromUtf8(kTitoloScelta));
    m.fascia(QStringLiteral("SOSTITUTO D'IMPOSTA"), false);
    m.riga({codiceFiscale({}, QStringLiteral("CODICE FISCALE DEL SOSTITUTO D'IMPOSTA"), QStringLiteral("A01")),
            vuota({}, {}, 560)});
    m.fascia(QStringLiteral("CONTRIBUENTE"));
    m.riga({codiceFiscale({}, QStringLiteral("CODICE FISCALE"), QStringLiteral("B01")),
            largo(testo({}, QStringLiteral("COGNOME"), QStringLiteral("B02")), 300),
            largo(testo({}, QStringLiteral("NOME"), QStringLiteral("B03")), 220)});
    m.riga({testo({}, QStringLiteral("SESSO (M o F)"), QStringLiteral("B04"), "MMM"),
            data({}, QStringLiteral("DATA DI NASCITA (giorno / mese / anno)"), QStringLiteral("B05")),
            largo(testo({}, QStringLiteral("COMUNE (o Stato estero) DI NASCITA"), QStringLiteral("B06")), 330),
            testo({}, QStringLiteral("PROVINCIA (sigla)"), QStringLiteral("B07"), "MMMM")});
    m.spazio(4);
    m.nota(QStringLiteral("Le scelte della destinazione dell'otto, del cinque e del due per mille dell'IRPEF non sono "
                          "in alcun modo alternative fra loro. Pertanto possono essere espresse tutte e tre le scelte."),
           7.5, true, Qt::AlignHCenter);

    m.fascia(QStringLiteral("SCELTA PER LA DESTINAZIONE DELL'OTTO PER MILLE DELL'IRPEF (in caso di scelta FIRMARE in "
                            "UNO degli spazi sottostanti)"));
    firme(m,
          {QStringLiteral("Stato"), QStringLiteral("Chiesa cattolica"),
           QStringLiteral("Unione Chiese cristiane avventiste del 7° giorno"), QStringLiteral("Assemblee di Dio in Italia"),
           QStringLiteral("Chiesa Evangelica Valdese (Unione delle Chiese metodiste e Valdesi)"),
           QStringLiteral("Chiesa Evangelica Luterana in Italia"), QStringLiteral("Unione Comunità Ebraiche Italiane"),
           QStringLiteral("Sacra arcidiocesi ortodossa d'Italia ed Esarcato per l'Europa Meridionale"),
           QStringLiteral("Chiesa apostolica in Italia"), QStringLiteral("Unione Cristiana Evangelica Battista d'Italia"),
           QStringLiteral("Unione Buddhista Italiana"), QStringLiteral("Unione Induista Italiana")},
          4, false);
    m.spazio(6);

    m.fascia(QStringLiteral("SCELTA PER LA DESTINAZIONE DEL CINQUE PER MILLE DELL'IRPEF (in caso di scelta FIRMARE in "
                            "UNO degli spazi sottostanti)"));
    firme(m,
          {QStringLiteral("Sostegno del volontariato e delle altre organizzazioni non lucrative di utilità sociale, delle "
                          "associazioni di promozione sociale e delle associazioni e fondazioni riconosciute che operano "
                          "nei settori di cui all'art. 10, c. 1, lett. a), del D.Lgs. n. 460 del 1997"),
           QStringLiteral("Finanziamento della ricerca scientifica e della università"),
           QStringLiteral("Finanziamento della ricerca sanitaria"),
           QStringLiteral("Finanziamento delle attività di tutela, promozione e valorizzazione dei beni culturali e "
                          "paesaggistici"),
           QStringLiteral("Sostegno delle attività sociali svolte dal comune di residenza del contribuente"),
           QStringLiteral("Sostegno alle associazioni sportive dilettantistiche riconosciute ai fini sportivi dal CONI a "
                          "norma di legge, che svolgono una rilevante attività di interesse sociale")},
          3, true);
    m.spazio(6);

    m.fascia(QStringLiteral("SCELTA PER LA DESTINAZIONE DEL DUE PER MILLE DELL'IRPEF"));
    m.riga({vuota({}, QStringLiteral("PARTITO POLITICO"), 300), spento(testo({}, QStringLiteral("CODICE"), {}, "00000")),
            vuota({}, QStringLiteral("FIRMA"), 340)});
    const qreal y = m.y();
    m.riquadro(QRectF(m.sinistra(), y, m.larghezza(), 24), kFondoCella, kBordo, 0.5);
    m.linea(QLineF(m.sinistra() + 420, y + 18, m.sinistra() + m.larghezza() - 12, y + 18), 0.6);
    m.spazio(24);
    return m.fine();
}

Pagina costruisciPagina7() {
    Modulo m(QStringLiteral("Pagina 7"), QStringLiteral("Zefo1"), 10);
    m.testata(QString::fromUtf8(kTitoloScelta), QStringLiteral("AVVERTENZE"));
    const qreal y0 = 20;
    Voce cf = codiceFiscale({}, {}, QStringLiteral("B01"));
    const qreal w = m.larghezzaBox(cf);
    m.scrivi(QRectF(774 - w, y0 + 2, w, 12), QStringLiteral("CODICE FISCALE"), 6.5, true, Qt::AlignCenter);
    m.campo(QRectF(774 - w, y0 + 16, w, m.altezzaBox()), cf);

    const auto paragrafo = [&](const QString& titolo, const QString& testo) {
        m.fascia(titolo, false);
        m.spazio(2);
        m.nota(testo, 7.5);
        m.spazio(6);
    };
    paragrafo(QStringLiteral("SCELTA PER LA DESTINAZIONE DELL'OTTO PER MILLE DELL'IRPEF"),
              QStringLiteral("Il contribuente può destinare l'otto per mille del gettito IRPEF allo Stato oppure a una "
                             "istituzione religiosa. La scelta si esprime apponendo la firma in uno solo dei riquadri "
                             "della scheda. In mancanza di scelta la quota è ripartita in proporzione alle scelte espresse."));
    paragrafo(QStringLiteral("SCELTA PER LA DESTINAZIONE DEL CINQUE PER MILLE DELL'IRPEF"),
              QStringLiteral("Il contribuente può destinare il cinque per mille dell'IRPEF a una delle finalità indicate "
                             "nella scheda, firmando nel riquadro corrispondente. Per alcune finalità può indicare anche il "
                             "codice fiscale del soggetto cui intende destinare direttamente la quota."));
    paragrafo(QStringLiteral("SCELTA PER LA DESTINAZIONE DEL DUE PER MILLE DELL'IRPEF"),
              QStringLiteral("Il contribuente può destinare il due per mille dell'IRPEF a favore di un partito politico "
                             "iscritto nell'apposito registro, firmando nel riquadro e indicando il codice del partito "
                             "prescelto."));
    paragrafo(QStringLiteral("MODALITÀ DI PRESENTAZIONE"),
              QStringLiteral("La scheda deve essere presentata entro il 30 settembre 2015, in una busta chiusa che reca la "
                             "dicitura \"SCELTA PER LA DESTINAZIONE DELL'OTTO, DEL CINQUE E DEL DUE PER MILLE DELL'IRPEF\", "
                             "il codice fiscale, il cognome e il nome del contribuente: allo sportello di un ufficio postale, "
                             "che la riceve gratuitamente, oppure a un intermediario abilitato alla trasmissione telematica. "
                             "Le scelte non sono in alcun modo alternative fra loro: possono essere espresse tutte e tre."));
    return m.fine();
}

}  // namespace

const Pagina& CertificatoPagina6() {
    static const Pagina p = costruisciPagina6();
    return p;
}

const Pagina& CertificatoPagina7() {
    static const Pagina p = costruisciPagina7();
    return p;
}

}  // namespace forms
