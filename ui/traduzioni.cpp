#include "ui/traduzioni.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace ui {

bool installaItaliano(QCoreApplication& app) {
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    // Qt's own folder first; a copy of the program installed with its catalogues beside it next.
    const QStringList cartelle = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    auto* traduttore = new QTranslator(&app);
    for (const QString& cartella : cartelle) {
        // "qt_it" gathers the catalogues of every Qt module the program uses.
        if (traduttore->load(italiano, QStringLiteral("qt"), QStringLiteral("_"), cartella) ||
            traduttore->load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"), cartella)) {
            QCoreApplication::installTranslator(traduttore);
            return true;
        }
    }
    delete traduttore;
    return false;
}

}  // namespace ui
