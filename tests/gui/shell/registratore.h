#pragma once

// Test helpers of the shell windows: a recorder for the message boxes, a small archive in a
// temporary folder, a fresh archive for each test function, and look-ups of children and files.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "storage/config.h"
#include "storage/connection.h"
#include "ui/dialoghi.h"

// Records every box; answers the questions from a queue (an empty queue answers No). The
// frontespizio count question is answered Sì and kept apart in `conteggi`, unless a test asks it
// to be treated as any other (`conteggiComeDomande`): most tests are about something else.
class Registratore : public ui::Risponditore {
public:
    Registratore() : installato_(*this) {}
    void informa(const QString& t) override { informazioni << t; }
    void errore(const QString& t) override { errori << t; }
    bool chiedi(const QString& d) override {
        if (!conteggiComeDomande && d.startsWith(QStringLiteral("I conteggi del frontespizio"))) {
            conteggi << d;
            return true;
        }
        domande << d;
        if (risposte.empty()) return false;
        bool r = risposte.front();
        risposte.pop_front();
        return r;
    }
    ui::Risposta chiediOAnnulla(const QString& d) override {
        if (!annulla) return chiedi(d) ? ui::Risposta::Si : ui::Risposta::No;
        domande << d;
        return ui::Risposta::Annulla;
    }
    QStringList informazioni, errori, domande, conteggi;
    std::deque<bool> risposte;
    bool conteggiComeDomande = false;
    bool annulla = false;  // the questions that can be given up are answered "Annulla"

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

// A fresh archive and a connection open on it for each test function: a test class calls
// apriArchivio() from init() and chiudiArchivio() from cleanup().
class ConArchivio {
protected:
    void apriArchivio() {
        arch = std::make_unique<Archivio>();
        conn = std::make_unique<storage::Connection>();
        conn->open(arch->db);
    }
    void chiudiArchivio() {
        conn.reset();
        arch.reset();
    }

    std::unique_ptr<Archivio> arch;
    std::unique_ptr<storage::Connection> conn;
};

// The child of a window by object name; a missing one stops the test run.
template <class T>
T* figlio(QWidget& w, const char* nome) {
    T* c = w.findChild<T*>(QLatin1String(nome));
    if (!c) qFatal("manca %s", nome);
    return c;
}

// Presses "Annulla" on the first progress box that appears, as an operator who changed their
// mind; the box is looked for until the object ends.
class Annullatore : public QObject {
public:
    Annullatore() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible() && !premuto) {
                    p->findChild<QPushButton*>()->click();
                    premuto = true;
                }
        });
        timer_.start(20);
    }
    bool premuto = false;

private:
    QTimer timer_;
};

// Waits for a modal window of type T and acts on it, as the operator would.
template <class T>
void quando(const std::function<void(T&)>& azione, int entroMs = 5000) {
    auto* timer = new QTimer;
    auto* inizio = new QElapsedTimer;
    inizio->start();
    QObject::connect(timer, &QTimer::timeout, [timer, inizio, azione, entroMs] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w && inizio->elapsed() < entroMs) return;
        timer->stop();
        timer->deleteLater();
        delete inizio;
        if (w) azione(*w);
    });
    timer->start(30);
}

// A whole file as bytes.
inline std::string contenuto(const std::string& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
