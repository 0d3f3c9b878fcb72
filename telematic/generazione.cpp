#include "telematic/generazione.h"

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "storage/config.h"
#include "storage/cp1252.h"
#include "storage/error.h"
#include "telematic/uscita.h"

namespace telematic {

namespace fs = std::filesystem;
using storage::Row;
using storage::Statement;

namespace {

// The log of the employees' run: one Windows-1252 line per message, ended by CR LF.
class SegnalatoreLog : public SegnalatoreErrori {
public:
    explicit SegnalatoreLog(std::ostream& out) : out_(out) {}
    void segnala(const std::string& testo) override {
        out_ << storage::aWindows1252(testo) << "\r\n";
    }

private:
    std::ostream& out_;
};

// The professionals' run hands each report to the caller with its certificate, or shows it in
// a box; either way it goes on after it.
class SegnalatoreMessaggi : public SegnalatoreErrori {
public:
    SegnalatoreMessaggi(storage::Reporter& r, const OpzioniGenerazione& opz) : r_(r), opz_(opz) {}
    void segnala(const std::string& testo) override {
        if (!opz_.segnalazione || !ctx_) return r_.error(testo);
        const std::string& id = ctx_->CertificatoCorrente;
        opz_.segnalazione(std::strtoll(id.c_str(), nullptr, 10), id.empty() ? std::string() : ctx_->campi.NominativoCorrente,
                          testo);
    }
    const ContestoRecord* ctx_ = nullptr;  // the run's context, once it exists

private:
    storage::Reporter& r_;
    const OpzioniGenerazione& opz_;
};

Row primaRiga(storage::Connection& conn, const std::string& tabella) {
    Statement st(conn, "select * from " + tabella + " order by ID limit 1");
    auto colonne = storage::Columns::of(st);
    if (st.step()) return Row::from(st, colonne);
    return Row(colonne, {});
}

// Steps shared by both runs before anything is written: the folder, the overwrite question.
bool preparaCartella(const OpzioniGenerazione& opz, storage::Reporter& reporter,
                     RisultatoGenerazione& ris, const std::string& nomeFile) {
    std::string cartella = opz.cartella;
    if (Rifila(cartella).empty()) {
        reporter.error("Indicare la cartella di destinazione");
        return false;
    }
    if (Rifila(nomeFile).empty()) {
        reporter.error("Indicare il nome del file da generare");
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(cartella)) {
        fs::create_directories(cartella, ec);
        if (!fs::is_directory(cartella)) {
            reporter.error("Impossibile creare la cartella di destinazione " + cartella +
                           (ec ? ": " + ec.message() : std::string()));
            return false;
        }
    }
    if (cartella.size() > 1 && (cartella.back() == storage::kSeparatore || cartella.back() == '/'))
        cartella.pop_back();
    ris.cartella = cartella;
    ris.percorsoFile = cartella + storage::kSeparatore + nomeFile;
    if (fs::exists(ris.percorsoFile)) {
        if (!reporter.ask("Il file " + nomeFile + " esiste già. Lo vuoi sovrascrivere?")) {
            reporter.error("Modificare il nome del file da generare");
            return false;
        }
    }
    return true;
}

// The caller's last word before writing (the window's pre-send check).
bool consentita(const OpzioniGenerazione& opz, RisultatoGenerazione& ris) {
    if (!opz.primaDiScrivere || opz.primaDiScrivere()) return true;
    ris.esito = Esito::Annullato;
    return false;
}

// The folder, held by this run alone until it ends; nullptr (and the message) when another run
// keeps it past the wait.
std::unique_ptr<CartellaUscita> bloccaCartella(const OpzioniGenerazione& opz, storage::Reporter& reporter,
                                               const RisultatoGenerazione& ris) {
    auto cartella = CartellaUscita::blocca(ris.cartella, opz.attesaBlocco);
    if (!cartella) reporter.error(MessaggioCartellaOccupata(ris.cartella));
    return cartella;
}

std::int64_t conta(storage::Connection& conn, const std::string& select) {
    Statement st(conn, "select count(*) from (" + select + ")");
    st.step();
    return st.integer(0);
}

// A read transaction keeps the run's view of the archive consistent and its reads fast.
class LetturaConsistente {
public:
    explicit LetturaConsistente(storage::Connection& c) : c_(c) { c_.exec("BEGIN"); }
    ~LetturaConsistente() {
        try {
            c_.exec("COMMIT");
        } catch (...) {
        }
    }

private:
    storage::Connection& c_;
};

// Records A, B and, when asked, C: the head both supplies share.
void ScriviTesta(ContestoRecord& ctx, const OpzioniGenerazione& opz, const Row& sostituto, const Row& quadro,
                 Contatori& n) {
    ScriviRecordA(ctx, opz.tipoFornitore, sostituto);
    ScriviRecordB(ctx, sostituto);
    n.ContaB = 1;
    if (opz.quadroCt) {
        ScriviRecordC(ctx, sostituto, quadro);
        n.ContaC = 1;
    }
}

// Every 256 certificates a write check and the progress report; false when the operator cancelled.
bool prosegui(std::size_t fatti, std::size_t totale, FileTemporaneo& invio, storage::Reporter& reporter) {
    if (fatti % 256 != 0) return true;
    invio.verifica();
    return reporter.progress(fatti, totale);
}

std::string nomeDi(const Row& r) { return storage::senzaControlli(r.text("B02") + " " + r.text("B03")); }

}  // namespace

std::string QuerySelezioneDipendenti(bool dip, bool amm, bool coc) {
    std::string q = "select * from Zefo1 where id IN(select Id from Zefo2 where (1=0)";
    if (dip) q += " OR (tipo= 'DIP')  ";
    if (amm) q += " OR (tipo= 'AMM')  ";
    if (coc) q += " OR (tipo= 'CoC')  ";
    q += ") order by ID";
    return q;
}

RisultatoGenerazione GeneraFileDipendenti(storage::Connection& conn, const OpzioniGenerazione& opz,
                                          storage::Reporter& reporter) {
    RisultatoGenerazione ris;
    if (!opz.dipendenti && !opz.amministratori && !opz.collaboratori) {
        reporter.error("Attenzione, non hai selezionato alcun tipo di fornitura da esportare.");
        return ris;
    }
    if (!preparaCartella(opz, reporter, ris, opz.nomeFile)) return ris;
    if (!consentita(opz, ris)) return ris;
    ris.percorsoLog = ris.cartella + storage::kSeparatore + kNomeLog;
    const auto uscita = bloccaCartella(opz, reporter, ris);
    if (!uscita) return ris;

    LetturaConsistente lettura(conn);
    const Row sostituto = primaRiga(conn, "SostitutoImposta");
    const Row quadro = primaRiga(conn, "QuadroCt");
    const std::string selezione =
        QuerySelezioneDipendenti(opz.dipendenti, opz.amministratori, opz.collaboratori);
    const auto totale = static_cast<std::size_t>(conta(conn, selezione));

    const auto invio = uscita->crea(opz.nomeFile);
    const auto log = uscita->crea(kNomeLog);
    SegnalatoreLog segnalatore(log->stream());
    ContestoCampi campi{&segnalatore, &reporter, Fornitura::Dipendenti, {}};
    ContestoRecord ctx{invio->stream(), campi, {}};
    Contatori& n = ris.conta;

    ScriviTesta(ctx, opz, sostituto, quadro, n);

    Statement certificati(conn, selezione);
    Statement zefo2(conn, "select * from zefo2 where id = ? order by IdNooo limit 1");
    Statement zefo3(conn, "select * from Zefo3 where ID = ? order by IDNoooo limit 1");
    auto col1 = storage::Columns::of(certificati);
    auto col2 = storage::Columns::of(zefo2);
    auto col3 = storage::Columns::of(zefo3);
    std::size_t fatti = 0;
    while (certificati.step()) {
        const Row z1 = Row::from(certificati, col1);
        const std::int64_t id = certificati.integer(col1->require("ID"));
        zefo2.reset();
        zefo2.bind(1, id);
        const Row z2 = zefo2.step() ? Row::from(zefo2, col2) : Row(col2, {});
        zefo2.reset();
        campi.NominativoCorrente = nomeDi(z1);
        ctx.CertificatoCorrente = std::to_string(id);
        n.ContaD += ScriviRecordD(ctx, sostituto, z1);
        n.ContaG += ScriviRecordG(ctx, sostituto, z1, z2);
        zefo3.reset();
        zefo3.bind(1, id);
        if (zefo3.step()) {
            const Row z3 = Row::from(zefo3, col3);
            n.ContaG += ScriviRecordG2(ctx, sostituto, z1, z3);
        }
        zefo3.reset();
        if (!prosegui(++fatti, totale, *invio, reporter)) {
            ris.esito = Esito::Annullato;
            return ris;
        }
    }
    ctx.CertificatoCorrente.clear();
    ScriviRecordZ(ctx, n);
    uscita->sostituisci({invio.get(), log.get()});
    reporter.progress(totale, totale);
    ris.esito = Esito::Concluso;
    // The log's full path follows, so the operator knows where to look.
    std::error_code ec;
    const fs::path logAssoluto = fs::absolute(ris.percorsoLog, ec);
    reporter.info("Operazione conclusa. Controlla il file LOG\n" + (ec ? ris.percorsoLog : logAssoluto.string()));
    return ris;
}

RisultatoGenerazione GeneraFileProfessionisti(storage::Connection& conn,
                                              const OpzioniGenerazione& opz,
                                              storage::Reporter& reporter) {
    RisultatoGenerazione ris;
    if (!preparaCartella(opz, reporter, ris, opz.nomeFile)) return ris;
    if (!consentita(opz, ris)) return ris;
    const auto uscita = bloccaCartella(opz, reporter, ris);
    if (!uscita) return ris;

    LetturaConsistente lettura(conn);
    const Row sostituto = primaRiga(conn, "SostitutoImposta");
    const Row quadro = primaRiga(conn, "QuadroCt");
    const std::string selezione = "select * from professionisti order by ID";
    const auto totale = static_cast<std::size_t>(conta(conn, selezione));

    const auto invio = uscita->crea(opz.nomeFile);
    SegnalatoreMessaggi segnalatore(reporter, opz);
    ContestoCampi campi{&segnalatore, &reporter, Fornitura::Professionisti, {}};
    ContestoRecord ctx{invio->stream(), campi, {}};
    segnalatore.ctx_ = &ctx;
    Contatori& n = ris.conta;

    ScriviTesta(ctx, opz, sostituto, quadro, n);
    Statement prof(conn, selezione);
    auto colonne = storage::Columns::of(prof);
    std::size_t fatti = 0;
    while (prof.step()) {
        const Row p = Row::from(prof, colonne);
        campi.NominativoCorrente = nomeDi(p);
        ctx.CertificatoCorrente = p.text("ID");
        n.ContaD += ScriviRecordD(ctx, sostituto, p);
        n.ContaH += ScriviRecordH(ctx, sostituto, p);
        if (!prosegui(++fatti, totale, *invio, reporter)) {
            ris.esito = Esito::Annullato;
            return ris;
        }
    }
    ctx.CertificatoCorrente.clear();
    ScriviRecordZ(ctx, n);
    uscita->sostituisci({invio.get()});
    reporter.progress(totale, totale);
    ris.esito = Esito::Concluso;
    reporter.info("Operazione conclusa");
    return ris;
}

}  // namespace telematic
