// The receipts' identifiers: one row per accepted certificate, stored in one transaction.

#include "import/ricevute.h"

#include <algorithm>
#include <map>
#include <vector>

#include "import/importazione.h"
#include "import/lettori.h"
#include "import/lettura.h"
#include "storage/cp1252.h"
#include "storage/elenchi.h"
#include "storage/error.h"
#include "storage/reporter.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"

namespace importazione {

namespace {

constexpr std::size_t kOgniRighe = 1024;  // lines between two progress reports
// A receipts line is some tens of characters: one past this is not a line of receipts, and is
// not kept whole in memory.
constexpr std::size_t kRigaMassima = 1 << 20;

// Only spaces and tabs around a cell are dropped: a control character there is damage, refused.
bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view senzaBlank(std::string_view s) {
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// The cells of a line, split at ";" outside quotes, blanks around each dropped. A cell that
// begins with a quote, as spreadsheets write them, is the text up to its closing quote, where ""
// stands for one quote; what follows the closing quote up to the ";" is kept after it.
std::vector<std::string> celle(std::string_view riga) {
    std::vector<std::string> c;
    std::size_t i = 0;
    while (true) {
        while (i < riga.size() && blank(riga[i])) ++i;
        std::string cella;
        if (i < riga.size() && riga[i] == '"') {
            for (++i; i < riga.size(); ++i) {
                if (riga[i] != '"') {
                    cella += riga[i];
                } else if (i + 1 < riga.size() && riga[i + 1] == '"') {
                    cella += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            cella = std::string(senzaBlank(cella));
        }
        const std::size_t fine = std::min(riga.find(';', i), riga.size());
        cella += senzaBlank(riga.substr(i, fine - i));
        c.push_back(std::move(cella));
        if (fine == riga.size()) break;
        i = fine + 1;
    }
    // A separator at the end of the line adds no column.
    if (c.size() > 4 && c.back().empty()) c.pop_back();
    return c;
}

bool cifre(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool lettera(std::string_view s) {
    return !s.empty() && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

// The optional header: the first row, whose number, protocol and progressive columns hold words.
// A first row of values a spreadsheet has rewritten ("1,5031E+16", "#####") is not one: it is
// read, and refused, like any other row.
bool intestazione(const std::vector<std::string>& c) {
    return c.size() == 4 && lettera(c[1]) && lettera(c[2]) && lettera(c[3]);
}

// A long code a spreadsheet turned into a number: digits with a decimal comma or point, or an
// exponent ("1,5031E+16", "15031012345678900.0").
bool riscrittoComeNumero(std::string_view s) {
    const bool soloNumero = std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == ',' || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-';
    });
    return soloNumero && s.find_first_of("0123456789") != std::string_view::npos &&
           s.find_first_of(",.Ee") != std::string_view::npos;
}

std::string mostra(std::string_view bytes) { return storage::ValoreNelMessaggio(InUtf8(bytes)); }

struct Riga {
    storage::Elenco elenco;
    std::int64_t id;
    std::string protocollo, progressivo;
    std::size_t numeroRiga;
};

}  // namespace

std::size_t ImportaRicevute(storage::Connection& conn, const std::string& percorso, storage::Reporter& reporter,
                            std::optional<storage::Elenco> elenco) {
    if (storage::sistema::tipoFile(percorso) == storage::sistema::TipoFile::Mancante)
        throw storage::Error("Il file " + percorso + " non esiste o non si può leggere: nessuna ricevuta importata.");
    std::ifstream in = ApriFileDaImportare(percorso);
    conn.richiediScrittura();

    storage::VerificaCertificati certificati(conn);

    LettoreRighe lettore(in, percorso);
    std::vector<Riga> righe;
    std::map<std::pair<storage::Elenco, std::int64_t>, std::size_t> viste;
    bool primaRiga = true;
    std::string testo;
    while (lettore.leggi()) {
        const std::size_t n = lettore.numero();
        if (n % kOgniRighe == 0 && !reporter.progress(lettore.letti(), lettore.totale())) return 0;
        testo.assign(lettore.riga());
        while (lettore.continua()) {
            testo += lettore.riga();
            if (testo.size() > kRigaMassima)
                throw storage::Error("File " + percorso + ", riga " + std::to_string(n) + ": la riga è lunga più di " +
                                     storage::Conteggio(kRigaMassima) +
                                     " caratteri, non è una riga di ricevute. Nessuna ricevuta è stata importata.");
        }
        const auto c = celle(testo);
        // A blank line, or one of empty cells (";;;", as spreadsheets write empty rows).
        if (std::all_of(c.begin(), c.end(), [](const std::string& v) { return RigaVuota(v); })) continue;
        const bool saltata = primaRiga && intestazione(c);
        primaRiga = false;
        if (saltata) continue;
        auto rifiuta = [&](const std::string& perche) {
            throw storage::Error("File " + percorso + ", riga " + std::to_string(n) + ": " + perche +
                                 " Nessuna ricevuta è stata importata.");
        };
        // What a spreadsheet did to a long code, so that the operator knows how to mend it.
        auto comeNumero = [](std::string_view v) {
            return riscrittoComeNumero(v) ? std::string(
                                                ": un foglio di calcolo l'ha scritto come numero, "
                                                "formattare la colonna come testo.")
                                          : std::string(".");
        };
        if (c.size() != 4)
            rifiuta(
                "attese 4 colonne separate da \";\" (codice fiscale; numero certificato; protocollo; progressivo), "
                "trovate " +
                std::to_string(c.size()) + ".");
        const std::string cf = InUtf8(c[0]);
        const std::string& numero = c[1];
        const std::string& protocollo = c[2];
        const std::string& progressivo = c[3];
        if (cf.empty()) rifiuta("manca il codice fiscale.");
        if (!cifre(numero) || numero.size() > 9 || std::stoll(numero) == 0)
            rifiuta("il numero di certificato \"" + mostra(numero) + "\" non è valido" + comeNumero(numero));
        if (const std::string e = storage::ErroreProtocollo(InUtf8(protocollo)); !e.empty())
            rifiuta(e + comeNumero(protocollo));
        if (const std::string e = storage::ErroreProgressivo(InUtf8(progressivo)); !e.empty())
            rifiuta(e + comeNumero(progressivo));
        const std::int64_t id = std::stoll(numero);
        const bool inDip =
            elenco != storage::Elenco::Professionisti && certificati.esiste(storage::Elenco::Dipendenti, id, cf);
        const bool inProf =
            elenco != storage::Elenco::Dipendenti && certificati.esiste(storage::Elenco::Professionisti, id, cf);
        const std::string certificato = "certificato numero " + std::to_string(id) + " con codice fiscale \"" +
                                        storage::ValoreNelMessaggio(cf) + "\"";
        if (!inDip && !inProf) rifiuta("nessun " + certificato + ".");
        if (inDip && inProf)
            rifiuta("il " + certificato +
                    " è sia di un dipendente sia di un professionista: importare la ricevuta indicando l'elenco.");
        const auto quale = inDip ? storage::Elenco::Dipendenti : storage::Elenco::Professionisti;
        const auto [it, nuova] = viste.emplace(std::make_pair(quale, id), righe.size());
        if (!nuova) {
            const Riga& prima = righe[it->second];
            if (prima.protocollo != protocollo || prima.progressivo != progressivo)
                rifiuta("il certificato numero " + std::to_string(id) +
                        " ha già protocollo e progressivo diversi alla riga " + std::to_string(prima.numeroRiga) + ".");
            continue;
        }
        righe.push_back({quale, id, protocollo, progressivo, n});
    }
    if (righe.empty())
        throw storage::Error("Il file " + percorso + " non contiene ricevute: nessuna ricevuta importata.");

    storage::Salvataggio copia(conn, "importa-ricevute");
    storage::Transaction transazione(conn);
    for (const Riga& r : righe) storage::ScriviIdentificativi(conn, r.elenco, r.id, r.protocollo, r.progressivo);
    transazione.commit();
    copia.conferma();
    reporter.progress(lettore.letti(), lettore.totale());
    reporter.info(std::string(kOperazioneTerminata) + "\n" +
                  (righe.size() == 1 ? std::string("Importata 1 ricevuta")
                                     : "Importate " + storage::Conteggio(righe.size()) + " ricevute") +
                  " dal file " + percorso + ".");
    return righe.size();
}

}  // namespace importazione
