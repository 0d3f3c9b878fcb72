#pragma once

// What the import tests share: a throw-away archive, a line built column by column, a reporter
// that records what a run says and answers its questions.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "storage/connection.h"
#include "storage/reporter.h"

namespace prova {

// A new archive in memory with the archive's tables.
class Archivio {
public:
    Archivio() {
        conn.open(":memory:");
        conn.exec(storage::schemaSql());
    }
    // One value (null reads as ""), or "<nessuna riga>" when the query returns none.
    std::string valore(const std::string& sql) {
        storage::Statement st(conn, sql);
        return st.step() ? std::string(st.text(0)) : "<nessuna riga>";
    }
    // Every row, every column as text; a null column reads as "<null>".
    std::vector<std::vector<std::string>> righe(const std::string& sql) {
        storage::Statement st(conn, sql);
        std::vector<std::vector<std::string>> out;
        while (st.step()) {
            std::vector<std::string> r;
            for (int i = 0; i < st.columnCount(); ++i) r.push_back(st.isNull(i) ? "<null>" : std::string(st.text(i)));
            out.push_back(std::move(r));
        }
        return out;
    }
    long long conta(const std::string& tabella) { return std::stoll(valore("select count(*) from " + tabella)); }
    storage::Connection conn;
};

// A fixed-column line: each value placed at its first column (1-based), blanks between.
class Riga {
public:
    Riga& at(std::size_t colonna, std::string_view valore) {
        if (testo_.size() < colonna - 1 + valore.size()) testo_.resize(colonna - 1 + valore.size(), ' ');
        testo_.replace(colonna - 1, valore.size(), valore);
        return *this;
    }
    // Pads with blanks to a given length (a full certificate line is 2,304 characters).
    Riga& lunga(std::size_t n) {
        if (testo_.size() < n) testo_.resize(n, ' ');
        return *this;
    }
    const std::string& str() const { return testo_; }
    operator const std::string&() const { return testo_; }

private:
    std::string testo_;
};

// Lines joined with CR LF, as the payroll procedure writes them.
inline std::string file(const std::vector<std::string>& righe) {
    std::string out;
    for (const auto& r : righe) out += r + "\r\n";
    return out;
}

class Reporter : public storage::Reporter {
public:
    void info(const std::string& t) override { infos.push_back(t); }
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string& d) override {
        domande.push_back(d);
        if (risposte.empty()) return false;
        bool r = risposte.front();
        risposte.pop_front();
        return r;
    }
    bool progress(std::size_t, std::size_t) override { return ++avanzamenti <= annullaDopo; }

    std::vector<std::string> infos, errori, domande;
    std::deque<bool> risposte;
    std::size_t avanzamenti = 0;
    std::size_t annullaDopo = static_cast<std::size_t>(-1);
};

}  // namespace prova
