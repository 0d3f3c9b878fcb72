#include "print/ui/uscita.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "storage/archivi.h"
#include "storage/error.h"
#include "ui/collocazione.h"
#include "ui/dialoghi.h"

namespace print {

namespace {

class UscitaReale : public Uscita {
public:
    bool stampantePresente() const override { return !QPrinterInfo::defaultPrinter().isNull(); }

    bool stampa(const Lavoro& lavoro, QWidget* parent) override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            ui::errore(parent, kNessunaStampante);
            return false;
        }
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(kTitoloLavoro);
        ImpostaPagina(printer);
        Pittore pittore(printer);
        if (!pittore.inizia()) {
            ui::errore(parent,
                       QStringLiteral("Impossibile avviare la stampa sulla stampante %1.").arg(info.printerName()));
            return false;
        }
        lavoro(pittore);
        return pittore.fine();
    }

    bool anteprima(const Lavoro& lavoro, QWidget* parent, const InfoAnteprima& info) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(kTitoloLavoro);
        if (!info.pdf.isEmpty()) {
            printer.setOutputFileName(info.pdf);
            // Only the file's name is proposed: where there is a printer it stays the first choice.
            if (!QPrinterInfo::defaultPrinter().isNull()) printer.setOutputFormat(QPrinter::NativeFormat);
        }
        ImpostaPagina(printer);
        QPrintPreviewDialog dialogo(&printer, parent);
        const QString titolo = QStringLiteral("Anteprima di stampa");
        dialogo.setWindowTitle(info.titolo.isEmpty() ? titolo : titolo + QStringLiteral(" - ") + info.titolo);
        bool interrotta = false;
        if (info.interrompibile) {
            auto* interrompi = new QPushButton(kInterrompiAnteprime, &dialogo);
            interrompi->setObjectName(QStringLiteral("btnInterrompiAnteprime"));
            interrompi->setToolTip(QStringLiteral("Chiude questa anteprima e non mostra le successive"));
            QObject::connect(interrompi, &QPushButton::clicked, &dialogo, [&] {
                interrotta = true;
                dialogo.reject();
            });
            auto* fondo = new QHBoxLayout;
            fondo->setContentsMargins(6, 0, 6, 6);
            fondo->addStretch(1);
            fondo->addWidget(interrompi);
            if (auto* l = qobject_cast<QBoxLayout*>(dialogo.layout())) l->addLayout(fondo);
        }
        QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo, [&lavoro](QPrinter* p) {
            Pittore pittore(*p);
            if (!pittore.inizia()) return;
            lavoro(pittore);
            pittore.fine();
        });
        // A whole page where the screen allows; a smaller screen gets a smaller window.
        dialogo.resize(900, 1000);
        ui::colloca(&dialogo);
        dialogo.exec();
        return !interrotta;
    }

    QString chiediFilePdf(QWidget* parent, const QString& proposto) override {
        QString f = QFileDialog::getSaveFileName(parent, QStringLiteral("Salva la stampa in PDF"), proposto,
                                                 QStringLiteral("File PDF (*.pdf)"));
        if (!f.isEmpty() && QFileInfo(f).suffix().isEmpty()) f += QStringLiteral(".pdf");
        return f;
    }

    QString chiediCartella(QWidget* parent, const QString& proposta) override {
        // A folder not made yet: the dialog starts at the nearest one that exists.
        QFileInfo inizio(proposta);
        while (!inizio.isDir() && !inizio.isRoot() && inizio.absolutePath() != inizio.absoluteFilePath())
            inizio = QFileInfo(inizio.absolutePath());
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("Cartella dei PDF"),
                                                 inizio.isDir() ? inizio.absoluteFilePath() : proposta);
    }
};

}  // namespace

Uscita& UscitaPredefinita() {
    static UscitaReale uscita;
    return uscita;
}

QString PdfProposto(const storage::Connection& conn, const QString& nome, const QString& cartella) {
    QString dove = cartella.trimmed().isEmpty() ? QString::fromStdString(storage::cartellaDiUscita(conn, "PDF"))
                                                : QDir::fromNativeSeparators(cartella.trimmed());
    if (!QDir().mkpath(dove)) dove = QDir::homePath();
    return QDir::toNativeSeparators(QDir(dove).filePath(nome));
}

bool StampaOppurePdf(Uscita& uscita, const Lavoro& lavoro, QWidget* parent, const QString& pdfProposto) {
    if (uscita.stampantePresente()) return uscita.stampa(lavoro, parent);
    ui::errore(parent, kNessunaStampante);
    if (!ui::chiedi(parent, kOffertaPdf)) return false;
    const QString file = uscita.chiediFilePdf(parent, pdfProposto);
    if (file.isEmpty()) return false;
    try {
        SalvaPdf(lavoro, file);
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
        return false;
    }
    return true;
}

}  // namespace print
