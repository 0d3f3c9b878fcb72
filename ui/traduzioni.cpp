#include "ui/traduzioni.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cstring>

namespace ui {

namespace {

// Texts of Qt's own dialogs that Qt's Italian catalogue leaves in English: the file dialog's
// type column, the print dialog's page range and two-sided printing.
struct Mancante {
    const char* contesto;
    const char* inglese;
    const char* italiano;
};

constexpr Mancante kMancanti[] = {
    {"QAbstractFileIconProvider", "Folder", "Cartella"},
    {"QAbstractFileIconProvider", "File Folder", "Cartella di file"},
    {"QAbstractFileIconProvider", "Drive", "Unità"},
    {"QAbstractFileIconProvider", "File", "File"},
    {"QAbstractFileIconProvider", "%1 File", "File %1"},
    {"QAbstractFileIconProvider", "Shortcut", "Collegamento"},
    {"QAbstractFileIconProvider", "Alias", "Alias"},
    {"QPrintSettingsOutput", "Pages", "Pagine"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
     "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Indicare le pagine o gli intervalli separati da virgole; un intervallo è dato da due numeri "
     "separati da un trattino. Ad es. 3,5-7,9 stampa le pagine 3, 5, 6, 7 e 9."},
    {"QPrintSettingsOutput", "Double Sided Printing", "Stampa fronte/retro"},
    {"QPrintSettingsOutput", "Off", "No"},
    {"QPrintSettingsOutput", "Long side binding", "Rilegatura sul lato lungo"},
    {"QPrintSettingsOutput", "Short side binding", "Rilegatura sul lato corto"},
};

class TraduzioniMancanti : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* contesto, const char* testo, const char*, int) const override {
        if (!contesto || !testo) return {};
        for (const Mancante& m : kMancanti)
            if (std::strcmp(m.contesto, contesto) == 0 && std::strcmp(m.inglese, testo) == 0)
                return QString::fromUtf8(m.italiano);
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

bool installaItaliano(QCoreApplication& app) {
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    // The catalogues installed with the program first (Windows ships them beside it), Qt's own next.
    const QStringList cartelle = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    auto* traduttore = new QTranslator(&app);
    bool trovato = false;
    for (const QString& cartella : cartelle) {
        // "qt_it" gathers the catalogues of every Qt module the program uses.
        if (traduttore->load(italiano, QStringLiteral("qt"), QStringLiteral("_"), cartella) ||
            traduttore->load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"), cartella)) {
            QCoreApplication::installTranslator(traduttore);
            trovato = true;
            break;
        }
    }
    if (!trovato) delete traduttore;
    // Installed last, so asked first: it answers only for the texts it holds.
    QCoreApplication::installTranslator(new TraduzioniMancanti(&app));
    return trovato;
}

}  // namespace ui
