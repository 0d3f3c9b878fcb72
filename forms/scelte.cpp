// The sheet for the choice of the 8, 5 and 2 per mille of IRPEF (pages 6 and 7 of the
// printed certificate): the front with the taxpayer's data and the three choices, the back
// with the instructions.

#include <cmath>

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
            m.scrivi(QRectF(x, m.y() + 16, w, 9), QStringLiteral("FIRMA"), 6, false, Qt::AlignHCenter | Qt::AlignTop);
            if (conBeneficiario) {
                m.scrivi(QRectF(x + 4, m.y() + 30, w - 8, 9),
                         QStringLiteral("Codice fiscale del beneficiario (eventuale)"), 6, false,
                         Qt::AlignLeft | Qt::AlignVCenter);
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
    m.nota(
        QStringLiteral("Le scelte della destinazione dell'otto, del cinque e del due per mille dell'IRPEF non sono "
                       "in alcun modo alternative fra loro. Pertanto possono essere espresse tutte e tre le scelte."),
        7.5, true, Qt::AlignHCenter);

    m.fascia(
        QStringLiteral("SCELTA PER LA DESTINAZIONE DELL'OTTO PER MILLE DELL'IRPEF (in caso di scelta FIRMARE in "
                       "UNO degli spazi sottostanti)"));
    firme(
        m,
        {QStringLiteral("Stato"), QStringLiteral("Chiesa cattolica"),
         QStringLiteral("Unione Chiese cristiane avventiste del 7° giorno"),
         QStringLiteral("Assemblee di Dio in Italia"),
         QStringLiteral("Chiesa Evangelica Valdese (Unione delle Chiese metodiste e Valdesi)"),
         QStringLiteral("Chiesa Evangelica Luterana in Italia"), QStringLiteral("Unione Comunità Ebraiche Italiane"),
         QStringLiteral("Sacra arcidiocesi ortodossa d'Italia ed Esarcato per l'Europa Meridionale"),
         QStringLiteral("Chiesa apostolica in Italia"), QStringLiteral("Unione Cristiana Evangelica Battista d'Italia"),
         QStringLiteral("Unione Buddhista Italiana"), QStringLiteral("Unione Induista Italiana")},
        4, false);
    m.spazio(6);

    m.fascia(
        QStringLiteral("SCELTA PER LA DESTINAZIONE DEL CINQUE PER MILLE DELL'IRPEF (in caso di scelta FIRMARE in "
                       "UNO degli spazi sottostanti)"));
    firme(
        m,
        {QStringLiteral(
             "Sostegno del volontariato e delle altre organizzazioni non lucrative di utilità sociale, delle "
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
    m.riga({vuota({}, QStringLiteral("PARTITO POLITICO"), 300),
            spento(testo({}, QStringLiteral("CODICE"), {}, "00000")), vuota({}, QStringLiteral("FIRMA"), 340)});
    const qreal y = m.y();
    m.riquadro(QRectF(m.sinistra(), y, m.larghezza(), 24), kFondoCella, kBordo, 0.5);
    m.linea(QLineF(m.sinistra() + 420, y + 18, m.sinistra() + m.larghezza() - 12, y + 18), 0.6);
    m.spazio(24);
    return m.fine();
}

struct Parte {
    QString titolo;
    QStringList capoversi;
};

// Two columns of plain text under a heading, each part headed in bold capitals, framed with a
// rule between the columns, as the form's pages of instructions are.
void dueColonne(Modulo& m, const QString& titolo, std::vector<Parte> sinistra, std::vector<Parte> destra) {
    m.fascia(titolo);
    const auto colonna = [](std::vector<Parte> parti) {
        return [parti = std::move(parti)](Modulo& r) {
            r.spazio(4);
            for (const auto& p : parti) {
                r.nota(p.titolo, 8, true);
                for (const auto& c : p.capoversi) r.nota(c, 8, false, Qt::AlignJustify);
                r.spazio(4);
            }
        };
    };
    const qreal inizio = m.y();
    m.affianca({1, 1}, {colonna(std::move(sinistra)), colonna(std::move(destra))});
    const qreal meta = m.sinistra() + std::round(m.larghezza() / 2);
    m.linea(QLineF(meta, inizio + 4, meta, m.y() - 4), 0.5, kBordo);
    m.riquadro(QRectF(m.sinistra(), inizio, m.larghezza(), m.y() - inizio), QColor(), kBordo, 0.6);
    m.spazio(8);
}

// The back of the sheet: under the title and the taxpayer's tax code, what becomes of the data
// the sheet holds and how to choose and deliver it, in our own words.
Pagina costruisciPagina7() {
    Modulo m(QStringLiteral("Pagina 7"), QStringLiteral("Zefo1"), 10);
    const qreal y0 = m.y();
    m.testata(QString::fromUtf8(kTitoloScelta));
    // the back is printed only, so its box is no display
    codicePercipiente(m, y0, QStringLiteral("Zefo1"), QStringLiteral("CODICE FISCALE")).solaLettura = false;

    dueColonne(
        m,
        QStringLiteral(
            "INFORMATIVA SUL TRATTAMENTO DEI DATI PERSONALI AI SENSI DELL'ART. 13 DEL D.LGS. N. 196 DEL 2003"),
        {{QStringLiteral("FINALITÀ DEL TRATTAMENTO"),
          {QStringLiteral(
              "L'Agenzia delle Entrate usa i dati di questa scheda solo per ripartire fra i destinatari "
              "le quote dell'otto, del cinque e del due per mille dell'IRPEF secondo le scelte espresse.")}},
         {QStringLiteral("DATI PERSONALI"),
          {QStringLiteral("Scegliere è facoltativo: chi non firma alcun riquadro non esprime scelte, e la sua imposta "
                          "non cambia. I dati anagrafici servono a riconoscere chi sceglie."),
           QStringLiteral("Una scelta può far conoscere convinzioni religiose o politiche: sono dati sensibili, che la "
                          "legge protegge in modo particolare.")}},
         {QStringLiteral("MODALITÀ DEL TRATTAMENTO"),
          {QStringLiteral("I dati sono trattati anche con strumenti informatici, da persone a ciò incaricate, solo per "
                          "lo scopo indicato e con misure che ne custodiscono la riservatezza.")}}},
        {{QStringLiteral("TITOLARI E RESPONSABILI"),
          {QStringLiteral("Titolare del trattamento è l'Agenzia delle Entrate; l'intermediario che riceve la scheda ne "
                          "risponde per la parte di sua competenza. Sogei S.p.A., che gestisce il sistema informativo "
                          "dell'anagrafe tributaria, tratta i dati per conto dell'Agenzia.")}},
         {QStringLiteral("DIRITTI DELL'INTERESSATO"),
          {QStringLiteral("Chi ha firmato la scheda può sapere quali suoi dati sono conservati e chiederne la "
                          "correzione o l'aggiornamento, oppure la cancellazione se trattati contro la legge, "
                          "rivolgendosi al titolare (art. 7 del D.Lgs. n. 196 del 2003).")}},
         {QStringLiteral("CONSENSO"),
          {QStringLiteral("Firmando un riquadro della scelta dell'otto o del due per mille, il contribuente acconsente "
                          "al trattamento dei dati sensibili che la scelta rivela, per il solo scopo indicato.")}}});

    dueColonne(
        m, QStringLiteral("AVVERTENZE"),
        {{QStringLiteral("LA SCHEDA"),
          {QStringLiteral("Con questa scheda chi ha ricevuto la Certificazione Unica 2015 ed è esonerato dalla "
                          "dichiarazione dei redditi sceglie a chi va una parte della propria IRPEF del 2014. "
                          "Scegliere non costa nulla: l'imposta dovuta resta la stessa."),
           QStringLiteral("Le tre scelte sono indipendenti: si può farne una, due o tutte e tre. Per ciascuna si firma "
                          "in un solo riquadro; una firma in più riquadri della stessa scelta la rende nulla.")}},
         {QStringLiteral("OTTO PER MILLE"),
          {QStringLiteral("Si firma nel riquadro dello Stato oppure in quello di una delle confessioni religiose "
                          "elencate sul fronte. La quota di chi non sceglie è divisa fra gli stessi destinatari in "
                          "proporzione alle scelte espresse da tutti i contribuenti.")}},
         {QStringLiteral("CINQUE PER MILLE"),
          {QStringLiteral(
              "Si firma nel riquadro della finalità che si vuole sostenere. Chi conosce il codice fiscale "
              "dell'ente a cui vuole destinare la quota lo scrive nello spazio sotto la firma; senza codice "
              "la quota va alla finalità scelta nel suo insieme.")}},
         {QStringLiteral("DUE PER MILLE"),
          {QStringLiteral("Si firma nel riquadro e si scrive il codice del partito politico scelto, tra quelli ammessi "
                          "al beneficio nell'elenco pubblicato per il 2015.")}}},
        {{QStringLiteral("MODALITÀ DI CONSEGNA"),
          {QStringLiteral(
               "La scheda va consegnata entro il 30 settembre 2015, anche se contiene una sola scelta, in una "
               "busta chiusa. Sulla busta si scrivono la dicitura \"SCELTA PER LA DESTINAZIONE DELL'OTTO, DEL "
               "CINQUE E DEL DUE PER MILLE DELL'IRPEF\", il codice fiscale, il cognome e il nome del "
               "contribuente."),
           QStringLiteral(
               "La busta si consegna a un ufficio postale, che la riceve senza spese e la inoltra "
               "all'Agenzia delle Entrate, oppure a un intermediario abilitato alla trasmissione telematica "
               "(professionista o centro di assistenza fiscale), che la trasmette per conto del contribuente."),
           QStringLiteral(
               "Chi riceve la busta ne rilascia ricevuta, anche se la scheda non contiene alcuna scelta.")}}});
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
