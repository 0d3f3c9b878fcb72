#include "print/certificato.h"

#include "storage/error.h"

namespace print {

namespace {

const QString kZefo1 = QStringLiteral("Zefo1");
const QString kZefo2 = QStringLiteral("Zefo2");
const QString kZefo3 = QStringLiteral("Zefo3");
const QString kProfessionisti = QStringLiteral("Professionisti");

// Values print left-aligned, check-box marks in the middle of their box; the reports then set
// the few boxes that the form wants otherwise.
void allineamentiDiStampa(PaginaReport& pagina) {
    for (auto& v : pagina.voci()) {
        const Qt::Alignment verticale = v.allineamento & Qt::AlignVertical_Mask;
        v.allineamento = (v.casella ? Qt::AlignHCenter : Qt::AlignLeft) | (verticale ? verticale : Qt::AlignVCenter);
    }
}

bool stessoNome(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

template <typename F>
void perOgni(PaginaReport& pagina, const QString& tabella, const QString& colonna, F f) {
    for (auto& v : pagina.voci())
        if (stessoNome(v.tabella, tabella) && stessoNome(v.colonna, colonna)) f(v);
}

void dimensione(PaginaReport& pagina, const QString& tabella, qreal punti) {
    for (auto& v : pagina.voci())
        if (stessoNome(v.tabella, tabella)) v.puntiFont = punti;
}

void centra(PaginaReport& pagina, const QString& tabella, const QString& colonna) {
    pagina.allinea(tabella, colonna, Qt::AlignHCenter | Qt::AlignVCenter);
}

void aDestra(PaginaReport& pagina, const QString& tabella, const QString& colonna) {
    pagina.allinea(tabella, colonna, Qt::AlignRight | Qt::AlignVCenter);
}

// The "all months" box and the twelve month boxes: bold and see-through, so that the form's
// month letters stay readable under the mark.
void segniMesi(PaginaReport& pagina, const QString& tabella, const QString& tutti, const QString& prefissoMesi) {
    auto segno = [&](const QString& colonna) {
        perOgni(pagina, tabella, colonna, [](Voce& v) {
            // the month's letter stands outside the box, so the mark takes the box's middle
            v.allineamento = Qt::AlignCenter;
            v.puntiFont = 8;
            v.grassetto = true;
            v.trasparente = true;
        });
    };
    segno(tutti);
    for (int m = 1; m <= 12; ++m) segno(prefissoMesi + QString::number(m));
}

// Page 1 of both reports: parts A and B.
PaginaReport paginaAnagrafica(const forms::Pagina& descrizione, const QString& tabella, bool ditteUnite) {
    PaginaReport p(descrizione);
    allineamentiDiStampa(p);
    perOgni(p, tabella, QStringLiteral("A08"), [](Voce& v) { v.puntiFont = 8; });
    centra(p, tabella, QStringLiteral("B44"));
    centra(p, tabella, QStringLiteral("BFirma"));
    if (ditteUnite) {
        // The company name may use the width of both name boxes; the first name is not printed.
        Voce* a02 = p.voce(tabella, QStringLiteral("A02"));
        Voce* a03 = p.voce(tabella, QStringLiteral("A03"));
        if (a02 && a03 && qAbs(a02->rettangolo.top() - a03->rettangolo.top()) < 1) {
            // one white ground over both boxes, so that no frame between them cuts the name
            a02->rettangolo = a02->rettangolo.united(a03->rettangolo);
            a02->spazio = a02->spazio.united(a03->spazio);
            a02->cornice = true;
        }
        p.togli(tabella, QStringLiteral("A03"));
    }
    return p;
}

// Page 4 and 4 bis: a social-security section, from its table, with its three month boxes.
PaginaReport paginaPrevidenziale(const forms::Pagina& descrizione, const QString& tabella) {
    PaginaReport p(descrizione);
    allineamentiDiStampa(p);
    segniMesi(p, tabella, QStringLiteral("D07"), QStringLiteral("D08_"));
    segniMesi(p, tabella, QStringLiteral("D13"), QStringLiteral("D14_"));
    segniMesi(p, tabella, QStringLiteral("D33"), QStringLiteral("D34_"));
    centra(p, kZefo1, QStringLiteral("B01"));
    return p;
}

}  // namespace

ReportCertificato::ReportCertificato(Variante variante) {
    const bool batch = variante == Variante::Batch;
    const QString b01 = QStringLiteral("B01");

    pagine_.push_back(paginaAnagrafica(forms::CertificatoPagina1(), kZefo1, batch));

    PaginaReport p2(forms::CertificatoPagina2());
    allineamentiDiStampa(p2);
    dimensione(p2, kZefo1, 8);
    perOgni(p2, kZefo1, b01, [](Voce& v) { v.puntiFont = forms::kPuntiCodicePercipiente; });
    if (batch) centra(p2, kZefo1, b01);
    pagine_.push_back(std::move(p2));

    PaginaReport p3(forms::CertificatoPagina3());
    allineamentiDiStampa(p3);
    dimensione(p3, kZefo2, 8);
    centra(p3, kZefo1, b01);
    pagine_.push_back(std::move(p3));

    pagine_.push_back(paginaPrevidenziale(forms::CertificatoPagina4(), kZefo2));
    // Page 4 bis carries every box of the further section the file carries (points 1 to 34).
    pagine_.push_back(paginaPrevidenziale(forms::CertificatoPagina4bis(), kZefo3));

    PaginaReport p5(forms::CertificatoPagina5());
    allineamentiDiStampa(p5);
    pagine_.push_back(std::move(p5));

    PaginaReport p6(forms::CertificatoPagina6());
    allineamentiDiStampa(p6);
    if (batch) centra(p6, kZefo1, QStringLiteral("B05"));
    pagine_.push_back(std::move(p6));

    PaginaReport p7(forms::CertificatoPagina7());
    allineamentiDiStampa(p7);
    pagine_.push_back(std::move(p7));
}

std::vector<const PaginaReport*> ReportCertificato::pagine(bool pag4Bis) const {
    std::vector<const PaginaReport*> v;
    for (std::size_t i = 0; i < pagine_.size(); ++i)
        if (i != 4 || pag4Bis) v.push_back(&pagine_[i]);
    return v;
}

void ReportCertificato::stampa(Pittore& pittore, const storage::Certificato& dati) const {
    Sorgenti s;
    s.imposta(kZefo1, dati.zefo1);
    s.imposta(kZefo2, dati.zefo2);
    s.imposta(kZefo3, dati.zefo3);
    for (const PaginaReport* p : pagine(dati.sezioniUlteriori > 0)) pittore.foglio(*p, s);
}

ReportProfessionista::ReportProfessionista(Variante variante) {
    const bool batch = variante == Variante::Batch;
    pagine_.push_back(paginaAnagrafica(forms::ProfessionistaPagina1(), kProfessionisti, false));

    PaginaReport p5(forms::ProfessionistaPagina2());
    p5.rinominaTabella(kZefo1, kProfessionisti);
    allineamentiDiStampa(p5);
    if (batch) {
        for (int n : {4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})
            aDestra(p5, kProfessionisti, QStringLiteral("E%1").arg(n, 2, 10, QChar('0')));
    }
    pagine_.push_back(std::move(p5));

    // The per mille sheet is the employees' one, filled from the professional's row.
    PaginaReport p6(forms::CertificatoPagina6());
    p6.rinominaTabella(kZefo1, kProfessionisti);
    allineamentiDiStampa(p6);
    if (batch) centra(p6, kProfessionisti, QStringLiteral("B05"));
    pagine_.push_back(std::move(p6));

    PaginaReport p7(forms::CertificatoPagina7());
    p7.rinominaTabella(kZefo1, kProfessionisti);
    allineamentiDiStampa(p7);
    pagine_.push_back(std::move(p7));
}

void ReportProfessionista::stampa(Pittore& pittore, const storage::Row& professionista) const {
    Sorgenti s;
    s.imposta(kProfessionisti, professionista);
    for (const auto& p : pagine_) pittore.foglio(p, s);
}

const ReportCertificato& ReportDipendenti(Variante variante) {
    static const ReportCertificato editor(Variante::Editor);
    static const ReportCertificato batch(Variante::Batch);
    return variante == Variante::Batch ? batch : editor;
}

const ReportProfessionista& ReportProfessionisti(Variante variante) {
    static const ReportProfessionista editor(Variante::Editor);
    static const ReportProfessionista batch(Variante::Batch);
    return variante == Variante::Batch ? batch : editor;
}

Lavoro LavoroCertificato(storage::Certificato dati, Variante variante) {
    return [dati = std::move(dati), variante](Pittore& p) {
        ReportDipendenti(variante).stampa(p, dati);
        return true;
    };
}

namespace {

// Prints each of ids in turn, read by `leggi` (the lettore and a number) when the job runs.
template <class Leggi>
Lavoro lavoroDiMolti(storage::Connection& conn, std::vector<std::int64_t> ids, storage::Reporter* reporter,
                     Leggi leggi) {
    return [&conn, ids = std::move(ids), reporter, leggi](Pittore& p) {
        storage::LettoreCertificati lettore(conn);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (reporter && !reporter->progress(i, ids.size())) return false;
            // A certificate deleted since the selection has nothing left to print.
            leggi(p, lettore, ids[i]);
        }
        if (reporter) reporter->progress(ids.size(), ids.size());
        return true;
    };
}

}  // namespace

Lavoro LavoroCertificati(storage::Connection& conn, std::vector<std::int64_t> ids, Variante variante,
                         storage::Reporter* reporter) {
    return lavoroDiMolti(
        conn, std::move(ids), reporter,
        [&report = ReportDipendenti(variante)](Pittore& p, storage::LettoreCertificati& l, std::int64_t id) {
            if (auto dati = l.certificato(id)) report.stampa(p, *dati);
        });
}

Lavoro LavoroProfessionista(storage::Row professionista, Variante variante) {
    return [riga = std::move(professionista), variante](Pittore& p) {
        ReportProfessionisti(variante).stampa(p, riga);
        return true;
    };
}

Lavoro LavoroProfessionisti(storage::Connection& conn, std::vector<std::int64_t> ids, Variante variante,
                            storage::Reporter* reporter) {
    return lavoroDiMolti(
        conn, std::move(ids), reporter,
        [&report = ReportProfessionisti(variante)](Pittore& p, storage::LettoreCertificati& l, std::int64_t id) {
            if (auto riga = l.professionista(id)) report.stampa(p, *riga);
        });
}

namespace {

PaginaReport paginaSemplice(const forms::Pagina& descrizione) {
    PaginaReport p(descrizione);
    allineamentiDiStampa(p);
    return p;
}

}  // namespace

Lavoro LavoroSostituto(storage::Connection& conn) {
    Sorgenti s;
    s.imposta(QStringLiteral("SostitutoImposta"), storage::LeggiSostituto(conn));
    return [s = std::move(s)](Pittore& p) {
        static const PaginaReport pagina = [] {
            PaginaReport r = paginaSemplice(forms::Frontespizio());
            const QString tabella = QStringLiteral("SostitutoImposta");
            // The agent's tax code prints twice: large in the page header, plain with its data.
            Voce* testata = nullptr;
            for (auto& v : r.voci())
                if (stessoNome(v.tabella, tabella) && stessoNome(v.colonna, QStringLiteral("CodiceFiscale")) &&
                    (!testata || v.rettangolo.top() < testata->rettangolo.top()))
                    testata = &v;
            int quanti = 0;
            for (const auto& v : r.voci()) quanti += stessoNome(v.colonna, QStringLiteral("CodiceFiscale")) ? 1 : 0;
            if (testata && quanti > 1) {
                testata->puntiFont = 12;
                testata->grassetto = true;
            }
            for (const char* c : {"TelefonoPref", "telefono", "A5", "A6", "A7"})
                perOgni(r, tabella, QString::fromLatin1(c), [](Voce& v) { v.puntiFont = 8; });
            return r;
        }();
        p.foglio(pagina, s);
        return true;
    };
}

Lavoro LavoroQuadroCT(storage::Connection& conn) {
    Sorgenti s;
    s.imposta(QStringLiteral("SostitutoImposta"), storage::LeggiSostituto(conn));
    s.imposta(QStringLiteral("QuadroCt"), storage::LeggiQuadroCt(conn));
    return [s = std::move(s)](Pittore& p) {
        static const PaginaReport pagina = paginaSemplice(forms::PaginaQuadroCT());
        p.foglio(pagina, s);
        return true;
    };
}

}  // namespace print
