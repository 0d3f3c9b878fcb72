#include "telematic/generazione.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "storage/config.h"
#include "storage/cp1252.h"
#include "storage/error.h"

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

// The professionals' run shows each report in a box and goes on after it.
class SegnalatoreMessaggi : public SegnalatoreErrori {
public:
    explicit SegnalatoreMessaggi(storage::Reporter& r) : r_(r) {}
    void segnala(const std::string& testo) override { r_.error(testo); }

private:
    storage::Reporter& r_;
};

// A file written under a temporary name in its folder, renamed over the target by commit();
// dropped with its content otherwise, so a failed run leaves the earlier file as it was.
class FileTemporaneo {
public:
    explicit FileTemporaneo(std::string destinazione) : dest_(std::move(destinazione)) {
        fs::path d(dest_);
        tmp_ = (d.parent_path() / ("." + d.filename().string() + ".tmp")).string();
        out_.open(tmp_, std::ios::binary | std::ios::trunc);
        if (!out_) throw storage::Error("Impossibile creare il file " + dest_ + ".");
        out_.rdbuf()->pubsetbuf(buffer_, sizeof buffer_);
    }
    ~FileTemporaneo() {
        if (!fatto_) {
            out_.close();
            std::error_code ec;
            fs::remove(tmp_, ec);
        }
    }
    std::ofstream& stream() { return out_; }
    void verifica() {
        if (!out_) throw storage::Error("Errore di scrittura del file " + dest_ + ".");
    }
    void chiudi() {
        out_.flush();
        verifica();
        out_.close();
        if (out_.fail()) throw storage::Error("Errore di scrittura del file " + dest_ + ".");
    }
    void commit() {
        std::error_code ec;
        fs::rename(tmp_, dest_, ec);
        if (ec) throw storage::Error("Impossibile scrivere il file " + dest_ + ": " + ec.message());
        fatto_ = true;
    }

private:
    std::string dest_, tmp_;
    std::ofstream out_;
    char buffer_[1 << 16];
    bool fatto_ = false;
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

std::string nomeDi(const Row& r) { return r.text("B02") + " " + r.text("B03"); }

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

    LetturaConsistente lettura(conn);
    const Row sostituto = primaRiga(conn, "SostitutoImposta");
    const Row quadro = primaRiga(conn, "QuadroCt");
    const std::string selezione =
        QuerySelezioneDipendenti(opz.dipendenti, opz.amministratori, opz.collaboratori);
    const auto totale = static_cast<std::size_t>(conta(conn, selezione));

    FileTemporaneo invio(ris.percorsoFile);
    FileTemporaneo log(ris.percorsoLog);
    SegnalatoreLog segnalatore(log.stream());
    ContestoCampi campi{&segnalatore, &reporter, Fornitura::Dipendenti, {}};
    ContestoRecord ctx{invio.stream(), campi, {}};
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
        if (!prosegui(++fatti, totale, invio, reporter)) {
            ris.esito = Esito::Annullato;
            return ris;
        }
    }
    ctx.CertificatoCorrente.clear();
    ScriviRecordZ(ctx, n);
    invio.chiudi();
    log.chiudi();
    invio.commit();
    log.commit();
    reporter.progress(totale, totale);
    ris.esito = Esito::Concluso;
    reporter.info("Operazione conclusa. Controlla il file LOG");
    return ris;
}

RisultatoGenerazione GeneraFileProfessionisti(storage::Connection& conn,
                                              const OpzioniGenerazione& opz,
                                              storage::Reporter& reporter) {
    RisultatoGenerazione ris;
    if (!preparaCartella(opz, reporter, ris, opz.nomeFile)) return ris;
    if (!consentita(opz, ris)) return ris;

    LetturaConsistente lettura(conn);
    const Row sostituto = primaRiga(conn, "SostitutoImposta");
    const Row quadro = primaRiga(conn, "QuadroCt");
    const std::string selezione = "select * from professionisti order by ID";
    const auto totale = static_cast<std::size_t>(conta(conn, selezione));

    FileTemporaneo invio(ris.percorsoFile);
    SegnalatoreMessaggi segnalatore(reporter);
    ContestoCampi campi{&segnalatore, &reporter, Fornitura::Professionisti, {}};
    ContestoRecord ctx{invio.stream(), campi, {}};
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
        if (!prosegui(++fatti, totale, invio, reporter)) {
            ris.esito = Esito::Annullato;
            return ris;
        }
    }
    ctx.CertificatoCorrente.clear();
    ScriviRecordZ(ctx, n);
    invio.chiudi();
    invio.commit();
    reporter.progress(totale, totale);
    ris.esito = Esito::Concluso;
    reporter.info("Operazione conclusa");
    return ris;
}

}  // namespace telematic
