#include "storage/schema.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <unordered_map>

#include "storage/connection.h"
#include "storage/error.h"

namespace storage::schema {

namespace {

std::string minuscolo(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

std::vector<Voce> leggiDescrizione() {
    std::string testo;
    // Comments go: the statements are split at ";".
    const std::string_view sorgente = schemaSql();
    for (std::size_t i = 0; i < sorgente.size();) {
        std::size_t fine = sorgente.find('\n', i);
        if (fine == std::string_view::npos) fine = sorgente.size();
        std::string_view riga = sorgente.substr(i, fine - i);
        if (const auto c = riga.find("--"); c != std::string_view::npos) riga = riga.substr(0, c);
        testo.append(riga).push_back('\n');
        i = fine + 1;
    }
    static const std::regex tabella(R"(^\s*CREATE\s+TABLE\s+(\w+))", std::regex::icase);
    static const std::regex indice(R"(^\s*CREATE\s+INDEX\s+(?:IF\s+NOT\s+EXISTS\s+)?(\w+))", std::regex::icase);
    static const std::regex riga(R"(^\s*INSERT\s+INTO\s+(\w+))", std::regex::icase);
    std::vector<Voce> voci;
    std::size_t inizio = 0;
    for (std::size_t fine; (fine = testo.find(';', inizio)) != std::string::npos; inizio = fine + 1) {
        std::string sql = testo.substr(inizio, fine - inizio);
        sql.erase(0, sql.find_first_not_of(" \n\t"));
        std::smatch m;
        if (std::regex_search(sql, m, tabella))
            voci.push_back({Voce::Genere::Tabella, m[1].str(), sql});
        else if (std::regex_search(sql, m, indice))
            voci.push_back({Voce::Genere::Indice, m[1].str(), sql});
        else if (std::regex_search(sql, m, riga))
            voci.push_back({Voce::Genere::Riga, m[1].str(), sql});
    }
    return voci;
}

const Voce& tabella(std::string_view nomeTabella) {
    for (const auto& v : voci())
        if (v.genere == Voce::Genere::Tabella && minuscolo(v.nome) == minuscolo(nomeTabella)) return v;
    throw Error("Tabella sconosciuta: " + std::string(nomeTabella));
}

// The column a table's rows are keyed by, with its definition; empty for a table keyed otherwise.
std::pair<std::string, std::string> colonnaChiave(const Voce& t) {
    static const std::regex chiave(R"((\w+)\s+INTEGER\s+PRIMARY\s+KEY\s+AUTOINCREMENT)", std::regex::icase);
    std::smatch m;
    if (!std::regex_search(t.sql, m, chiave)) return {};
    return {m[1].str(), m[0].str()};
}

std::vector<std::string> colonne(Connection& conn, std::string_view nomeTabella) {
    Statement st(conn, "select * from " + std::string(nomeTabella) + " where 1 = 0");
    std::vector<std::string> nomi;
    for (int i = 0; i < st.columnCount(); ++i) nomi.push_back(minuscolo(st.columnName(i)));
    return nomi;
}

// A table that lacks the key column the description gives it gains it, numbered as the rows
// were: SQLite cannot add a key to a table, so the table is made again.
void aggiungiChiave(Connection& conn, const Voce& t) {
    const auto [colonna, definizione] = colonnaChiave(t);
    if (colonna.empty()) return;
    const auto presenti = colonne(conn, t.nome);
    if (std::find(presenti.begin(), presenti.end(), minuscolo(colonna)) != presenti.end()) return;
    const motore::Tipo tipo = conn.motore().tipo();
    if (tipo == motore::Tipo::PostgreSQL) {
        conn.exec(perMotore("ALTER TABLE " + t.nome + " ADD COLUMN " + definizione, tipo));
        return;
    }
    const std::string nuova = t.nome + "_nuova";
    std::string crea = t.sql;
    crea.replace(crea.find(t.nome), t.nome.size(), nuova);
    std::string elenco;
    for (const auto& c : presenti) elenco += c + ", ";
    conn.exec(crea);
    conn.exec("INSERT INTO " + nuova + " (" + elenco + colonna + ") SELECT " + elenco + "rowid FROM " + t.nome);
    conn.exec("DROP TABLE " + t.nome);
    conn.exec("ALTER TABLE " + nuova + " RENAME TO " + t.nome);
}

std::string conSeNonEsiste(const Voce& v) {
    static const std::regex inizio(R"(^CREATE\s+(TABLE|INDEX)\s+(IF\s+NOT\s+EXISTS\s+)?)", std::regex::icase);
    return std::regex_replace(v.sql, inizio, "CREATE $1 IF NOT EXISTS ", std::regex_constants::format_first_only);
}

// The columns of the description's table after its key: name and definition.
std::vector<std::pair<std::string, std::string>> definizioni(const Voce& t) {
    static const std::regex colonna(R"(^\s*(\w+)\s+((?:TEXT|INTEGER)\b[^,\n]*))",
                                    std::regex::icase | std::regex::multiline);
    std::vector<std::pair<std::string, std::string>> r;
    const auto corpo = t.sql.substr(t.sql.find('(') + 1);
    for (std::sregex_iterator it(corpo.begin(), corpo.end(), colonna), fine; it != fine; ++it)
        r.emplace_back((*it)[1].str(), (*it)[1].str() + " " + (*it)[2].str());
    return r;
}

// The tables of the description, reached from an archive of any earlier shape: missing tables,
// key columns, columns and indexes are added; rows are kept.
void raggiungiDescrizione(Connection& conn) {
    const motore::Tipo tipo = conn.motore().tipo();
    for (const auto& v : voci()) {
        if (v.genere == Voce::Genere::Riga) continue;
        if (v.genere == Voce::Genere::Tabella && conn.motore().esisteTabella(v.nome)) {
            aggiungiChiave(conn, v);
            const auto presenti = colonne(conn, v.nome);
            for (const auto& [nomeColonna, definizione] : definizioni(v))
                if (std::find(presenti.begin(), presenti.end(), minuscolo(nomeColonna)) == presenti.end() &&
                    definizione.find("PRIMARY KEY") == std::string::npos)
                    conn.exec(perMotore("ALTER TABLE " + v.nome + " ADD COLUMN " + definizione, tipo));
            continue;
        }
        conn.exec(perMotore(conSeNonEsiste(v), tipo));
    }
}

struct Passo {
    int versione;
    void (*esegui)(Connection&);
};
// The matricola's index made again, comparing as the search does.
void rifaiIndiceMatricola(Connection& conn) {
    conn.exec("DROP INDEX IF EXISTS Zefo2_Matricola");
    raggiungiDescrizione(conn);
}

// The upgrades, in order: each brings an archive of the version before to its own. 1: the record
// of imports and of sends, the search indexes, Parametri's key; 2: the certificates' revision;
// 3: the matricola's index ignoring case.
constexpr Passo kPassi[] = {{1, raggiungiDescrizione}, {2, raggiungiDescrizione}, {3, rifaiIndiceMatricola}};

}  // namespace

const std::vector<Voce>& voci() {
    static const std::vector<Voce> v = leggiDescrizione();
    return v;
}

int versione() {
    static const int n = [] {
        static const std::regex numero(R"(VALUES\s*\((\d+)\))", std::regex::icase);
        for (const auto& v : voci()) {
            std::smatch m;
            if (v.genere == Voce::Genere::Riga && minuscolo(v.nome) == "versione" &&
                std::regex_search(v.sql, m, numero))
                return std::stoi(m[1].str());
        }
        return 0;
    }();
    return n;
}

std::string perMotore(std::string_view sql, motore::Tipo tipo) {
    std::string s(sql);
    if (tipo == motore::Tipo::SQLite) return s;
    // Text compares as SQLite's NOCASE does (ASCII letters only) and sorts byte by byte whatever
    // the server's locale, so both engines list and write in the same order.
    static const std::pair<std::regex, std::string> kSostituzioni[] = {
        {std::regex(R"(\bINTEGER\s+PRIMARY\s+KEY\s+AUTOINCREMENT\b)", std::regex::icase),
         "BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"},
        {std::regex(R"(\bTEXT\s+COLLATE\s+NOCASE\b)", std::regex::icase), "CITEXT COLLATE \"C\""},
        {std::regex(R"((\w+\(\w+\))\s+COLLATE\s+NOCASE\b)", std::regex::icase), "cast($1 as citext)"},
        {std::regex(R"(\bTEXT\b)", std::regex::icase), "TEXT COLLATE \"C\""},
        {std::regex(R"(\bINTEGER\b)", std::regex::icase), "BIGINT"},
    };
    for (const auto& [da, a] : kSostituzioni) s = std::regex_replace(s, da, a);
    return s;
}

std::string creazione(motore::Tipo tipo) {
    std::string sql;
    for (const auto& v : voci()) sql += perMotore(v.sql, tipo) + ";\n";
    return sql;
}

std::string_view nome(std::string_view qualunque) {
    static const std::unordered_map<std::string, std::string> nomi = [] {
        std::unordered_map<std::string, std::string> m;
        static const std::regex colonna(R"(^\s*(\w+)\s+(TEXT|INTEGER)\b)", std::regex::icase | std::regex::multiline);
        for (const auto& v : voci()) {
            if (v.genere != Voce::Genere::Tabella) continue;
            m.emplace(minuscolo(v.nome), v.nome);
            const auto corpo = v.sql.substr(v.sql.find('(') + 1);
            for (std::sregex_iterator it(corpo.begin(), corpo.end(), colonna), fine; it != fine; ++it)
                m.emplace(minuscolo((*it)[1].str()), (*it)[1].str());
        }
        return m;
    }();
    const auto it = nomi.find(minuscolo(qualunque));
    return it == nomi.end() ? qualunque : std::string_view(it->second);
}

std::string chiave(std::string_view nomeTabella) {
    for (const auto& v : voci())
        if (v.genere == Voce::Genere::Tabella && minuscolo(v.nome) == minuscolo(nomeTabella))
            return colonnaChiave(v).first;
    return {};
}

int versioneArchivio(Connection& conn) {
    if (!conn.motore().esisteTabella("Versione")) return 0;
    Statement st(conn, "select max(Numero) from Versione");
    return st.step() ? static_cast<int>(st.integer(0)) : 0;
}

void aggiorna(Connection& conn) {
    const int attuale = versioneArchivio(conn);
    if (attuale > versione())
        throw Error(Error::Causa::Altro, "L'archivio " + conn.percorso() +
                                             " è stato scritto da una versione più recente di Palio 2015: "
                                             "aggiornare il programma per usarlo.");
    if (attuale == versione()) return;
    Transaction t(conn);
    // Read again inside the transaction: another program may have upgraded it meanwhile.
    const int letta = versioneArchivio(conn);
    if (letta == versione()) return;
    void (*fatto)(Connection&) = nullptr;
    for (const auto& p : kPassi) {
        if (p.versione <= letta) continue;
        // Steps that reach the description again need to run once.
        if (p.esegui != fatto) p.esegui(conn);
        fatto = p.esegui;
        conn.exec("delete from Versione");
        Statement st(conn, "insert into Versione (Numero) values (?)");
        st.bind(1, static_cast<std::int64_t>(p.versione)).step();
    }
    t.commit();
}

void creaTabelle(Connection& conn) {
    Transaction t(conn);
    conn.exec(creazione(conn.motore().tipo()));
    t.commit();
}

void creaSeManca(Connection& conn, std::string_view nomeTabella) {
    if (conn.motore().esisteTabella(nomeTabella)) return;
    conn.exec(perMotore(conSeNonEsiste(tabella(nomeTabella)), conn.motore().tipo()));
}

}  // namespace storage::schema
