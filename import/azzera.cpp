// The archive reset: three questions, then all tables of the command in one transaction.

#include <array>
#include <filesystem>

#include "import/importazione.h"
#include "import/lettori.h"
#include "storage/salvataggi.h"
#include "storage/archivi.h"
#include "storage/invii.h"
#include "storage/sistema.h"

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
    if (!reporter.ask(intestazione + domande[0])) return false;
    if (reporter.ask(intestazione + domande[1])) return false;
    return reporter.ask(intestazione + domande[2]);
}

std::string righe(int n) { return n == 1 ? "1 riga" : std::to_string(n) + " righe"; }

}  // namespace

bool Azzera(storage::Connection& conn, Archivio archivio, storage::Reporter& reporter) {
    if (!conferma(archivio == Archivio::Professionisti ? kDomandeProfessionisti : kDomandeArchivi, conn,
                  reporter))
        return false;

    storage::Salvataggio copia(conn, archivio == Archivio::Ente         ? "azzera-ente"
                                     : archivio == Archivio::Dipendenti ? "azzera-dipendenti"
                                                                        : "azzera-professionisti");
    storage::Transaction transazione(conn);
    std::string esito;
    switch (archivio) {
        case Archivio::Ente:
            conn.exec(
                "update Parametri set Denominazione = '', Salvataggio = '', ConDma = '', "
                "NomeSostituto = '', CodiceFiscale = '', IndirizzoPostaElettronica = '', "
                "TelefonooFax = '', RappCF = '', RappCodiceCarica = '', RappCognome = '', "
                "RappNome = '', InterCF = '', DataImpegno = ''");
            conn.exec(
                "update SostitutoImposta set Annullamento = '', sostituzione = '', "
                "CodiceFiscale = '', CognomeDenominazione = '', Nome = '', TelefonoPref = '', "
                "telefono = '', email = '', CFRapp = '', CodCar = '', CodEnte = '', "
                "CognomeRapp = '', NomeRapp = '', A1 = '', A2 = '', A3 = '', A4 = '', A5 = '', "
                "A6 = '', A7 = '', A8 = '', b1 = '', b2 = '', b3 = '', b4 = '', b5 = '', b6 = ''");
            // The agent travels in every record: each certificate sent is now out of date.
            storage::SegnaModificatiTutti(conn, storage::Elenco::Dipendenti);
            storage::SegnaModificatiTutti(conn, storage::Elenco::Professionisti);
            esito = "Nessuna riga eliminata: svuotati i dati generali dell'Ente.";
            break;
        case Archivio::Dipendenti:
        {
            conn.exec("delete from Zefo1");
            const int certificati = conn.changes();
            conn.exec("delete from Zefo2");
            const int seconde = conn.changes();
            conn.exec("delete from Zefo3");
            const int aggiuntive = conn.changes();
            storage::DimenticaInvii(conn, storage::Elenco::Dipendenti);
            conn.exec(
                "update QuadroCt set NumCellulare = '', B5 = '', B6 = '', B1 = '', B2 = '', "
                "B3 = '', B4 = ''");
            esito = std::string(certificati == 1 ? "Eliminato 1 certificato"
                                                 : "Eliminati " + std::to_string(certificati) +
                                                       " certificati") +
                    " dei dipendenti con " +
                    (aggiuntive == 1 ? "1 riga aggiuntiva" : std::to_string(aggiuntive) + " righe aggiuntive") + " (" +
                    righe(certificati + seconde + aggiuntive) + " in tutto).";
            break;
        }
        case Archivio::Professionisti:
            conn.exec("delete from Professionisti");
            esito = "Eliminate " + righe(conn.changes()) + " dei professionisti.";
            storage::DimenticaInvii(conn, storage::Elenco::Professionisti);
            break;
    }
    transazione.commit();
    copia.conferma();
    reporter.info(std::string(kOperazioneTerminata) + "\n" + esito);
    return true;
}

}  // namespace importazione
