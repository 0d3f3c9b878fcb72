// The archive reset: three questions, then all tables of the command in one transaction.

#include <array>
#include <filesystem>

#include "import/importazione.h"
#include "import/lettori.h"
#include "storage/archivi.h"
#include "storage/invii.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"
#include "storage/sostituto.h"

namespace importazione {

namespace {

// The texts are the system's own: "\r" is a line break, which the window shows as a new line.
constexpr std::array<const char*, 3> kDomandeArchivi = {
    "Questa procedura elimina tutti i dati presenti negli archivi. \r"
    "Sei veramente sicuro di voler procedere  ?",
    "ATTENZIONE: Questa procedura elimina tutti i dati presenti negli archivi. \r"
    "Sei veramente sicuro di non voler procedere  ?",
    "ATTENZIONE:\r\rUltimo avviso. \r\rSe premi si verranno eliminati tutti i dati presenti "
    "nell'archivio.\rQuesta operazione non è annullabile\rSei veramente sicuro di  voler "
    "procedere  ?",
};

constexpr std::array<const char*, 3> kDomandeProfessionisti = {
    "Questa procedura elimina tutti i dati presenti negli archivi dei professionisti . \r"
    "Sei veramente sicuro di voler procedere  ?",
    "ATTENZIONE: Questa procedura elimina tutti i dati presenti negli archivi dei "
    "professionisti . \rSei veramente sicuro di non voler procedere  ?",
    "ATTENZIONE:\r\rUltimo avviso. \r\rSe premi si verranno eliminati tutti i dati presenti "
    "nell'archivio dei professionisti .\rQuesta operazione non è annullabile\rSei veramente "
    "sicuro di  voler procedere  ?",
};

// The answers that go on, question by question.
constexpr std::array<bool, 3> kRisposteCheProcedono = {true, false, true};

// Yes, No, Yes goes on; any other answer stops at once. Each question is preceded by a line
// naming the archive and its agent: an office keeps one archive per agent.
bool conferma(const std::array<const char*, 3>& domande, storage::Connection& conn, storage::Reporter& reporter) {
    const std::string sostituto = storage::nomeSostituto(conn);
    std::string cartella = storage::sistema::utf8(storage::sistema::nativo(conn.percorso()).parent_path());
    if (cartella.empty()) cartella = conn.percorso();
    const std::string intestazione =
        "Archivio: " + cartella + " (" +
        (sostituto.empty() ? std::string("sostituto d'imposta non indicato") : "sostituto d'imposta " + sostituto) +
        ")\r";
    for (std::size_t i = 0; i < domande.size(); ++i)
        if (reporter.ask(intestazione + domande[i]) != kRisposteCheProcedono[i]) return false;
    return true;
}

std::string righe(std::int64_t n) { return n == 1 ? "1 riga" : std::to_string(n) + " righe"; }

}  // namespace

std::optional<bool> RispostaCheProcede(std::string_view domanda) {
    for (const auto* domande : {&kDomandeArchivi, &kDomandeProfessionisti})
        for (std::size_t i = 0; i < domande->size(); ++i) {
            const std::string_view d = (*domande)[i];
            // after the line that names the archive
            if (domanda.size() >= d.size() && domanda.substr(domanda.size() - d.size()) == d)
                return kRisposteCheProcedono[i];
        }
    return std::nullopt;
}

DatiAzzerati DatiDellAzzeramento(Archivio archivio) {
    DatiAzzerati d;
    switch (archivio) {
    case Archivio::Ente: d.sostituto = true; break;
    // the intermediary's boxes of the Quadro CT go with the employees
    case Archivio::Dipendenti: d.dipendenti = d.quadroCt = true; break;
    case Archivio::Professionisti: d.professionisti = true; break;
    }
    return d;
}

bool Azzera(storage::Connection& conn, Archivio archivio, storage::Reporter& reporter) {
    if (!conferma(archivio == Archivio::Professionisti ? kDomandeProfessionisti : kDomandeArchivi, conn, reporter))
        return false;

    storage::Salvataggio copia(conn, archivio == Archivio::Ente         ? "azzera-ente"
                                     : archivio == Archivio::Dipendenti ? "azzera-dipendenti"
                                                                        : "azzera-professionisti");
    storage::Transaction transazione(conn);
    std::string esito;
    switch (archivio) {
    case Archivio::Ente:
        storage::SvuotaDatiEnte(conn);
        // The agent travels in every record: each certificate sent is now out of date.
        storage::SegnaModificatiTutti(conn, storage::Elenco::Dipendenti);
        storage::SegnaModificatiTutti(conn, storage::Elenco::Professionisti);
        esito = "Nessuna riga eliminata: svuotati i dati generali dell'Ente.";
        break;
    case Archivio::Dipendenti: {
        const auto n = storage::EliminaCertificati(conn, storage::Elenco::Dipendenti);
        const auto certificati = n.certificati, seconde = n.seconde, aggiuntive = n.aggiuntive;
        storage::DimenticaInvii(conn, storage::Elenco::Dipendenti);
        storage::SvuotaIntermediarioQuadroCt(conn);
        esito = std::string(certificati == 1 ? "Eliminato 1 certificato"
                                             : "Eliminati " + std::to_string(certificati) + " certificati") +
                " dei dipendenti con " +
                (aggiuntive == 1 ? "1 riga aggiuntiva" : std::to_string(aggiuntive) + " righe aggiuntive") + " (" +
                righe(certificati + seconde + aggiuntive) + " in tutto).";
        break;
    }
    case Archivio::Professionisti:
        esito = "Eliminate " + righe(storage::EliminaCertificati(conn, storage::Elenco::Professionisti).certificati) +
                " dei professionisti.";
        storage::DimenticaInvii(conn, storage::Elenco::Professionisti);
        break;
    }
    transazione.commit();
    copia.conferma();
    reporter.info(std::string(kOperazioneTerminata) + "\n" + esito);
    return true;
}

}  // namespace importazione
