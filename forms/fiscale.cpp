// Pages 2 and 3 of the employee certificate: the tax data (points 1 to 192 in Zefo1, points
// 201 to 413 and the dependent family members in Zefo2).

#include "forms/modulo.h"

namespace forms {

using namespace modulo;

namespace {

QString colonna(int punto) {
    return QStringLiteral("%1%2").arg(punto <= 10 ? "C" : "c").arg(punto, 3, 10, QLatin1Char('0'));
}

Voce imp(int punto, const char* etichetta) {
    return importo(QString::number(punto), QString::fromUtf8(etichetta), colonna(punto));
}

Voce cod(int punto, const char* etichetta, const char* campione) {
    return testo(QString::number(punto), QString::fromUtf8(etichetta), colonna(punto), QString::fromLatin1(campione));
}

Voce spunta(int punto, const char* etichetta) {
    return casella(QString::number(punto), QString::fromUtf8(etichetta), colonna(punto));
}

Voce dat(int punto, const char* etichetta) {
    return data(QString::number(punto), QString::fromUtf8(etichetta), colonna(punto));
}

const char* const kTitoloDipendente = "CERTIFICAZIONE LAVORO DIPENDENTE, ASSIMILATI ED ASSISTENZA FISCALE";

Pagina costruisciPagina2() {
    Modulo m(QStringLiteral("Pagina 2"), QStringLiteral("Zefo1"), 8);
    intestazioneCertificato(m, QString::fromUtf8(kTitoloDipendente), QStringLiteral("Zefo1"));
    m.fascia(QStringLiteral("DATI FISCALI – DATI PER LA EVENTUALE COMPILAZIONE DELLA DICHIARAZIONE DEI REDDITI"));

    Voce tempo =
        elenco("2", QStringLiteral("Tempo indeterminato (1) / determinato (2)"), colonna(2), {QString(), "1", "2"});
    tempo.sfondo = QColor(255, 255, 128);
    tempo.suggerimento = QStringLiteral("1-indeterminato,2-determinato (p.15)");
    m.riga({imp(1, "Redditi di lavoro dipendente e assimilati"), tempo, imp(3, "Redditi di pensione"),
            imp(4, "Altri redditi assimilati"), imp(5, "Assegni periodici corrisposti dal coniuge"),
            cod(6, "Numero di giorni per i quali spettano le detrazioni – Lavoro dipendente", "0000"),
            cod(7, "Numero di giorni per i quali spettano le detrazioni – Pensione", "0000")});
    m.affianca({4, 8}, {[](Modulo& r) {
                            r.fascia(QStringLiteral("RAPPORTO DI LAVORO"), false);
                            r.riga({dat(8, "Data inizio"), dat(9, "Data cessazione"), spunta(10, "In forza al 31/12")});
                        },
                        [](Modulo& r) {
                            r.fascia(QStringLiteral("RITENUTE"), false);
                            r.riga({imp(11, "Ritenute Irpef"), imp(12, "Addizionale regionale all'Irpef"),
                                    imp(16, "Addizionale comunale all'Irpef – Acconto 2014"),
                                    imp(17, "Addizionale comunale all'Irpef – Saldo 2014"),
                                    imp(19, "Addizionale comunale all'Irpef – Acconto 2015")});
                        }});
    m.riga({imp(20, "Ritenute Irpef sospese"), imp(21, "Addizionale regionale sospesa"),
            imp(23, "Addizionale comunale sospesa – Saldo 2014"),
            imp(24, "Addizionale comunale sospesa – Acconto 2015"), vuota({}, {}, 300)});

    const auto acconti = [](const QString& titolo, int primo) {
        return [=](Modulo& r) {
            r.fascia(titolo, false);
            r.riga({imp(primo, "Primo acconto Irpef"), imp(primo + 1, "Secondo o unico acconto Irpef"),
                    imp(primo + 2, "Acconto addizionale comunale all'Irpef"),
                    imp(primo + 3, "Primo acconto cedolare secca")});
            r.riga({imp(primo + 4, "Secondo o unico acconto cedolare secca"), imp(primo + 5, "Acconto Irpef sospeso"),
                    imp(primo + 6, "Acconto addizionale comunale sospeso"),
                    imp(primo + 7, "Acconto cedolare secca sospeso")});
        };
    };
    m.affianca({1, 1}, {acconti(QStringLiteral("ACCONTI 2014 DICHIARANTE"), 31),
                        acconti(QStringLiteral("ACCONTI 2014 CONIUGE"), 51)});
    const auto crediti = [](const QString& titolo, int primo) {
        return [=](Modulo& r) {
            r.fascia(titolo, false);
            r.riga({imp(primo, "Credito Irpef non rimborsato"),
                    imp(primo + 1, "Credito di addizionale regionale non rimborsato"),
                    imp(primo + 2, "Credito di addizionale comunale non rimborsato"),
                    imp(primo + 3, "Credito cedolare secca non rimborsato")});
        };
    };
    m.affianca({1, 1}, {crediti(QStringLiteral("CREDITI NON RIMBORSATI – DICHIARANTE"), 61),
                        crediti(QStringLiteral("CREDITI NON RIMBORSATI – CONIUGE"), 65)});

    // six pairs of code and amount, three to a row so that every amount fits at its size
    m.fascia(QStringLiteral("ONERI DETRAIBILI"), false);
    for (int primo : {71, 77}) {
        std::vector<Voce> oneri;
        for (int p = primo; p < primo + 6; p += 2) {
            oneri.push_back(cod(p, "Codice onere", "0000"));
            oneri.push_back(imp(p + 1, "Importo"));
        }
        m.riga(oneri);
    }

    m.fascia(QStringLiteral("DETRAZIONI E CREDITI"), false);
    m.riga({imp(101, "Imposta lorda"), imp(102, "Detrazioni per carichi di famiglia"),
            imp(103, "Detrazioni per famiglie numerose"), imp(104, "Credito riconosciuto per famiglie numerose"),
            imp(105, "Credito non riconosciuto per famiglie numerose"),
            imp(106, "Detrazioni per redditi di lavoro dipendente, pensione e assimilati"),
            imp(107, "Detrazioni per oneri")});
    m.riga({imp(108, "Detrazioni per canoni di locazione"), imp(109, "Credito riconosciuto per canoni di locazione"),
            imp(110, "Credito non riconosciuto per canoni di locazione"), imp(111, "Totale detrazioni"),
            imp(112, "Credito d'imposta per redditi prodotti all'estero – Reddito estero"),
            imp(113, "Imposta estera definitiva"), imp(114, "Credito d'imposta per redditi esteri")});
    m.riga({cod(115, "Codice Stato estero", "0000"), cod(116, "Anno", "00000"), imp(117, "Altri crediti d'imposta"),
            imp(118, "Bonus IRPEF – reddito di riferimento"), cod(119, "Codice bonus", "000"),
            imp(120, "Bonus erogato"), imp(121, "Bonus non erogato")});

    m.fascia(QStringLiteral("PREVIDENZA COMPLEMENTARE"), false);
    m.riga({cod(141, "Codice", "0000"), imp(142, "Contributi dedotti dai redditi indicati nei punti 1, 3, 4 e 5"),
            imp(143, "Contributi non dedotti dai redditi indicati nei punti 1, 3, 4 e 5"),
            imp(144, "Lavoratori di prima occupazione – contributi dedotti"), dat(145, "Data di prima occupazione"),
            imp(146, "Lavoratori di prima occupazione – contributi non dedotti"),
            imp(147, "Differenziale prima occupazione")});
    m.riga({imp(148, "Contributi versati a fondi di dipendenti pubblici"), imp(149, "di cui non dedotti"),
            largo(cod(150, "Anni di partecipazione", "0000"), 90),
            imp(151, "Contributi previdenza complementare per familiari a carico"),
            imp(152, "di cui dedotti (familiari a carico)"), imp(153, "di cui non dedotti (familiari a carico)"),
            vuota({}, {}, 60)});

    m.fascia(QStringLiteral("ONERI DEDUCIBILI"), false);
    m.riga({imp(161, "Totale oneri deducibili esclusi dai redditi indicati nei punti 1, 3, 4 e 5"),
            imp(162, "Totale oneri deducibili non esclusi dai redditi"),
            imp(163, "Contributi per assistenza sanitaria"), imp(164, "Altri oneri deducibili"),
            largo(spunta(166, "Assicurazioni sanitarie"), 90), vuota({}, {}, 160)});
    m.fascia(QStringLiteral("ALTRI DATI"), false);
    m.riga({imp(171, "Contributo di solidarietà trattenuto"), imp(172, "Contributo di solidarietà sospeso"),
            imp(173, "Reddito ai fini del contributo di solidarietà"), imp(174, "Redditi esenti"),
            imp(175, "Redditi dei frontalieri (quota esente)"), imp(184, "Contributo su pensioni"),
            imp(186, "Importo non trattenuto per incapienza al conguaglio")});
    m.riga({largo(spunta(191, "Applicazione maggiore ritenuta"), 110),
            largo(testo("192", QStringLiteral("Casi particolari"), colonna(192)), 500), vuota({}, {}, 144)});
    return m.fine();
}

// The table of dependent family members: the columns line up because every row has the same
// cell widths; rows 1 and 2 leave empty the columns their relative cannot have.
void familiari(Modulo& m) {
    const std::vector<qreal> w = {110, 44, 34, 34, 170, 64, 74, 100, 100, 24};
    const auto box = [&](int riga, int col, Voce v) {
        static const char* const colonne[] = {"",
                                              "C / F1 / F",
                                              "A",
                                              "D",
                                              "codice fiscale",
                                              "mesi a carico",
                                              "minore di tre anni",
                                              "percentuale di detrazione",
                                              "detrazione 100% affidamento figli"};
        v.colonna = QStringLiteral("fam%1_%2").arg(riga).arg(col);
        const QString chi = riga == 1   ? QStringLiteral("coniuge")
                            : riga == 2 ? QStringLiteral("primo figlio")
                                        : QStringLiteral("familiare %1").arg(riga);
        v.nome = riga == 10 ? QStringLiteral("percentuale ulteriore detrazione per famiglie con almeno quattro figli")
                            : chi + QStringLiteral(", ") + QString::fromUtf8(colonne[col]);
        return v;
    };
    const auto segno = [&](int riga, int col, int i) { return largo(box(riga, col, casella({}, {}, {})), w[i]); };
    m.fascia(QStringLiteral("DATI RELATIVI AL CONIUGE E AI FAMILIARI A CARICO"));
    m.riga({largo(vuota({}, QStringLiteral("C = Coniuge  F1 = Primo figlio  F = Figlio  A = Altro familiare  "
                                           "D = Figlio disabile")),
                  w[0]),
            largo(vuota({}, QStringLiteral("C / F1 / F")), w[1]), largo(vuota({}, QStringLiteral("A")), w[2]),
            largo(vuota({}, QStringLiteral("D")), w[3]), largo(vuota({}, QStringLiteral("Codice fiscale")), w[4]),
            largo(vuota({}, QStringLiteral("Mesi a carico")), w[5]),
            largo(vuota({}, QStringLiteral("Minore di tre anni (mesi)")), w[6]),
            largo(vuota({}, QStringLiteral("Percentuale di detrazione spettante")), w[7]),
            largo(vuota({}, QStringLiteral("Detrazione 100% affidamento figli")), w[8]), largo(vuota({}, {}), w[9])});
    const auto cf = [&](int riga) { return largo(box(riga, 4, codiceFiscale({}, {}, {})), w[4]); };
    const auto mesi = [&](int riga, int col, int i) { return largo(box(riga, col, testo({}, {}, {}, "000")), w[i]); };
    const auto perc = [&](int riga) { return largo(box(riga, 7, testo({}, {}, {}, "100,00")), w[7]); };
    const auto niente = [&](int i) { return largo(vuota({}, {}), w[i]); };
    m.riga({largo(vuota("1", QStringLiteral("CONIUGE")), w[0]), segno(1, 1, 1), niente(2), niente(3), cf(1),
            mesi(1, 5, 5), niente(6), niente(7), niente(8), niente(9)});
    m.riga({largo(vuota("2", QStringLiteral("PRIMO FIGLIO")), w[0]), segno(2, 1, 1), niente(2), segno(2, 3, 3), cf(2),
            mesi(2, 5, 5), mesi(2, 6, 6), perc(2), segno(2, 8, 8), niente(9)});
    for (int r = 3; r <= 9; ++r)
        m.riga({largo(vuota(QString::number(r), QStringLiteral("FAMILIARE")), w[0]), segno(r, 1, 1), segno(r, 2, 2),
                segno(r, 3, 3), cf(r), mesi(r, 5, 5), mesi(r, 6, 6), perc(r), segno(r, 8, 8), niente(9)});
    m.riga({largo(vuota("10", QStringLiteral("Percentuale ulteriore detrazione per famiglie con almeno quattro figli")),
                  w[0] + w[1] + w[2] + w[3] + w[4]),
            largo(box(10, 1, testo({}, {}, {}, "100,00")), w[5] + w[6]), largo(vuota({}, {}), w[7] + w[8] + w[9])});
}

Pagina costruisciPagina3() {
    Modulo m(QStringLiteral("Pagina 3"), QStringLiteral("Zefo2"), 8);
    intestazioneCertificato(m, QString::fromUtf8(kTitoloDipendente), QStringLiteral("Zefo1"));

    m.fascia(QStringLiteral("SOMME EROGATE PER L'INCREMENTO DELLA PRODUTTIVITÀ DEL LAVORO"), false);
    m.riga({imp(201, "Somme erogate assoggettate a imposta sostitutiva"), imp(202, "Imposta sostitutiva"),
            imp(203, "Imposta sostitutiva sospesa"), spunta(204, "Opzione per la tassazione ordinaria"),
            imp(205, "Somme erogate assoggettate a tassazione ordinaria"), vuota({}, {}, 200)});
    m.fascia(QStringLiteral("REDDITI ASSOGGETTATI A RITENUTA A TITOLO D'IMPOSTA"), false);
    m.riga({imp(221, "Redditi assoggettati a ritenuta a titolo d'imposta"), imp(222, "Ritenute a titolo d'imposta"),
            imp(223, "Ritenute sospese"), vuota({}, {}, 300)});
    m.fascia(QStringLiteral("LAVORI SOCIALMENTE UTILI"), false);
    m.riga({imp(241, "Redditi per lavori socialmente utili"), imp(242, "Ritenute Irpef"),
            imp(243, "Addizionale regionale all'Irpef"), imp(244, "Ritenute Irpef sospese"),
            imp(245, "Addizionale regionale sospesa"), imp(246, "Redditi esenti")});
    m.fascia(QStringLiteral("COMPENSI RELATIVI AGLI ANNI PRECEDENTI"), false);
    m.riga({imp(261, "Totale compensi arretrati per i quali è possibile fruire della detrazione"),
            imp(262, "Detrazione"), imp(263, "Ritenute operate"), imp(264, "Ritenute sospese"), vuota({}, {}, 300)});

    m.fascia(QStringLiteral("DATI RELATIVI AI CONGUAGLI IN CASO DI REDDITI EROGATI DA ALTRI SOGGETTI"), false);
    m.riga({imp(301, "Redditi conguagliati già compresi nel punto 1"),
            imp(302, "Redditi conguagliati già compresi nel punto 3"),
            imp(303, "Redditi conguagliati già compresi nel punto 4"),
            imp(304, "Redditi conguagliati già compresi nel punto 5"),
            codiceFiscale("305", QStringLiteral("Codice fiscale del soggetto che ha erogato gli altri redditi"),
                          colonna(305)),
            vuota({}, {}, 120)});
    m.riga({imp(308, "Ritenute Irpef"), imp(309, "Addizionale regionale all'Irpef"), imp(310, "Ritenute Irpef sospese"),
            imp(311, "Addizionale regionale sospesa"), imp(312, "Addizionale comunale – Acconto 2014")});
    m.riga({imp(313, "Addizionale comunale – Saldo 2014"), imp(314, "Addizionale comunale – Acconto 2015"),
            imp(315, "Addizionale comunale sospesa – Acconto 2014"),
            imp(316, "Addizionale comunale sospesa – Saldo 2014"),
            imp(317, "Addizionale comunale sospesa – Acconto 2015")});
    // the ordinary-taxation option (326) belongs to the productivity part, as 204 does above
    m.affianca({3, 5}, {[](Modulo& r) {
                            r.fascia(QStringLiteral("Produttività"), false);
                            r.riga({imp(323, "Somme conguagliate"), imp(324, "Imposta sostitutiva conguagliata"),
                                    spunta(326, "Opzione per la tassazione ordinaria")});
                        },
                        [](Modulo& r) {
                            r.fascia(QStringLiteral("Lavori socialmente utili"), false);
                            r.riga({imp(327, "Redditi conguagliati"), imp(328, "Ritenute Irpef"),
                                    imp(329, "Addizionale regionale"), imp(330, "Ritenute Irpef sospese"),
                                    imp(331, "Addizionale regionale sospesa")});
                        }});

    m.fascia(QStringLiteral("TRATTAMENTO DI FINE RAPPORTO, INDENNITÀ EQUIPOLLENTI, ALTRE INDENNITÀ E PRESTAZIONI IN "
                            "FORMA DI CAPITALE SOGGETTE A TASSAZIONE SEPARATA"),
             false);
    m.riga({imp(401, "Indennità maturate fino al 31/12/2000"), imp(402, "Indennità maturate dal 1/1/2001"),
            imp(403, "Altre indennità e somme soggette a tassazione separata"),
            imp(404, "Acconti e anticipazioni erogati in anni precedenti"), imp(405, "Indennità erogate nell'anno"),
            imp(406, "Imponibile"), imp(407, "Imposta")});
    m.riga({cod(408, "Percentuale di detrazione spettante", "0000,00"), imp(409, "Detrazione"),
            imp(410, "Ritenute operate nell'anno"), imp(411, "Ritenute operate in anni precedenti"),
            imp(412, "Ritenute sospese"), imp(413, "Imposta rideterminata"), vuota({}, {}, 90)});
    m.spazio(6);
    familiari(m);
    return m.fine();
}

}  // namespace

const Pagina& CertificatoPagina2() {
    static const Pagina p = costruisciPagina2();
    return p;
}

const Pagina& CertificatoPagina3() {
    static const Pagina p = costruisciPagina3();
    return p;
}

}  // namespace forms
