#pragma once

// Test helpers: a recorder for the message boxes and a small archive in a temporary folder.

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <string>

#include "storage/config.h"
#include "storage/connection.h"
#include "ui/dialoghi.h"

// Records every box; answers the questions from a queue (an empty queue answers No).
class Registratore : public ui::Risponditore {
public:
    Registratore() : installato_(*this) {}
    void informa(const QString& t) override { informazioni << t; }
    void errore(const QString& t) override { errori << t; }
    bool chiedi(const QString& d) override {
        domande << d;
        if (risposte.empty()) return false;
        bool r = risposte.front();
        risposte.pop_front();
        return r;
    }
    QStringList informazioni, errori, domande;
    std::deque<bool> risposte;

private:
    ui::RisponditoreInstallato installato_;
};

// A temporary folder with an empty archive and a configuration file naming it.
struct Archivio {
    QTemporaryDir dir;
    std::string cartella = dir.path().toStdString();
    std::string ini = cartella + "/zefo2015.ini";
    std::string db = storage::percorsoDatabase(cartella);

    explicit Archivio(bool conDatabase = true) {
        if (conDatabase) storage::Connection::crea(db);
        storage::scriviCartellaDati(ini, cartella);
    }
    std::string percorso(const std::string& nome) const { return cartella + "/" + nome; }
};

// One value of the archive, read through a connection of its own.
inline std::string valore(const std::string& db, const std::string& sql) {
    storage::Connection c;
    c.open(db);
    storage::Statement st(c, sql);
    return st.step() ? std::string(st.text(0)) : std::string("<nessuna riga>");
}

inline void esegui(const std::string& db, const std::string& sql) {
    storage::Connection c;
    c.open(db);
    c.exec(sql);
}
