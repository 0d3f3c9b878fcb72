#include "storage/tabelle.h"

#include <algorithm>
#include <cctype>

namespace storage {

namespace {

struct Descrizione {
    const char* nome;
    const char* chiave;
};

const Descrizione& descrizione(Tabella t) {
    static constexpr Descrizione kTabelle[] = {
        {"SostitutoImposta", "ID"}, {"QuadroCt", "ID"}, {"Zefo1", "ID"},
        {"Zefo2", "IdNooo"},        {"Zefo3", "IDNoooo"}, {"Professionisti", "ID"},
    };
    return kTabelle[static_cast<std::size_t>(t)];
}

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

const char* NomeTabella(Tabella t) { return descrizione(t).nome; }
const char* ChiaveTabella(Tabella t) { return descrizione(t).chiave; }

std::optional<Tabella> TabellaDelNome(std::string_view nome) {
    for (Tabella t : {Tabella::SostitutoImposta, Tabella::QuadroCt, Tabella::Zefo1, Tabella::Zefo2, Tabella::Zefo3,
                      Tabella::Professionisti}) {
        const std::string_view n = NomeTabella(t);
        if (n.size() == nome.size() && std::equal(n.begin(), n.end(), nome.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return t;
    }
    return std::nullopt;
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
