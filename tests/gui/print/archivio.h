#pragma once

// A fresh archive in a temporary folder, rows added by column, and a PDF's text page by page.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "storage/connection.h"

namespace prova {

using Valori = std::map<std::string, std::string>;

class Archivio {
public:
    Archivio() {
        percorso = dir.filePath("Zefo2015.db").toStdString();
        storage::Connection::crea(percorso);
        conn.open(percorso);
    }

    std::int64_t inserisci(const std::string& tabella, const Valori& v) {
        std::string colonne, segni;
        for (const auto& [c, _] : v) {
            colonne += (colonne.empty() ? "" : ",") + c;
            segni += segni.empty() ? "?" : ",?";
        }
        storage::Statement s(conn, "insert into " + tabella + " (" + colonne + ") values (" + segni + ")");
        int i = 1;
        for (const auto& [_, valore] : v) s.bind(i++, valore);
        s.step();
        return conn.lastInsertId();
    }

    // A certificate: its Zefo1 row and its Zefo2 row (kind and employee number in z2).
    std::int64_t certificato(Valori z1, Valori z2) {
        const std::int64_t id = inserisci("Zefo1", z1);
        z2["ID"] = std::to_string(id);
        inserisci("Zefo2", z2);
        return id;
    }

    QString file(const QString& nome) const { return dir.filePath(nome); }

    QTemporaryDir dir;
    std::string percorso;
    storage::Connection conn;
};

inline QString esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pagine(const QString& pdf) {
    const QString info = esegui("pdfinfo", {pdf});
    for (const QString& riga : info.split('\n'))
        if (riga.startsWith("Pages:")) return riga.mid(6).trimmed().toInt();
    return -1;
}

// The text of every page, in order.
inline QStringList testi(const QString& pdf) {
    QStringList t;
    const int n = pagine(pdf);
    for (int i = 1; i <= n; ++i)
        t << esegui("pdftotext", {"-f", QString::number(i), "-l", QString::number(i), "-layout", pdf, "-"});
    return t;
}

// The pages (1-based) whose text holds s.
inline std::vector<int> doveCompare(const QStringList& testi, const QString& s) {
    std::vector<int> v;
    for (int i = 0; i < testi.size(); ++i)
        if (testi[i].contains(s)) v.push_back(i + 1);
    return v;
}

}  // namespace prova
