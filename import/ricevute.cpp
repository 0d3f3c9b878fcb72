// The receipts' identifiers: one row per accepted certificate, stored in one transaction.

#include "import/ricevute.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <vector>

#include "import/lettori.h"
#include "storage/error.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"

namespace importazione {

namespace {

std::string_view rifila(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    // A spreadsheet may quote every cell.
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = rifila(s.substr(1, s.size() - 2));
    return s;
}

bool cifre(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::vector<std::string_view> colonne(std::string_view riga) {
    std::vector<std::string_view> c;
    while (true) {
        const auto p = riga.find(';');
        c.push_back(rifila(riga.substr(0, p)));
        if (p == std::string_view::npos) break;
        riga.remove_prefix(p + 1);
    }
    // A separator at the end of the line adds no column.
    if (c.size() > 4 && c.back().empty()) c.pop_back();
    return c;
}

struct Riga {
    storage::Elenco elenco;
    std::int64_t id;
    std::string protocollo, progressivo;
    long numeroRiga;
};

}  // namespace

std::size_t ImportaRicevute(storage::Connection& conn, const std::string& percorso, storage::Reporter& reporter,
                            std::optional<storage::Elenco> elenco) {
    std::ifstream in(storage::sistema::nativo(percorso), std::ios::binary);
    if (!in) throw storage::Error("Il file " + percorso + " non esiste o non si può leggere: nessuna ricevuta importata.");
    conn.richiediScrittura();

    storage::Statement dip(conn, "select 1 from Zefo1 where ID = ? and B01 = ?");
    storage::Statement prof(conn, "select 1 from Professionisti where ID = ? and B01 = ?");
    auto trova = [&](storage::Statement& st, std::int64_t id, std::string_view cf) {
        st.reset();
        st.bind(1, id).bind(2, cf);
        return st.step();
    };

    std::vector<Riga> righe;
    std::map<std::pair<storage::Elenco, std::int64_t>, std::size_t> viste;
    std::string testo;
    bool primaRiga = true;
    for (long n = 1; std::getline(in, testo); ++n) {
        const std::string_view riga = rifila(testo);
        if (riga.empty()) continue;
        const auto c = colonne(riga);
        const bool intestazione = primaRiga && c.size() >= 3 && !cifre(c[1]) && !cifre(c[2]);
        primaRiga = false;
        if (intestazione) continue;
        const std::string dove = "File " + percorso + ", riga " + std::to_string(n) + ": ";
        auto rifiuta = [&](const std::string& perche) {
            throw storage::Error(dove + perche + " Nessuna ricevuta è stata importata.");
        };
        if (c.size() != 4)
            rifiuta("attese 4 colonne separate da \";\" (codice fiscale; numero certificato; protocollo; progressivo), "
                    "trovate " + std::to_string(c.size()) + ".");
        const std::string cf(c[0]), numero(c[1]), protocollo(c[2]), progressivo(c[3]);
        if (cf.empty()) rifiuta("manca il codice fiscale.");
        if (!cifre(numero) || numero.size() > 9 || std::stoll(numero) == 0)
            rifiuta("il numero di certificato \"" + numero + "\" non è valido.");
        if (!cifre(protocollo) || protocollo.size() != storage::kCifreProtocollo)
            rifiuta("il protocollo \"" + protocollo + "\" non è di 17 cifre.");
        if (!cifre(progressivo) || progressivo.size() != storage::kCifreProgressivo)
            rifiuta("il progressivo \"" + progressivo + "\" non è di 6 cifre.");
        const std::int64_t id = std::stoll(numero);
        const bool inDip = elenco != storage::Elenco::Professionisti && trova(dip, id, cf);
        const bool inProf = elenco != storage::Elenco::Dipendenti && trova(prof, id, cf);
        if (!inDip && !inProf)
            rifiuta("nessun certificato numero " + std::to_string(id) + " con codice fiscale \"" + cf + "\".");
        if (inDip && inProf)
            rifiuta("il certificato numero " + std::to_string(id) + " con codice fiscale \"" + cf +
                    "\" è sia di un dipendente sia di un professionista: importare la ricevuta indicando l'elenco.");
        const auto quale = inDip ? storage::Elenco::Dipendenti : storage::Elenco::Professionisti;
        const auto [it, nuova] = viste.emplace(std::make_pair(quale, id), righe.size());
        if (!nuova) {
            const Riga& prima = righe[it->second];
            if (prima.protocollo != protocollo || prima.progressivo != progressivo)
                rifiuta("il certificato numero " + std::to_string(id) + " ha già protocollo e progressivo diversi alla riga " +
                        std::to_string(prima.numeroRiga) + ".");
            continue;
        }
        righe.push_back({quale, id, protocollo, progressivo, n});
    }
    if (righe.empty()) throw storage::Error("Il file " + percorso + " non contiene ricevute: nessuna ricevuta importata.");

    storage::Salvataggio copia(conn, "importa-ricevute");
    storage::Transaction transazione(conn);
    for (const Riga& r : righe) storage::ScriviIdentificativi(conn, r.elenco, r.id, r.protocollo, r.progressivo);
    transazione.commit();
    copia.conferma();
    reporter.info(std::string(kOperazioneTerminata) + "\n" +
                  (righe.size() == 1 ? std::string("Importata 1 ricevuta") : "Importate " + std::to_string(righe.size()) + " ricevute") +
                  " dal file " + percorso + ".");
    return righe.size();
}

}  // namespace importazione
