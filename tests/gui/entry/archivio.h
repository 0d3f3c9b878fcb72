#pragma once

// A fresh archive in a temporary folder, and a recorder that answers the windows' questions.

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <string>

#include "forms/vistapagina.h"
#include "storage/connection.h"
#include "ui/dialoghi.h"

struct Archivio {
    QTemporaryDir cartella;
    storage::Connection conn;

    Archivio() {
        const std::string db = cartella.filePath(QStringLiteral("Zefo2015.db")).toStdString();
        storage::Connection::crea(db);
        conn.open(db);
    }
    void exec(const std::string& sql) { conn.exec(sql); }
    std::string testo(const std::string& sql) {
        storage::Statement st(conn, sql);
        return st.step() ? std::string(st.text(0)) : std::string();
    }
    long long numero(const std::string& sql) {
        storage::Statement st(conn, sql);
        return st.step() ? st.integer(0) : -1;
    }
};

// Records every box; answers the questions from a queue, then with `risposta`.
struct Registratore : ui::Risponditore {
    QStringList informazioni, errori, domande;
    std::deque<bool> risposte;
    bool risposta = false;
    ui::RisponditoreInstallato installato{*this};

    void informa(const QString& t) override { informazioni << t; }
    void errore(const QString& t) override { errori << t; }
    bool chiedi(const QString& d) override {
        domande << d;
        if (risposte.empty()) return risposta;
        bool r = risposte.front();
        risposte.pop_front();
        return r;
    }
};

// Types into a page's box as the operator does (the box must be on the page shown).
inline void digita(forms::VistaPagina& vista, const QString& tabella, const QString& colonna, const QString& testo) {
    auto* e = qobject_cast<QLineEdit*>(vista.box(tabella, colonna));
    QVERIFY2(e, qPrintable(QStringLiteral("nessuna casella %1.%2").arg(tabella, colonna)));
    QVERIFY2(!e->isReadOnly(), qPrintable(QStringLiteral("casella %1.%2 di sola lettura").arg(tabella, colonna)));
    e->selectAll();
    QTest::keyClicks(e, testo);
}

inline QString mostrato(forms::VistaPagina& vista, const QString& tabella, const QString& colonna) {
    auto* e = qobject_cast<QLineEdit*>(vista.box(tabella, colonna));
    return e ? e->text() : QStringLiteral("<nessuna casella>");
}
