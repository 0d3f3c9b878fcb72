#include "check/rimando.h"

#include <vector>

#include "storage/elenchi.h"
#include "telematic/tracciato.h"

namespace check {

namespace {

using telematic::Sezione;

struct Trovati {
    std::vector<std::pair<Origine, std::int64_t>> righe;
    void cerca(storage::Connection& conn, char tipo, std::int64_t id, const std::string& cf) {
        righe.clear();
        if (tipo != 'H')
            for (auto n : storage::CertificatiConNumeroECodice(conn, storage::Elenco::Dipendenti, id, cf))
                righe.emplace_back(Origine::Dipendente, n);
        if (tipo != 'G')
            for (auto n : storage::CertificatiConNumeroECodice(conn, storage::Elenco::Professionisti, id, cf))
                righe.emplace_back(Origine::Professionista, n);
    }
};

Rimando niente(std::string motivo) {
    Rimando r;
    r.motivo = std::move(motivo);
    return r;
}

}  // namespace

std::string ColonnaDelCampo(char tipoRecord, int modulo, const std::string& codice) {
    if (codice.empty()) return {};
    for (Sezione s : telematic::SezioniDelRecord(tipoRecord, modulo))
        for (const auto& c : telematic::Campi(s)) {
            if (c.codice != codice && c.codice2 != codice) continue;
            if (c.riga == telematic::Riga::Sostituto) return {};
            // a family row's letter is read from the first of its boxes
            for (const auto& colonna : c.colonne)
                if (!colonna.empty()) return telematic::ColonnaDellaSezione(s, colonna);
        }
    return {};
}

Rimando RimandoNellArchivio(storage::Connection& conn, const Problema& p) {
    if (p.origine != Origine::File) {
        Rimando r;
        r.origine = p.origine;
        r.id = p.id;
        r.colonna = p.colonna;
        return r;
    }
    // A problem of the whole file about the frontispiece's boxes (the count of certificates it
    // declares, "B 394-409") is the agent's data too.
    const char tipo = p.tipoRecord == 0 && p.campo.rfind("B ", 0) == 0 ? 'B' : p.tipoRecord;
    switch (tipo) {
    case 'A':
    case 'B': return Rimando{Origine::Sostituto, 0, {}, {}};
    case 'C': return Rimando{Origine::QuadroCt, 0, ColonnaDelCampo('C', 0, p.campo), {}};
    case 'D':
    case 'G':
    case 'H': break;
    case 'Z':
        return niente("Il record Z contiene solo i conteggi dei record del file: non c'è un certificato da aprire.");
    default: return niente("Il problema riguarda il file nel suo insieme: non c'è un certificato da aprire.");
    }
    if (p.id <= 0 && p.codiceFiscale.empty())
        return niente(
            "Il record non indica né il numero del certificato né il codice fiscale del percipiente: "
            "non si può sapere a quale certificato dell'archivio corrisponda.");
    const std::string numero = "n. " + std::to_string(p.id);
    Trovati t;
    t.cerca(conn, p.tipoRecord, p.id, p.codiceFiscale);
    if (t.righe.empty() && p.id > 0 && !p.codiceFiscale.empty()) {
        t.cerca(conn, p.tipoRecord, 0, p.codiceFiscale);
        if (t.righe.size() > 1)
            return niente("Nell'archivio ci sono " + std::to_string(t.righe.size()) +
                          " certificati con il codice fiscale " + p.codiceFiscale + " e nessuno ha il numero " +
                          std::to_string(p.id) + " del file: cercarlo con la ricerca per codice fiscale.");
    }
    if (t.righe.size() > 1)
        return niente("Nell'archivio ci sono " + std::to_string(t.righe.size()) + " certificati " +
                      (p.codiceFiscale.empty() ? "con il " + numero : "con il codice fiscale " + p.codiceFiscale) +
                      ": cercarlo con la ricerca.");
    if (t.righe.empty())
        return niente("Il certificato " + (p.id > 0 ? numero + " " : std::string()) + "del file" +
                      (p.codiceFiscale.empty() ? std::string() : " (codice fiscale " + p.codiceFiscale + ")") +
                      " non è nell'archivio aperto: il file è stato scritto da un altro archivio, oppure il "
                      "certificato è stato cancellato dopo.");
    Rimando r;
    r.origine = t.righe.front().first;
    r.id = t.righe.front().second;
    r.colonna = ColonnaDelCampo(p.tipoRecord, p.modulo, p.campo);
    return r;
}

}  // namespace check
