#include "entry/ricerca.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"

namespace entry {

namespace {

// The ranges of one column's texts that hold every value beginning with prefisso, whatever its
// case, and that the engine answers from an index: the stored texts compare without regard to the
// case of ASCII letters, so the ASCII head of the prefix is a range; a prefix that begins with
// another letter is looked up as its upper- and lower-case first letter.
using Intervalli = std::vector<storage::Intervallo>;

std::string successivo(const QString& s) {
    QString t = s;
    t[t.size() - 1] = QChar(static_cast<char16_t>(t.at(t.size() - 1).unicode() + 1));
    return t.toStdString();
}

std::optional<Intervalli> intervalli(const QString& prefisso) {
    qsizetype n = 0;
    while (n < prefisso.size() && prefisso.at(n).unicode() < 0x7f) ++n;
    if (n > 0) {
        // lower case: the engine folds letters to lower case, so "Z" must bound as "z".
        const QString testa = prefisso.left(n).toLower();
        return Intervalli{{testa.toStdString(), successivo(testa)}};
    }
    const QChar primo = prefisso.at(0);
    if (primo.isSurrogate()) return std::nullopt;
    Intervalli r;
    for (const QString& x : {QString(primo.toUpper()), QString(primo.toLower())})
        r.push_back({x.toStdString(), successivo(x)});
    return r;
}

// The first of the found rows in the list's order.
std::optional<std::size_t> primaNellElenco(const storage::Dataset& elenco,
                                           const std::unordered_set<std::int64_t>& trovate) {
    if (trovate.empty()) return std::nullopt;
    const auto& chiavi = elenco.keys();
    for (std::size_t i = 0; i < chiavi.size(); ++i)
        if (trovate.count(chiavi[i])) return i;
    return std::nullopt;
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
    if (elenco.tabella() == storage::Tabella::Zefo1) {
        const auto matricole = storage::CertificatiConMatricola(conn, t.toStdString());
        const std::unordered_set<std::int64_t> trovate(matricole.begin(), matricole.end());
        if (auto p = primaNellElenco(elenco, trovate)) {
            Trovato r{*p, QStringLiteral("matricola %1").arg(t)};
            if (const auto altro = perNumero(); altro && altro->posizione != r.posizione)
                r.come += QStringLiteral(" (il certificato n. %1 con «n. %1»)").arg(id);
            return r;
        }
    }
    if (auto r = perNumero()) return r;
    const auto filtro = intervalli(t);
    if (!filtro) return std::nullopt;
    const auto codici =
        storage::ChiaviNegliIntervalli(conn, elenco.tabella(), storage::ColonnaNominativo::CodiceFiscale, *filtro);
    if (auto p = primaNellElenco(elenco, {codici.begin(), codici.end()}))
        return Trovato{*p, QStringLiteral("codice fiscale")};
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
std::vector<Corrispondenza> corrispondenze(storage::Connection& conn, storage::Tabella tabella, const QString& cognome,
                                           const QString& nome) {
    const QString c = senzaSeparatori(cognome), n = senzaSeparatori(nome);
    Intervalli filtri;
    auto colonna = storage::ColonnaNominativo::Cognome;
    const auto aggiungi = [&](const QString& prefisso) {
        if (auto f = intervalli(prefisso)) filtri.insert(filtri.end(), f->begin(), f->end());
    };
    if (!c.isEmpty()) {
        aggiungi(c.left(c.size() > 1 && !c.at(0).isSurrogate() ? 2 : 1));
        if (c.size() > 1 && !c.at(0).isSurrogate()) {
            aggiungi(c.left(1) + QLatin1Char(' '));
            aggiungi(c.left(1) + QLatin1Char('\''));
        }
    } else if (!n.isEmpty()) {
        colonna = storage::ColonnaNominativo::Nome;
        aggiungi(n.left(1));
    }
    std::vector<Corrispondenza> r;
    for (const auto& x : storage::RigheNegliIntervalli(conn, tabella, colonna, filtri)) {
        const QString b02 = QString::fromStdString(x.cognome);
        if (!senzaSeparatori(b02).startsWith(c, Qt::CaseInsensitive)) continue;
        const QString b03 = QString::fromStdString(x.nome);
        if (!n.isEmpty() && !senzaSeparatori(b03).startsWith(n, Qt::CaseInsensitive)) continue;
        r.push_back({x.chiave, b02, b03});
    }
    return r;
}

}  // namespace

std::optional<std::size_t> TrovaNellElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                           const QString& cognome, const QString& nome) {
    if (!elenco.isOpen() || elenco.isEmpty() || senzaSeparatori(cognome + nome).isEmpty()) return std::nullopt;
    std::unordered_set<std::int64_t> trovate;
    for (const auto& x : corrispondenze(conn, elenco.tabella(), cognome, nome)) trovate.insert(x.chiave);
    return primaNellElenco(elenco, trovate);
}

std::optional<Escluso> TrovaFuoriDallElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                            const QString& cognome, const QString& nome) {
    if (!elenco.isOpen() || senzaSeparatori(cognome + nome).isEmpty()) return std::nullopt;
    const std::unordered_set<std::int64_t> nellElenco(elenco.keys().begin(), elenco.keys().end());
    std::optional<Escluso> primo;
    QString primoNome;
    for (const auto& x : corrispondenze(conn, elenco.tabella(), cognome, nome)) {
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
