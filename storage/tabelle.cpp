#include "storage/tabelle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>

#include "storage/error.h"
#include "storage/schema.h"

namespace storage {

namespace {

constexpr Tabella kTabelle[] = {Tabella::SostitutoImposta, Tabella::QuadroCt, Tabella::Zefo1,
                                Tabella::Zefo2,            Tabella::Zefo3,   Tabella::Professionisti};
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
                throw Error(std::string("La tabella ") + NomeTabella(x) + " non ha una colonna chiave nella descrizione.");
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

}  // namespace storage
