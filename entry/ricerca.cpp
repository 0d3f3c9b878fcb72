#include "entry/ricerca.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "storage/connection.h"
#include "storage/dataset.h"

namespace entry {

namespace {

// A condition on one column that holds every value beginning with prefisso, whatever its case,
// and that the engine answers from an index: the stored texts compare without regard to the
// case of ASCII letters, so the ASCII head of the prefix is a range; a prefix that begins
// with another letter is looked up as its upper- and lower-case first letter.
struct Intervallo {
    std::string condizione;
    std::vector<std::string> parametri;
};

std::string successivo(const QString& s) {
    QString t = s;
    t[t.size() - 1] = QChar(static_cast<char16_t>(t.at(t.size() - 1).unicode() + 1));
    return t.toStdString();
}

std::optional<Intervallo> intervallo(const char* colonna, const QString& prefisso) {
    qsizetype n = 0;
    while (n < prefisso.size() && prefisso.at(n).unicode() < 0x7f) ++n;
    const QString c = QString::fromLatin1(colonna);
    if (n > 0) {
        // lower case: the engine folds letters to lower case, so "Z" must bound as "z".
        const QString testa = prefisso.left(n).toLower();
        return Intervallo{(c + QStringLiteral(" >= ? and ") + c + QStringLiteral(" < ?")).toStdString(),
                          {testa.toStdString(), successivo(testa)}};
    }
    const QChar primo = prefisso.at(0);
    if (primo.isSurrogate()) return std::nullopt;
    Intervallo r;
    QString casi[] = {QString(primo.toUpper()), QString(primo.toLower())};
    for (const QString& x : casi) {
        if (!r.condizione.empty()) r.condizione += " or ";
        r.condizione += ("(" + c + " >= ? and " + c + " < ?)").toStdString();
        r.parametri.push_back(x.toStdString());
        r.parametri.push_back(successivo(x));
    }
    return r;
}

// The first of the found rows in the list's order.
std::optional<std::size_t> primaNellElenco(const storage::Dataset& elenco, const std::unordered_set<std::int64_t>& trovate) {
    if (trovate.empty()) return std::nullopt;
    const auto& chiavi = elenco.keys();
    for (std::size_t i = 0; i < chiavi.size(); ++i)
        if (trovate.count(chiavi[i])) return i;
    return std::nullopt;
}

std::unordered_set<std::int64_t> chiaviDi(storage::Statement& st) {
    std::unordered_set<std::int64_t> r;
    while (st.step()) r.insert(st.integer(0));
    return r;
}

}  // namespace

std::optional<std::size_t> TrovaPerCodice(storage::Connection& conn, const storage::Dataset& elenco,
                                          const QString& testo) {
    const QString t = testo.trimmed();
    if (!elenco.isOpen() || elenco.isEmpty() || t.isEmpty()) return std::nullopt;
    bool numero = false;
    const qlonglong id = t.toLongLong(&numero);
    if (numero && id > 0)
        if (auto p = elenco.positionOf(id)) return p;
    if (numero && elenco.table() == "Zefo1") {
        storage::Statement st(conn, "select ID from Zefo2 where trim(MatrDip) = ?");
        st.bind(1, t.toStdString());
        if (auto p = primaNellElenco(elenco, chiaviDi(st))) return p;
    }
    const auto filtro = intervallo("B01", t);
    if (!filtro) return std::nullopt;
    storage::Statement st(conn, "select rowid from " + elenco.table() + " where " + filtro->condizione);
    for (std::size_t i = 0; i < filtro->parametri.size(); ++i) st.bind(static_cast<int>(i + 1), filtro->parametri[i]);
    return primaNellElenco(elenco, chiaviDi(st));
}

std::optional<std::size_t> TrovaNellElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                           const QString& cognome, const QString& nome) {
    if (!elenco.isOpen() || elenco.isEmpty() || (cognome.isEmpty() && nome.isEmpty())) return std::nullopt;

    std::optional<Intervallo> filtro;
    if (!cognome.isEmpty()) filtro = intervallo("B02", cognome);
    if (!filtro && !nome.isEmpty()) filtro = intervallo("B03", nome);
    std::string sql = "select rowid, B02, B03 from " + elenco.table();
    if (filtro) sql += " where " + filtro->condizione;
    storage::Statement st(conn, sql);
    if (filtro)
        for (std::size_t i = 0; i < filtro->parametri.size(); ++i)
            st.bind(static_cast<int>(i + 1), filtro->parametri[i]);

    std::unordered_set<std::int64_t> trovate;
    while (st.step()) {
        const QString b02 = QString::fromUtf8(st.text(1).data(), static_cast<qsizetype>(st.text(1).size()));
        if (!b02.startsWith(cognome, Qt::CaseInsensitive)) continue;
        if (!nome.isEmpty()) {
            const QString b03 = QString::fromUtf8(st.text(2).data(), static_cast<qsizetype>(st.text(2).size()));
            if (!b03.startsWith(nome, Qt::CaseInsensitive)) continue;
        }
        trovate.insert(st.integer(0));
    }
    return primaNellElenco(elenco, trovate);
}

}  // namespace entry
