#include "ui/sfoglia.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "storage/connection.h"

namespace ui {

QString cartellaDati(const storage::Connection& conn) {
    if (conn.percorso().empty()) return QDir::homePath();
    return QFileInfo(QString::fromStdString(conn.percorso())).absolutePath();
}

QString inizioSfoglia(const QString& testo, Scelta scelta, const QStringList& ripieghi) {
    const QString percorso = QDir::fromNativeSeparators(testo.trimmed());
    if (!percorso.isEmpty()) {
        const QFileInfo info(percorso);
        if (info.isDir()) return info.absoluteFilePath();
        if (info.exists()) return scelta == Scelta::Cartella ? info.absolutePath() : info.absoluteFilePath();
        if (QFileInfo(info.absolutePath()).isDir() && info.isAbsolute()) return info.absolutePath();
    }
    for (const QString& r : ripieghi)
        if (!r.isEmpty() && QFileInfo(r).isDir()) return QFileInfo(r).absoluteFilePath();
    return QDir::homePath();
}

QPushButton* bottoneSfoglia(QLineEdit* campo, Scelta scelta, const storage::Connection& conn, const QString& titolo) {
    auto* b = new QPushButton(QStringLiteral("Sfoglia…"), campo->parentWidget());
    b->setObjectName(QStringLiteral("Sfoglia") + campo->objectName());
    b->setToolTip(titolo);
    QObject::connect(b, &QPushButton::clicked, campo, [campo, scelta, &conn, titolo] {
        const QString inizio = inizioSfoglia(campo->text(), scelta, {cartellaDati(conn)});
        const QString scelto = scelta == Scelta::Cartella
                                   ? QFileDialog::getExistingDirectory(campo->window(), titolo, inizio)
                                   : QFileDialog::getOpenFileName(campo->window(), titolo, inizio);
        if (scelto.isEmpty()) return;
        campo->setText(QDir::toNativeSeparators(scelto));
        campo->setFocus();
    });
    return b;
}

QPushButton* bottoneSfogliaImportazione(QLineEdit* campo, const QString& titolo, const QString& filtro,
                                        const QString& cartellaEsportazioni) {
    auto* b = new QPushButton(QStringLiteral("Sfoglia…"), campo->parentWidget());
    b->setObjectName(QStringLiteral("Sfoglia") + campo->objectName());
    b->setToolTip(titolo);
    // The folder chosen last, for as long as the window lives.
    auto ultima = std::make_shared<QString>();
    QObject::connect(b, &QPushButton::clicked, campo, [campo, titolo, filtro, cartellaEsportazioni, ultima] {
        const QString inizio = inizioSfoglia(campo->text(), Scelta::FileDaLeggere, {*ultima, cartellaEsportazioni});
        const QString scelto = QFileDialog::getOpenFileName(campo->window(), titolo, inizio,
                                                            filtro + QStringLiteral(";;Tutti i file (*)"));
        if (scelto.isEmpty()) return;
        *ultima = QFileInfo(scelto).absolutePath();
        campo->setText(QDir::toNativeSeparators(scelto));
        campo->setFocus();
    });
    return b;
}

}  // namespace ui
