#include "telematic/selezione.h"

#include <algorithm>

#include "storage/certificati.h"
#include "storage/reporter.h"
#include "storage/sostituto.h"
#include "telematic/numeri.h"

namespace telematic {

using storage::Elenco;
using storage::Operazione;

namespace {

bool contiene(const std::vector<std::int64_t>& v, std::int64_t id) {
    return std::binary_search(v.begin(), v.end(), id);
}

std::string elencoNumeri(const std::vector<std::int64_t>& ids) {
    std::string t;
    for (const auto id : ids) t += (t.empty() ? "" : ", ") + std::to_string(id);
    return t;
}

std::vector<std::int64_t> ordinati(std::vector<std::int64_t> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

}  // namespace

bool Selezione::ammette(std::int64_t id) const { return !parziale || contiene(numeri, id); }

storage::Operazione OperazioneDi(TipoFornitura f) {
    switch (f) {
    case TipoFornitura::Sostituzione: return Operazione::Sostituzione;
    case TipoFornitura::Annullamento: return Operazione::Annullamento;
    case TipoFornitura::Ordinaria: break;
    }
    return Operazione::Nessuna;
}

const char* NomeCorrezione(TipoFornitura f) {
    return f == TipoFornitura::Annullamento ? "annullamento" : "sostituzione";
}

Selezione Seleziona(storage::Connection& conn, Elenco elenco, const OpzioniGenerazione& opz, std::string* rifiuto) {
    Selezione s;
    s.elenco = elenco;
    auto rifiuta = [&](std::string testo) {
        *rifiuto = std::move(testo);
        return Selezione{elenco, false, {}};
    };
    const bool correzione = opz.fornitura != TipoFornitura::Ordinaria;
    if (correzione && opz.quadroCt) return rifiuta(kRifiutoCtCorrezione);
    if (correzione && opz.scelti)
        return rifiuta("La scelta dei certificati vale solo per una fornitura ordinaria: una fornitura di " +
                       std::string(NomeCorrezione(opz.fornitura)) + " invia i certificati segnati.");
    std::vector<std::int64_t> soli, esclusi;
    if (correzione) {
        soli = storage::MarcatiCon(conn, elenco, OperazioneDi(opz.fornitura));
    } else if (opz.scelti) {
        soli = ordinati(*opz.scelti);
        if (soli.empty()) return rifiuta("Nessun certificato scelto: non c'è nulla da inviare.");
        const auto mancanti = storage::CertificatiMancanti(conn, elenco, soli);
        if (!mancanti.empty())
            return rifiuta((mancanti.size() == 1 ? "Il certificato scelto " : "I certificati scelti ") +
                           elencoNumeri(mancanti) + (mancanti.size() == 1 ? " non esiste." : " non esistono."));
    } else {
        esclusi = storage::MarcatiCon(conn, elenco, Operazione::Escluso);
        // Nothing left out: the run is today's, counts and all.
        if (esclusi.empty()) return s;
    }
    s.parziale = true;
    for (const auto id : storage::NumeriDellElenco(conn, elenco, opz.tipi))
        if (correzione || opz.scelti ? contiene(soli, id) : !contiene(esclusi, id)) s.numeri.push_back(id);
    if (correzione && s.numeri.empty())
        return rifiuta(std::string("Nessun certificato è segnato per la fornitura di ") +
                       NomeCorrezione(opz.fornitura) + ": non c'è nulla da inviare.");
    if (opz.scelti && s.numeri.size() < soli.size()) {
        std::vector<std::int64_t> fuori;
        for (const auto id : soli)
            if (!contiene(s.numeri, id)) fuori.push_back(id);
        return rifiuta((fuori.size() == 1 ? "Il certificato " : "I certificati ") + elencoNumeri(fuori) +
                       (fuori.size() == 1 ? " non è" : " non sono") + " tra quelli dei tipi scelti.");
    }
    return s;
}

std::string MancanoIdentificativi(storage::Connection& conn, const Selezione& selezione, TipoFornitura fornitura) {
    if (fornitura == TipoFornitura::Ordinaria) return {};
    std::string righe;
    for (const auto id : selezione.numeri) {
        const storage::StatoInvio st = storage::LeggiInvio(conn, selezione.elenco, id);
        if (!st.haIdentificativi())
            righe +=
                "\nCertificato " + std::to_string(id) + " (" + storage::Nominativo(conn, selezione.elenco, id) + ")";
    }
    if (righe.empty()) return {};
    return std::string(
               "Nessun file è stato scritto: mancano protocollo e progressivo dell'invio precedente nei "
               "certificati segnati per la fornitura di ") +
           NomeCorrezione(fornitura) + ":" + righe;
}

std::string NumeriNonTrasmissibili(storage::Connection& conn, const Selezione& selezione, const storage::Tipi& tipi) {
    constexpr std::size_t kMostrati = 10;
    std::string righe;
    std::size_t quanti = 0;
    for (const auto& f : NumeriFuoriLimite(conn, selezione.elenco, &tipi)) {
        if (!selezione.ammette(f.id)) continue;
        if (++quanti <= kMostrati) righe += "\nCertificato " + std::to_string(f.id) + " (" + f.nominativo + ")";
    }
    if (quanti == 0) return {};
    if (quanti > kMostrati) righe += "\n... e altri " + std::to_string(quanti - kMostrati);
    const std::string massimo = std::to_string(NumeroCertificatoMassimo());
    return "Nessun file è stato scritto: nel file il numero del certificato ha cinque cifre (da 1 a " + massimo +
           ") e " +
           (quanti == 1 ? std::string("questo certificato ne ha uno che non vi rientra")
                        : std::to_string(quanti) + " certificati ne hanno uno che non vi rientra") +
           ": il file lo taglierebbe alle prime cifre, ripetendo i numeri di altri." + righe +
           "\nRinumerare i certificati (Importazione dati, «Rinumera i certificati…», oppure palio2015-cli "
           "rinumera --conferma), poi generare di nuovo il file.";
}

storage::Row SostitutoPerFornitura(storage::Connection& conn, const storage::Row& sostituto,
                                   const OpzioniGenerazione& opz, const Selezione& selezione) {
    if (opz.fornitura == TipoFornitura::Ordinaria && !selezione.parziale) return sostituto;
    std::vector<std::pair<std::string, std::string>> nuovi;
    if (opz.fornitura != TipoFornitura::Ordinaria) {
        nuovi.emplace_back("Annullamento", opz.fornitura == TipoFornitura::Annullamento ? "1" : "");
        nuovi.emplace_back("sostituzione", opz.fornitura == TipoFornitura::Sostituzione ? "1" : "");
        nuovi.emplace_back("A3", "");  // no Quadro CT goes with a correction
    }
    const std::string n = std::to_string(selezione.numeri.size());
    const bool dip = selezione.elenco == Elenco::Dipendenti;
    nuovi.emplace_back("A1", dip ? n : "0");
    nuovi.emplace_back("A2", dip ? "0" : n);

    // With no agent's row every column reads empty, as the writers read an empty row.
    storage::Row r = sostituto;
    if (r.empty()) r = storage::RigaVuota(conn, storage::Tabella::SostitutoImposta);
    for (auto& [nome, valore] : nuovi) r.at(static_cast<std::size_t>(r.columns()->require(nome))) = valore;
    return r;
}

std::string ConteggioFornitura::testo() const {
    const bool numero = !memorizzato.empty() && memorizzato.find_first_not_of("0123456789") == std::string::npos &&
                        memorizzato.size() < 16;
    const std::string scritto = memorizzato.empty() ? "0"
                                : numero            ? storage::Conteggio(std::stoull(memorizzato))
                                                    : memorizzato;
    return "I conteggi del frontespizio (" + scritto + ") non corrispondono ai certificati della fornitura (" +
           storage::Conteggio(static_cast<std::uint64_t>(certificati)) + ")";
}

ConteggioFornitura ConfrontaConteggio(storage::Connection& conn, const storage::Row& sostituto,
                                      const OpzioniGenerazione& opz, const Selezione& selezione) {
    ConteggioFornitura c;
    // A correction or a partial supply writes the counts it carries; with no agent's row record B
    // has no counts to speak of.
    if (opz.fornitura != TipoFornitura::Ordinaria || selezione.parziale || sostituto.empty()) return c;
    const bool dip = selezione.elenco == Elenco::Dipendenti;
    c.colonna = dip ? "A1" : "A2";
    c.memorizzato = std::string(Rifila(sostituto.text(c.colonna)));
    c.certificati = dip ? storage::ContaDeiTipi(conn, opz.tipi) : storage::ContaProfessionisti(conn);
    c.tuttoLElenco = !dip || opz.tipi == storage::Tipi::tutti() ||
                     c.certificati == storage::ContaDeiTipi(conn, storage::Tipi::tutti());
    const bool numero = c.memorizzato.find_first_not_of("0123456789") == std::string::npos && c.memorizzato.size() < 16;
    const std::int64_t letto = c.memorizzato.empty() ? 0 : numero ? std::stoll(c.memorizzato) : -1;
    c.diverso = letto != c.certificati;
    return c;
}

void AggiornaConteggio(storage::Connection& conn, const ConteggioFornitura& c) {
    storage::ScriviConteggioSostituto(conn, c.colonna, std::to_string(c.certificati));
}

}  // namespace telematic
