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

std::optional<Trovato> TrovaPerCodice(storage::Connection& conn, const storage::Dataset& elenco, const QString& testo) {
    QString t = testo.trimmed();
    if (!elenco.isOpen() || elenco.isEmpty() || t.isEmpty()) return std::nullopt;
    // "n. 7" asks for the certificate number even where a matricola is 7.
    bool soloNumero = false;
    if (t.startsWith(QStringLiteral("n."), Qt::CaseInsensitive)) {
        t = t.mid(2).trimmed();
        soloNumero = true;
    }
    bool numero = false;
    const qlonglong id = t.toLongLong(&numero);
    const auto perNumero = [&]() -> std::optional<Trovato> {
        if (numero && id > 0)
            if (auto p = elenco.positionOf(id)) return Trovato{*p, QStringLiteral("certificato n. %1").arg(id)};
        return std::nullopt;
    };
    if (soloNumero) return perNumero();
    if (elenco.table() == "Zefo1") {
        storage::Statement st(conn, "select ID from Zefo2 where trim(MatrDip) = ? collate nocase");
        st.bind(1, t.toStdString());
        std::unordered_set<std::int64_t> trovate;
        while (st.step()) trovate.insert(st.integer(0));
        if (auto p = primaNellElenco(elenco, trovate)) {
            Trovato r{*p, QStringLiteral("matricola %1").arg(t)};
            if (const auto altro = perNumero(); altro && altro->posizione != r.posizione)
                r.come += QStringLiteral(" (il certificato n. %1 con «n. %1»)").arg(id);
            return r;
        }
    }
    if (auto r = perNumero()) return r;
    const auto filtro = intervallo("B01", t);
    if (!filtro) return std::nullopt;
    storage::Statement st(conn, "select rowid from " + elenco.table() + " where " + filtro->condizione);
    for (std::size_t i = 0; i < filtro->parametri.size(); ++i) st.bind(static_cast<int>(i + 1), filtro->parametri[i]);
    if (auto p = primaNellElenco(elenco, chiaviDi(st))) return Trovato{*p, QStringLiteral("codice fiscale")};
    return std::nullopt;
}

namespace {

// Blanks and apostrophes do not count: "delu" finds DE LUCA, "dang" D'ANGELO.
QString senzaSeparatori(const QString& s) {
    QString r;
    r.reserve(s.size());
    for (QChar c : s)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\'') && c != QChar(0x2019)) r += c;
    return r;
}

struct Corrispondenza {
    std::int64_t chiave;
    QString cognome, nome;
};

// The rows of the table whose names begin with the typed ones, blanks and apostrophes aside.
// Only the rows whose surname begins as typed (or with its first letter and a blank or an
// apostrophe) are read, through the surname index.
std::vector<Corrispondenza> corrispondenze(storage::Connection& conn, const std::string& tabella, const QString& cognome,
                                           const QString& nome) {
    const QString c = senzaSeparatori(cognome), n = senzaSeparatori(nome);
    std::vector<Corrispondenza> r;
    std::vector<Intervallo> filtri;
    const auto aggiungi = [&](const char* colonna, const QString& prefisso) {
        if (auto f = intervallo(colonna, prefisso)) filtri.push_back(std::move(*f));
    };
    if (!c.isEmpty()) {
        aggiungi("B02", c.left(c.size() > 1 && !c.at(0).isSurrogate() ? 2 : 1));
        if (c.size() > 1 && !c.at(0).isSurrogate()) {
            aggiungi("B02", c.left(1) + QLatin1Char(' '));
            aggiungi("B02", c.left(1) + QLatin1Char('\''));
        }
    } else if (!n.isEmpty()) {
        aggiungi("B03", n.left(1));
    }
    std::string sql = "select rowid, B02, B03 from " + tabella;
    std::vector<std::string> parametri;
    for (std::size_t i = 0; i < filtri.size(); ++i) {
        sql += (i == 0 ? " where (" : " or (") + filtri[i].condizione + ")";
        parametri.insert(parametri.end(), filtri[i].parametri.begin(), filtri[i].parametri.end());
    }
    storage::Statement st(conn, sql);
    for (std::size_t i = 0; i < parametri.size(); ++i) st.bind(static_cast<int>(i + 1), parametri[i]);
    while (st.step()) {
        const QString b02 = QString::fromUtf8(st.text(1).data(), static_cast<qsizetype>(st.text(1).size()));
        if (!senzaSeparatori(b02).startsWith(c, Qt::CaseInsensitive)) continue;
        const QString b03 = QString::fromUtf8(st.text(2).data(), static_cast<qsizetype>(st.text(2).size()));
        if (!n.isEmpty() && !senzaSeparatori(b03).startsWith(n, Qt::CaseInsensitive)) continue;
        r.push_back({st.integer(0), b02, b03});
    }
    return r;
}

}  // namespace

std::optional<std::size_t> TrovaNellElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                           const QString& cognome, const QString& nome) {
    if (!elenco.isOpen() || elenco.isEmpty() || senzaSeparatori(cognome + nome).isEmpty()) return std::nullopt;
    std::unordered_set<std::int64_t> trovate;
    for (const auto& x : corrispondenze(conn, elenco.table(), cognome, nome)) trovate.insert(x.chiave);
    return primaNellElenco(elenco, trovate);
}

std::optional<Escluso> TrovaFuoriDallElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                            const QString& cognome, const QString& nome) {
    if (!elenco.isOpen() || senzaSeparatori(cognome + nome).isEmpty()) return std::nullopt;
    const std::unordered_set<std::int64_t> nellElenco(elenco.keys().begin(), elenco.keys().end());
    std::optional<Escluso> primo;
    QString primoNome;
    for (const auto& x : corrispondenze(conn, elenco.table(), cognome, nome)) {
        if (nellElenco.count(x.chiave)) continue;
        const QString chi = (x.cognome.trimmed() + QLatin1Char(' ') + x.nome.trimmed()).trimmed();
        if (!primo || QString::compare(chi, primoNome, Qt::CaseInsensitive) < 0) {
            primo = Escluso{x.chiave, x.cognome.trimmed()};
            primoNome = chi;
        }
    }
    return primo;
}

}  // namespace entry
