#include "storage/tabelle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>

#include "storage/error.h"
#include "storage/motore.h"
#include "storage/schema.h"

namespace storage {

namespace {

constexpr Tabella kTabelle[] = {
    Tabella::SostitutoImposta, Tabella::QuadroCt, Tabella::Zefo1, Tabella::Zefo2, Tabella::Zefo3,
    Tabella::Professionisti};
constexpr const char* kNomi[] = {"SostitutoImposta", "QuadroCt", "Zefo1", "Zefo2", "Zefo3", "Professionisti"};
static_assert(std::size(kNomi) == std::size(kTabelle));

std::string sqlInsert(Tabella tabella, const char* const* nomi, std::size_t quante) {
    std::string sql = std::string("insert into ") + NomeTabella(tabella) + " (";
    std::string posti;
    for (std::size_t i = 0; i < quante; ++i) {
        sql += (i ? ", " : "") + std::string(nomi[i]);
        posti += i ? ", ?" : "?";
    }
    return sql + ") values (" + posti + ")";
}

}  // namespace

const char* NomeTabella(Tabella t) { return kNomi[static_cast<std::size_t>(t)]; }

const char* ChiaveTabella(Tabella t) {
    // The key column is named once, in the tables' description.
    static const auto chiavi = [] {
        std::array<std::string, std::size(kTabelle)> c;
        for (Tabella x : kTabelle) {
            c[static_cast<std::size_t>(x)] = schema::chiave(NomeTabella(x));
            if (c[static_cast<std::size_t>(x)].empty())
                throw Error(std::string("La tabella ") + NomeTabella(x) +
                            " non ha una colonna chiave nella descrizione.");
        }
        return c;
    }();
    return chiavi[static_cast<std::size_t>(t)].c_str();
}

std::optional<Tabella> TabellaDelNome(std::string_view nome) {
    for (Tabella t : kTabelle) {
        const std::string_view n = NomeTabella(t);
        if (n.size() == nome.size() && std::equal(n.begin(), n.end(), nome.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return t;
    }
    return std::nullopt;
}

std::int64_t ContaRighe(Connection& conn, Tabella tabella) {
    Statement st(conn, std::string("select count(*) from ") + NomeTabella(tabella));
    st.step();
    return st.integer(0);
}

InserimentoRighe::InserimentoRighe(Connection& conn, Tabella tabella, const char* const* colonne, std::size_t quante)
    : conn_(conn), insert_(conn, sqlInsert(tabella, colonne, quante)) {}

std::int64_t InserimentoRighe::inserisci(const std::vector<std::string>& valori, const std::vector<bool>& presenti) {
    insert_.reset();
    for (std::size_t i = 0; i < valori.size(); ++i)
        if (presenti[i]) insert_.bindSenzaCopia(static_cast<int>(i + 1), valori[i]);
    insert_.step();
    return conn_.lastInsertId();
}

namespace {
// Rows a block statement holds: 200 of the widest table's 70 columns stay within both engines'
// limits on a statement's parameters.
constexpr std::size_t kRigheBlocco = 200;
}  // namespace

InserimentoABlocchi::InserimentoABlocchi(Connection& conn, Tabella tabella, const char* const* colonne,
                                         std::size_t quante, bool conChiave)
    : conn_(conn), tabella_(tabella), colonne_(colonne), quante_(quante), conChiave_(conChiave) {}

std::string InserimentoABlocchi::testo(std::size_t righe) const {
    std::string sql = std::string("insert into ") + NomeTabella(tabella_) + " (";
    if (conChiave_) sql += std::string(ChiaveTabella(tabella_)) + (quante_ ? ", " : "");
    for (std::size_t i = 0; i < quante_; ++i) sql += (i ? ", " : "") + std::string(colonne_[i]);
    std::string riga = "(";
    for (std::size_t i = 0; i < quante_ + (conChiave_ ? 1 : 0); ++i) riga += i ? ", ?" : "?";
    riga += ")";
    sql += ") values ";
    for (std::size_t r = 0; r < righe; ++r) sql += (r ? ", " : "") + riga;
    return sql;
}

void InserimentoABlocchi::inserisci(std::span<const RigaNuova> righe) {
    const std::size_t larghezza = quante_ + (conChiave_ ? 1 : 0);
    if (righe.empty()) return;
    if (inFlusso(righe)) return;
    PerBlocchi(
        conn_, righe.size(), kRigheBlocco, [this](std::size_t k) { return testo(k); },
        [&](Statement& st, std::size_t i, std::size_t k) {
            const RigaNuova& riga = righe[i];
            int p = static_cast<int>(k * larghezza) + 1;
            if (conChiave_) st.bind(p++, riga.chiave);
            for (std::size_t c = 0; c < quante_; ++c, ++p)
                if ((*riga.presenti)[c]) st.bindSenzaCopia(p, (*riga.valori)[c]);
        },
        pieno_);
}

// Where the engine takes rows as a stream (the server), they go that way: no statement to parse
// and bind for each block.
bool InserimentoABlocchi::inFlusso(std::span<const RigaNuova> righe) {
    std::vector<const char*> nomi;
    if (conChiave_) nomi.push_back(ChiaveTabella(tabella_));
    nomi.insert(nomi.end(), colonne_, colonne_ + quante_);
    auto flusso = conn_.motore().flusso(NomeTabella(tabella_), nomi.data(), nomi.size());
    if (!flusso) return false;
    std::vector<const std::string*> valori(nomi.size());
    std::string chiave;
    for (const RigaNuova& riga : righe) {
        std::size_t p = 0;
        if (conChiave_) {
            chiave = std::to_string(riga.chiave);
            valori[p++] = &chiave;
        }
        for (std::size_t c = 0; c < quante_; ++c, ++p) valori[p] = (*riga.presenti)[c] ? &(*riga.valori)[c] : nullptr;
        flusso->riga(valori.data());
    }
    flusso->chiudi();
    return true;
}

void PerBlocchi(Connection& conn, std::size_t n, std::size_t perBlocco,
                const std::function<std::string(std::size_t)>& testo,
                const std::function<void(Statement&, std::size_t, std::size_t)>& lega,
                std::optional<Statement>& pieno) {
    for (std::size_t inizio = 0; inizio < n; inizio += perBlocco) {
        const std::size_t righe = std::min(perBlocco, n - inizio);
        std::optional<Statement> ultimo;
        if (righe == perBlocco && !pieno) pieno.emplace(conn, testo(perBlocco));
        if (righe < perBlocco) ultimo.emplace(conn, testo(righe));
        Statement& st = righe == perBlocco ? *pieno : *ultimo;
        st.reset();
        for (std::size_t k = 0; k < righe; ++k) lega(st, inizio + k, k);
        st.step();
    }
}

}  // namespace storage
