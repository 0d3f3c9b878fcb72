#include "telematic/generazione.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "storage/certificati.h"
#include "storage/config.h"
#include "storage/cp1252.h"
#include "storage/error.h"
#include "storage/esclusiva.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"
#include "telematic/selezione.h"
#include "telematic/uscita.h"

namespace telematic {

namespace fs = std::filesystem;
namespace sis = storage::sistema;
using storage::Row;

namespace {

// The log of the employees' run: one Windows-1252 line per message, ended by CR LF.
class SegnalatoreLog : public SegnalatoreErrori {
public:
    explicit SegnalatoreLog(std::ostream& out) : out_(out) {}
    void segnala(const std::string& testo) override { out_ << storage::aWindows1252(testo) << "\r\n"; }

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
        opz_.segnalazione(std::strtoll(id.c_str(), nullptr, 10),
                          id.empty() ? std::string() : ctx_->campi.NominativoCorrente, testo);
    }
    const ContestoRecord* ctx_ = nullptr;  // the run's context, once it exists

private:
    storage::Reporter& r_;
    const OpzioniGenerazione& opz_;
};

// Room left in a name for the hidden companions a run writes beside the file (".NAME.palio-PID-R.tmp").
constexpr std::size_t kNomeFileMassimo = 200;

// Why the typed name cannot be the file's, or empty: it must stay inside the chosen folder and be
// one the system can create.
std::string nomeFileNonValido(const std::string& nome) {
    if (nome.find('/') != std::string::npos || nome.find('\\') != std::string::npos)
        return "Il nome del file non può contenere separatori di cartella (/ o \\)";
    if (nome.find("..") != std::string::npos) return "Il nome del file non può contenere \"..\"";
    for (const unsigned char c : nome)
        if (c < 0x20 || c == 0x7f) return "Il nome del file contiene caratteri di controllo non ammessi";
    if (nome.size() > kNomeFileMassimo)
        return "Il nome del file è troppo lungo (al massimo " + std::to_string(kNomeFileMassimo) + " caratteri)";
    return {};
}

// Why the destination is one of the program's own files, or empty: writing there would destroy
// the open archive, one of its copies or the folder's lock.
std::string destinazioneRiservata(const storage::Connection& conn, const std::string& cartella,
                                  const std::string& nome) {
    if (nome == kNomeBlocco) return "Il file " + nome + " è riservato al programma: scegliere un altro nome";
    const std::string& db = conn.percorso();
    if (db.empty() || db == ":memory:") return {};
    std::error_code ec;
    const fs::path dest = fs::weakly_canonical(sis::nativo(cartella) / sis::nativo(nome), ec);
    const fs::path archivio = fs::weakly_canonical(sis::nativo(db), ec);
    for (const char* coda : {"", "-journal", "-wal", "-shm"})
        if (dest == (fs::path(archivio) += coda))
            return "Il file " + nome +
                   " è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella";
    const fs::path copie = fs::weakly_canonical(sis::nativo(storage::cartellaSalvataggi(conn)), ec);
    if (!copie.empty() && dest.parent_path() == copie)
        return "La cartella " + cartella + " contiene le copie di sicurezza dell'archivio: scegliere un'altra cartella";
    return {};
}

// Steps shared by both runs before anything is written: the folder, the overwrite question.
bool preparaCartella(const storage::Connection& conn, const OpzioniGenerazione& opz, storage::Reporter& reporter,
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
    if (const std::string motivo = nomeFileNonValido(nomeFile); !motivo.empty()) {
        reporter.error(motivo);
        return false;
    }
    if (const std::string motivo = destinazioneRiservata(conn, cartella, nomeFile); !motivo.empty()) {
        reporter.error(motivo);
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(sis::nativo(cartella))) {
        fs::create_directories(sis::nativo(cartella), ec);
        if (!fs::is_directory(sis::nativo(cartella))) {
            reporter.error("Impossibile creare la cartella di destinazione " + cartella +
                           (ec ? ": " + ec.message() : std::string()));
            return false;
        }
    }
    if (cartella.size() > 1 && (cartella.back() == storage::kSeparatore || cartella.back() == '/')) cartella.pop_back();
    ris.cartella = cartella;
    ris.percorsoFile = cartella + storage::kSeparatore + nomeFile;
    if (fs::exists(sis::nativo(ris.percorsoFile))) {
        if (!reporter.ask("Il file " + nomeFile + " esiste già. Lo vuoi sovrascrivere?")) {
            reporter.error("Modificare il nome del file da generare");
            return false;
        }
    }
    return true;
}

// The frontispiece's count of the list against the certificates a whole supply carries; false,
// with nothing written, when the operator keeps a count the Agency would reject.
bool conteggiConcordi(storage::Connection& conn, const OpzioniGenerazione& opz, const Selezione& selezione,
                      storage::Reporter& reporter, ConteggioFornitura& conteggio) {
    conteggio = ConfrontaConteggio(conn, storage::LeggiSostituto(conn), opz, selezione);
    if (!conteggio.diverso) return true;
    if (opz.aggiornaConteggi) return opz.aggiornaConteggi(conteggio.testo());
    if (reporter.ask(conteggio.testo() + ": aggiornarli?")) return true;
    reporter.error(
        "Nessun file è stato scritto: i conteggi del frontespizio devono corrispondere ai certificati inviati.");
    return false;
}

// Record B's agent row for this supply, with the count of the list as the supply carries it when
// the operator chose to update it.
Row sostitutoDellaFornitura(storage::Connection& conn, const Row& sostituto, const OpzioniGenerazione& opz,
                            const Selezione& selezione, const ConteggioFornitura& conteggio) {
    Row r = SostitutoPerFornitura(conn, sostituto, opz, selezione);
    if (conteggio.diverso && !r.empty())
        r.at(static_cast<std::size_t>(r.columns()->require(conteggio.colonna))) = std::to_string(conteggio.certificati);
    return r;
}

// A whole list's supply whose count was updated stores it as the frontispiece's; a failure here
// leaves the file as written and says so.
void registraConteggio(storage::Connection& conn, const ConteggioFornitura& conteggio, storage::Reporter& reporter) {
    if (!conteggio.diverso || !conteggio.tuttoLElenco || !conn.solaLettura().empty()) return;
    try {
        AggiornaConteggio(conn, conteggio);
    } catch (const storage::Error& e) {
        reporter.error(
            std::string(
                "Il file è stato scritto, ma il conteggio del frontespizio non è stato aggiornato nell'archivio.\n") +
            e.what());
    }
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

// The certificates of the run, or nullopt after the refusal's message. A correction clears marks
// at the end, so it needs an archive it can write.
std::optional<Selezione> seleziona(storage::Connection& conn, storage::Elenco elenco, const OpzioniGenerazione& opz,
                                   storage::Reporter& reporter) {
    std::string rifiuto;
    Selezione s = Seleziona(conn, elenco, opz, &rifiuto);
    if (rifiuto.empty()) rifiuto = MancanoIdentificativi(conn, s, opz.fornitura);
    if (rifiuto.empty()) rifiuto = NumeriNonTrasmissibili(conn, s, opz.tipi);
    if (rifiuto.empty() && opz.fornitura != TipoFornitura::Ordinaria && !conn.solaLettura().empty())
        rifiuto = "L'archivio " + conn.percorso() + " è in sola lettura: " + conn.solaLettura() +
                  ". Una fornitura di " + NomeCorrezione(opz.fornitura) +
                  " deve poter togliere i segni dei certificati inviati.";
    if (rifiuto.empty()) return s;
    reporter.error(rifiuto);
    return std::nullopt;
}

// The identifiers a correction's D record carries; none in an ordinary supply. tiene keeps the text.
Identificativi identificativi(storage::Connection& conn, storage::Elenco elenco, const OpzioniGenerazione& opz,
                              std::int64_t id, storage::StatoInvio& tiene) {
    if (opz.fornitura == TipoFornitura::Ordinaria) return {};
    tiene = storage::LeggiInvio(conn, elenco, id);
    return {tiene.protocollo, tiene.progressivo};
}

// After the files are in place: each certificate written records the file and the time, and a
// correction's marks are cleared, all at once. A failure here leaves the files as written and
// says what was not recorded.
void registraInvio(storage::Connection& conn, storage::Elenco elenco, const OpzioniGenerazione& opz,
                   const std::vector<std::int64_t>& scritti, const std::string& file, storage::Reporter& reporter) {
    if (!conn.solaLettura().empty()) return;
    std::error_code ec;
    const fs::path assoluto = fs::absolute(sis::nativo(file), ec);
    try {
        storage::Transaction t(conn);
        storage::SegnaScritti(conn, elenco, scritti, ec ? file : sis::utf8(assoluto),
                              opz.fornitura != TipoFornitura::Ordinaria);
        t.commit();
    } catch (const storage::Error& e) {
        reporter.error(
            "Il file è stato scritto, ma l'invio non è stato registrato nell'archivio" +
            std::string(opz.fornitura != TipoFornitura::Ordinaria
                            ? " e i certificati restano segnati: togliere i segni prima della prossima fornitura"
                            : "") +
            ".\n" + e.what());
    }
}

// The final message's note when the run could record nothing of what it sent.
std::string avvisoSolaLettura(const storage::Connection& conn) {
    return conn.solaLettura().empty() ? std::string()
                                      : "\nl'invio non è stato registrato: l'archivio è in sola lettura";
}

}  // namespace

std::string NomeLog(const OpzioniGenerazione& opz) {
    if (opz.fornitura == TipoFornitura::Ordinaria) return kNomeLog;
    // A correction keeps the ordinary supply's log: its own is named after its file.
    const std::string radice = sis::utf8(sis::nativo(opz.nomeFile).stem()) + ".log";
    auto uguali = [](const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    };
    if (uguali(radice, kNomeLog) || uguali(radice, opz.nomeFile) || radice == ".log") return opz.nomeFile + ".log";
    return radice;
}

const char* ParolaFornitura(TipoFornitura f) {
    switch (f) {
    case TipoFornitura::Sostituzione: return "sostituzione";
    case TipoFornitura::Annullamento: return "annullamento";
    case TipoFornitura::Ordinaria: break;
    }
    return "ordinaria";
}

std::optional<TipoFornitura> FornituraDaParola(std::string_view parola) {
    for (auto f : {TipoFornitura::Ordinaria, TipoFornitura::Sostituzione, TipoFornitura::Annullamento})
        if (parola == ParolaFornitura(f)) return f;
    return std::nullopt;
}

namespace {

// Writes a supply's records into the locked folder: false when the operator cancelled.
using ScriviCertificati = std::function<bool(const Selezione& selezione, const ConteggioFornitura& conteggio,
                                             CartellaUscita& uscita, std::vector<std::int64_t>& scritti)>;

// The run both supplies share: the choice, the folder, the frontispiece counts and the folder's
// lock before writing; what was written and the counts recorded after. True when concluded.
// nomeLog: the run's log, written beside the file; empty for a run without one.
bool corsa(storage::Connection& conn, storage::Elenco elenco, const OpzioniGenerazione& opz,
           storage::Reporter& reporter, const std::string& nomeLog, RisultatoGenerazione& ris,
           const ScriviCertificati& scrivi) {
    // Before anything is chosen: a correction run must not pick the marks another is sending.
    const auto esclusiva = storage::GenerazioneEsclusiva::prendi(conn, opz.attesaBlocco);
    if (!esclusiva) {
        reporter.error(storage::MessaggioGenerazioneInCorso(conn));
        return false;
    }
    const auto selezione = seleziona(conn, elenco, opz, reporter);
    if (!selezione) return false;
    if (!preparaCartella(conn, opz, reporter, ris, opz.nomeFile)) return false;
    ConteggioFornitura conteggio;
    if (!conteggiConcordi(conn, opz, *selezione, reporter, conteggio)) return false;
    if (!consentita(opz, ris)) return false;
    if (!nomeLog.empty()) ris.percorsoLog = ris.cartella + storage::kSeparatore + nomeLog;
    const auto uscita = bloccaCartella(opz, reporter, ris);
    if (!uscita) return false;

    std::vector<std::int64_t> scritti;
    if (!scrivi(*selezione, conteggio, *uscita, scritti)) {
        ris.esito = Esito::Annullato;
        return false;
    }
    registraInvio(conn, elenco, opz, scritti, ris.percorsoFile, reporter);
    registraConteggio(conn, conteggio, reporter);
    ris.esito = Esito::Concluso;
    return true;
}

}  // namespace

RisultatoGenerazione GeneraFileDipendenti(storage::Connection& conn, const OpzioniGenerazione& opz,
                                          storage::Reporter& reporter) {
    RisultatoGenerazione ris;
    if (opz.tipi.nessuno()) {
        reporter.error("Attenzione, non hai selezionato alcun tipo di fornitura da esportare.");
        return ris;
    }
    const std::string nomeLog = NomeLog(opz);
    const auto scrivi = [&](const Selezione& selezione, const ConteggioFornitura& conteggio, CartellaUscita& uscita,
                            std::vector<std::int64_t>& scritti) {
        storage::Lettura lettura(conn);
        const Row sostituto = storage::LeggiSostituto(conn);
        const Row quadro = storage::LeggiQuadroCt(conn);
        storage::ScorriCertificati certificati(conn, opz.tipi);
        const std::size_t totale = selezione.parziale ? selezione.numeri.size() : certificati.totale();

        const auto invio = uscita.crea(opz.nomeFile);
        const auto log = uscita.crea(nomeLog);
        SegnalatoreLog segnalatore(log->stream());
        ContestoCampi campi{&segnalatore, &reporter, Fornitura::Dipendenti, {}};
        ContestoRecord ctx{invio->stream(), campi, {}};
        Contatori& n = ris.conta;

        ScriviTesta(ctx, opz, sostitutoDellaFornitura(conn, sostituto, opz, selezione, conteggio), quadro, n);

        storage::StatoInvio statoInvio;
        std::size_t fatti = 0;
        while (certificati.prossimo()) {
            const storage::Certificato& c = certificati.corrente();
            if (!selezione.ammette(c.id)) continue;
            scritti.push_back(c.id);
            campi.NominativoCorrente = nomeDi(c.zefo1);
            ctx.CertificatoCorrente = std::to_string(c.id);
            n.ContaD += ScriviRecordD(ctx, sostituto, c.zefo1,
                                      identificativi(conn, storage::Elenco::Dipendenti, opz, c.id, statoInvio));
            n.ContaG += ScriviRecordG(ctx, sostituto, c.zefo1, c.zefo2);
            if (!c.zefo3.empty()) n.ContaG += ScriviRecordG2(ctx, sostituto, c.zefo1, c.zefo3);
            if (!prosegui(++fatti, totale, *invio, reporter)) return false;
        }
        ctx.CertificatoCorrente.clear();
        ScriviRecordZ(ctx, n);
        uscita.sostituisci({invio.get(), log.get()});
        reporter.progress(totale, totale);
        return true;
    };
    if (!corsa(conn, storage::Elenco::Dipendenti, opz, reporter, nomeLog, ris, scrivi)) return ris;
    // The log's full path follows, so the operator knows where to look.
    std::error_code ec;
    const fs::path logAssoluto = fs::absolute(sis::nativo(ris.percorsoLog), ec);
    reporter.info("Operazione conclusa. Controlla il file LOG\n" + (ec ? ris.percorsoLog : sis::utf8(logAssoluto)) +
                  avvisoSolaLettura(conn));
    return ris;
}

RisultatoGenerazione GeneraFileProfessionisti(storage::Connection& conn, const OpzioniGenerazione& opz,
                                              storage::Reporter& reporter) {
    RisultatoGenerazione ris;
    const auto scrivi = [&](const Selezione& selezione, const ConteggioFornitura& conteggio, CartellaUscita& uscita,
                            std::vector<std::int64_t>& scritti) {
        storage::Lettura lettura(conn);
        const Row sostituto = storage::LeggiSostituto(conn);
        const Row quadro = storage::LeggiQuadroCt(conn);
        const auto totale =
            selezione.parziale ? selezione.numeri.size() : static_cast<std::size_t>(storage::ContaProfessionisti(conn));

        const auto invio = uscita.crea(opz.nomeFile);
        SegnalatoreMessaggi segnalatore(reporter, opz);
        ContestoCampi campi{&segnalatore, &reporter, Fornitura::Professionisti, {}};
        ContestoRecord ctx{invio->stream(), campi, {}};
        segnalatore.ctx_ = &ctx;
        Contatori& n = ris.conta;

        ScriviTesta(ctx, opz, sostitutoDellaFornitura(conn, sostituto, opz, selezione, conteggio), quadro, n);
        storage::ScorriProfessionisti prof(conn);
        storage::StatoInvio statoInvio;
        std::size_t fatti = 0;
        while (prof.prossimo()) {
            const std::int64_t id = prof.numero();
            if (!selezione.ammette(id)) continue;
            scritti.push_back(id);
            const Row& p = prof.riga();
            campi.NominativoCorrente = nomeDi(p);
            ctx.CertificatoCorrente = p.text("ID");
            n.ContaD += ScriviRecordD(ctx, sostituto, p,
                                      identificativi(conn, storage::Elenco::Professionisti, opz, id, statoInvio));
            n.ContaH += ScriviRecordH(ctx, sostituto, p);
            if (!prosegui(++fatti, totale, *invio, reporter)) return false;
        }
        ctx.CertificatoCorrente.clear();
        ScriviRecordZ(ctx, n);
        uscita.sostituisci({invio.get()});
        reporter.progress(totale, totale);
        return true;
    };
    if (!corsa(conn, storage::Elenco::Professionisti, opz, reporter, {}, ris, scrivi)) return ris;
    reporter.info("Operazione conclusa" + avvisoSolaLettura(conn));
    return ris;
}

}  // namespace telematic
