// The renumbering of the certificates whose number the transmission file cannot carry.

#include <string>
#include <vector>

#include "import/importazione.h"
#include "import/lettori.h"
#include "storage/certificati.h"
#include "storage/invii.h"
#include "storage/salvataggi.h"
#include "telematic/numeri.h"

namespace importazione {

namespace {

using storage::Elenco;

struct Piano {
    Elenco elenco;
    std::vector<telematic::NumeroFuori> fuori;
    storage::NuoviNumeri nuovi;
};

const char* dellElenco(Elenco e) { return e == Elenco::Dipendenti ? "dei dipendenti" : "dei professionisti"; }

std::string certificati(std::size_t n) { return n == 1 ? "1 certificato" : storage::Conteggio(n) + " certificati"; }

// "123401-123436 diventano 1-36; 150000 diventa 40": runs of consecutive numbers, the first few.
std::string intervalli(const storage::NuoviNumeri& nuovi) {
    constexpr std::size_t kMostrati = 5;
    std::string t;
    std::size_t gruppi = 0;
    for (std::size_t i = 0, j = 0; i < nuovi.size(); i = j + 1) {
        j = i;
        while (j + 1 < nuovi.size() && nuovi[j + 1].first == nuovi[j].first + 1 &&
               nuovi[j + 1].second == nuovi[j].second + 1)
            ++j;
        if (++gruppi > kMostrati) {
            t += "; ...";
            break;
        }
        if (!t.empty()) t += "; ";
        const auto [da, a] = nuovi[i];
        if (i == j)
            t += std::to_string(da) + " diventa " + std::to_string(a);
        else
            t += std::to_string(da) + "-" + std::to_string(nuovi[j].first) + " diventano " + std::to_string(a) + "-" +
                 std::to_string(nuovi[j].second);
    }
    return t;
}

}  // namespace

EsitoRinumerazione Rinumera(storage::Connection& conn, storage::Reporter& reporter) {
    conn.richiediScrittura();
    const std::int64_t massimo = telematic::NumeroCertificatoMassimo();
    std::vector<Piano> piani;
    std::string inviati, senzaPosto;
    {
        storage::Lettura lettura(conn);
        storage::LettoreInvii invii(conn);
        for (const Elenco elenco : {Elenco::Dipendenti, Elenco::Professionisti}) {
            Piano p{elenco, telematic::NumeriFuoriLimite(conn, elenco), {}};
            if (p.fuori.empty()) continue;
            // A receipt names the number the file carried: no receipt can have named these, so
            // identifiers on them were typed, and the operator must say whose they are.
            for (const auto& f : p.fuori) {
                const storage::StatoInvio s = invii.leggi(elenco, f.id);
                if (!s.protocollo.empty())
                    inviati += "\nCertificato " + std::to_string(f.id) + " (" + f.nominativo + "): protocollo " +
                               s.protocollo + ", progressivo " + s.progressivo;
            }
            const auto liberi = storage::NumeriLiberi(conn, elenco, massimo, p.fuori.size());
            if (liberi.size() < p.fuori.size())
                senzaPosto += std::string(senzaPosto.empty() ? "" : "\n") + "nell'elenco " + dellElenco(elenco) +
                              " restano " + storage::Conteggio(liberi.size()) + " numeri liberi da 1 a " +
                              std::to_string(massimo) + " per " + certificati(p.fuori.size()) + " da rinumerare.";
            else
                for (std::size_t i = 0; i < p.fuori.size(); ++i) p.nuovi.emplace_back(p.fuori[i].id, liberi[i]);
            piani.push_back(std::move(p));
        }
    }
    if (piani.empty()) {
        reporter.info("Tutti i certificati hanno un numero da 1 a " + std::to_string(massimo) +
                      ": non c'è nulla da rinumerare.");
        return EsitoRinumerazione::NienteDaFare;
    }
    if (!inviati.empty()) {
        reporter.error(
            "Nessun certificato è stato rinumerato: questi certificati hanno protocollo e progressivo di un invio "
            "accettato, e un nuovo numero li staccherebbe da ciò che l'Agenzia ha ricevuto." +
            inviati +
            "\nControllare protocollo e progressivo nel certificato: se non sono suoi, toglierli e rinumerare di "
            "nuovo.");
        return EsitoRinumerazione::Rifiutata;
    }
    if (!senzaPosto.empty()) {
        reporter.error("Nessun certificato è stato rinumerato: " + senzaPosto +
                       "\nIl file non porta più certificati di così: eliminare quelli da non inviare o dividerli tra "
                       "più archivi.");
        return EsitoRinumerazione::Rifiutata;
    }

    std::string domanda = "Rinumerare i certificati il cui numero non entra nelle cinque cifre del file (da 1 a " +
                          std::to_string(massimo) + ")?";
    std::string esito = kOperazioneTerminata;
    for (const Piano& p : piani) {
        const std::string riga =
            certificati(p.nuovi.size()) + " " + dellElenco(p.elenco) + ": " + intervalli(p.nuovi) + ".";
        domanda += "\n" + riga;
        esito += (p.nuovi.size() == 1 ? "\nRinumerato " : "\nRinumerati ") + riga;
    }
    domanda +=
        "\nOgni certificato tiene ciò che è registrato dei suoi invii (file scritto, protocollo, segno per la prossima "
        "fornitura). Prima viene salvata una copia dell'archivio.";
    if (!reporter.ask(domanda)) return EsitoRinumerazione::Annullata;

    storage::Salvataggio copia(conn, "rinumera");
    {
        storage::Transaction transazione(conn);
        for (const Piano& p : piani) storage::RinumeraCertificati(conn, p.elenco, p.nuovi);
        transazione.commit();
    }
    copia.conferma();
    reporter.info(esito);
    return EsitoRinumerazione::Fatta;
}

}  // namespace importazione
