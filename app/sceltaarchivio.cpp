#include "app/sceltaarchivio.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "app/dialogoserver.h"
#include "import/importazione.h"
#include "storage/archivi.h"
#include "storage/config.h"
#include "storage/connection.h"
#include "storage/error.h"
#include "storage/recenti.h"
#include "storage/server.h"
#include "storage/sistema.h"
#include "ui/dialoghi.h"
#include "ui/reporterfinestra.h"

namespace {
QString nativo(const std::string& percorso) { return QDir::toNativeSeparators(QString::fromStdString(percorso)); }
}  // namespace

TFArchivio::TFArchivio(std::string percorsoIni, QWidget* parent)
    : QDialog(parent), percorsoIni_(std::move(percorsoIni)) {
    setObjectName(QStringLiteral("TFArchivio"));
    setWindowTitle(QStringLiteral("Archivio"));
    auto* l = new QVBoxLayout(this);
    motivo_ = new QLabel(this);
    motivo_->setObjectName(QStringLiteral("Motivo"));
    motivo_->setWordWrap(true);
    l->addWidget(motivo_);

    auto* nuovi = new QHBoxLayout;
    auto* crea = new QPushButton(QStringLiteral("Crea nuovo archivio…"), this);
    crea->setObjectName(QStringLiteral("btnCreaArchivio"));
    crea->setToolTip(QStringLiteral("Sceglie una cartella e vi crea un archivio vuoto (Zefo2015.db)"));
    connect(crea, &QPushButton::clicked, this, &TFArchivio::creaNuovo);
    auto* altro = new QPushButton(QStringLiteral("Apri archivio…"), this);
    altro->setObjectName(QStringLiteral("btnApriArchivio"));
    altro->setToolTip(QStringLiteral("Sceglie un file Zefo2015.db già esistente"));
    connect(altro, &QPushButton::clicked, this, &TFArchivio::apriAltro);
    auto* server = new QPushButton(QStringLiteral("Archivio su server…"), this);
    server->setObjectName(QStringLiteral("btnArchivioServer"));
    server->setToolTip(QStringLiteral("Un archivio condiviso dagli operatori dell'ufficio, su un server PostgreSQL"));
    connect(server, &QPushButton::clicked, this, &TFArchivio::apriServer);
    nuovi->addWidget(crea);
    nuovi->addWidget(altro);
    nuovi->addWidget(server);
    nuovi->addStretch(1);
    l->addLayout(nuovi);

    l->addWidget(new QLabel(QStringLiteral("Archivi usati di recente:"), this));
    recenti_ = new QTreeWidget(this);
    recenti_->setObjectName(QStringLiteral("Recenti"));
    recenti_->setHeaderLabels({QStringLiteral("Sostituto d'imposta"), QStringLiteral("Cartella")});
    recenti_->setRootIsDecorated(false);
    recenti_->setAllColumnsShowFocus(true);
    recenti_->header()->setStretchLastSection(true);
    recenti_->setColumnWidth(0, 260);
    connect(recenti_, &QTreeWidget::itemActivated, this, [this] { apriRecente(); });
    l->addWidget(recenti_, 1);

    // The copies of an archive that would not open: one click from working again.
    titoloCopie_ = new QLabel(this);
    titoloCopie_->setWordWrap(true);
    l->addWidget(titoloCopie_);
    copie_ = new QTreeWidget(this);
    copie_->setObjectName(QStringLiteral("Copie"));
    copie_->setHeaderLabels({QStringLiteral("Quando"), QStringLiteral("Prima di"), QStringLiteral("File")});
    copie_->setRootIsDecorated(false);
    copie_->setAllColumnsShowFocus(true);
    copie_->setColumnWidth(0, 150);
    copie_->setColumnWidth(1, 330);
    connect(copie_, &QTreeWidget::itemActivated, this, [this] { ripristinaCopia(); });
    l->addWidget(copie_, 1);
    auto* rigaCopie = new QHBoxLayout;
    ripristina_ = new QPushButton(QStringLiteral("Ripristina la copia…"), this);
    ripristina_->setObjectName(QStringLiteral("btnRipristinaCopia"));
    ripristina_->setToolTip(
        QStringLiteral("Mette la copia scelta al posto dell'archivio che non si apre, conservando "
                       "accanto il file attuale"));
    connect(ripristina_, &QPushButton::clicked, this, &TFArchivio::ripristinaCopia);
    rigaCopie->addWidget(ripristina_);
    rigaCopie->addStretch(1);
    l->addLayout(rigaCopie);

    auto* fondo = new QHBoxLayout;
    fondo->addStretch(1);
    apri_ = new QPushButton(QStringLiteral("Apri"), this);
    apri_->setObjectName(QStringLiteral("btnApri"));
    apri_->setDefault(true);
    connect(apri_, &QPushButton::clicked, this, &TFArchivio::apriRecente);
    esci_ = new QPushButton(this);
    esci_->setObjectName(QStringLiteral("btnEsci"));
    connect(esci_, &QPushButton::clicked, this, &QDialog::reject);
    fondo->addWidget(apri_);
    fondo->addWidget(esci_);
    l->addLayout(fondo);
    resize(640, 360);
}

void TFArchivio::prepara(const QString& motivo, bool avvio, const std::string& nonAperto) {
    nonAperto_ = nonAperto;
    copie_->clear();
    std::vector<importazione::CopiaArchivio> copie;
    try {
        if (!nonAperto_.empty()) copie = importazione::ElencoCopie(nonAperto_);
    } catch (const storage::Error&) {
        // A server that does not answer keeps its copies too: there is nothing to list here.
    }
    for (const auto& c : copie) {
        auto* r = new QTreeWidgetItem(copie_, {QString::fromStdString(c.quando), QString::fromStdString(c.prima),
                                               QString::fromStdString(c.nome)});
        r->setData(0, Qt::UserRole, QString::fromStdString(c.percorso));
    }
    const bool conCopie = copie_->topLevelItemCount() > 0;
    titoloCopie_->setText(QStringLiteral("Copie di sicurezza di %1:").arg(nativo(nonAperto_)));
    for (QWidget* w :
         {static_cast<QWidget*>(titoloCopie_), static_cast<QWidget*>(copie_), static_cast<QWidget*>(ripristina_)})
        w->setVisible(conCopie);
    if (conCopie) copie_->setCurrentItem(copie_->topLevelItem(0));
    scelto_.clear();
    cartella_.clear();
    motivo_->setText(motivo);
    motivo_->setVisible(!motivo.isEmpty());
    esci_->setText(avvio ? QStringLiteral("Esci") : QStringLiteral("Annulla"));
    esci_->setToolTip(avvio ? QStringLiteral("Chiude il programma") : QStringLiteral("Resta sull'archivio aperto"));
    recenti_->clear();
    ultimoServer_ = storage::Connection::indirizzoServer(nonAperto) ? nonAperto : std::string();
    for (const auto& a : storage::descriviArchiviRecenti(percorsoIni_)) {
        const bool suServer = storage::Connection::indirizzoServer(a.cartella);
        const QString nome = !a.leggibile && suServer ? QStringLiteral("(server non raggiungibile o schema non valido)")
                             : !a.leggibile           ? QStringLiteral("(archivio non trovato o non valido)")
                             : a.sostituto.empty()    ? QStringLiteral("(dati del sostituto da compilare)")
                                                      : QString::fromStdString(a.sostituto);
        // A server address is no path: its slashes stay as written.
        auto* r = new QTreeWidgetItem(
            recenti_,
            {nome, suServer ? QString::fromStdString(storage::DescriviArchivio(a.cartella)) : nativo(a.cartella)});
        r->setData(0, Qt::UserRole, QString::fromStdString(a.cartella));
        r->setToolTip(1, suServer ? QString::fromStdString(a.cartella) : nativo(storage::percorsoDatabase(a.cartella)));
        if (suServer && ultimoServer_.empty()) ultimoServer_ = a.cartella;
        if (!a.leggibile) {
            r->setForeground(0, palette().color(QPalette::Disabled, QPalette::Text));
            r->setForeground(1, palette().color(QPalette::Disabled, QPalette::Text));
        }
    }
    for (int i = 0; i < recenti_->topLevelItemCount(); ++i)
        if (recenti_->topLevelItem(i)->foreground(0) != palette().color(QPalette::Disabled, QPalette::Text)) {
            recenti_->setCurrentItem(recenti_->topLevelItem(i));
            break;
        }
    apri_->setEnabled(recenti_->topLevelItemCount() > 0);
    if (conCopie)
        copie_->setFocus();
    else
        recenti_->setFocus();
}

void TFArchivio::ripristinaCopia() {
    QTreeWidgetItem* r = copie_->currentItem();
    if (!r || nonAperto_.empty()) return;
    const std::string copia = r->data(0, Qt::UserRole).toString().toStdString();
    bool fatto = false;
    if (!ui::esegui(this, [&] {
            ui::ReporterFinestra reporter(this, QStringLiteral("Ripristino dell'archivio in corso..."));
            fatto = importazione::RipristinaArchivio(nonAperto_, copia, reporter);
        }))
        return;
    if (fatto) prova(storage::sistema::utf8(storage::sistema::nativo(nonAperto_).parent_path()));
}

QString TFArchivio::cartellaIniziale() const {
    // Beside the archive chosen last, else the usual place of the archives.
    if (auto* r = recenti_->topLevelItem(0)) {
        const QFileInfo ultima(r->data(0, Qt::UserRole).toString());
        if (ultima.isDir()) return ultima.absolutePath();
    }
    const QString solita = QString::fromStdString(storage::cartellaUtente("RAVO/Zefo2015"));
    return QFileInfo(solita).isDir() ? solita : QDir::homePath();
}

bool TFArchivio::prova(const std::string& cartella) {
    const std::string db = storage::percorsoDatabase(cartella);
    const bool fatto = ui::esegui(this, [&] {
        storage::Connection c;
        storage::apriArchivio(c, db);
    });
    if (!fatto) return false;
    scelto_ = db;
    cartella_ = cartella;
    accept();
    return true;
}

namespace {

// The folder dialog that also takes the name of a folder not made yet (typed in its name box):
// the new archive's folder is created with the archive.
class DialogoCartellaNuova : public QFileDialog {
public:
    DialogoCartellaNuova(QWidget* parent, const QString& titolo, const QString& inizio)
        : QFileDialog(parent, titolo, inizio) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        // Qt's own dialog: the system's would refuse a folder that does not exist.
        setOption(QFileDialog::DontUseNativeDialog);
    }
    QString scelta() const { return scelta_; }

protected:
    void accept() override {
        const QStringList scelti = selectedFiles();
        scelta_ = scelti.isEmpty() ? QString() : scelti.first();
        if (!scelta_.isEmpty() && !QFileInfo::exists(scelta_)) return QDialog::accept();
        QFileDialog::accept();
    }

private:
    QString scelta_;
};

}  // namespace

void TFArchivio::creaNuovo() {
    DialogoCartellaNuova dialogo(
        this, QStringLiteral("Cartella del nuovo archivio (una cartella per sostituto d'imposta)"), cartellaIniziale());
    if (dialogo.exec() != QDialog::Accepted) return;
    const QString scelta =
        QDir::toNativeSeparators(dialogo.scelta().isEmpty() ? dialogo.selectedFiles().value(0) : dialogo.scelta());
    if (scelta.isEmpty()) return;
    const std::string cartella = QDir::fromNativeSeparators(scelta).toStdString();
    if (std::filesystem::exists(storage::sistema::nativo(storage::percorsoDatabase(cartella)))) {
        if (ui::chiedi(this, QStringLiteral("La cartella %1 contiene già un archivio. Aprirlo?").arg(scelta)))
            prova(cartella);
        return;
    }
    if (ui::esegui(this, [&] { storage::creaArchivio(cartella); })) prova(cartella);
}

void TFArchivio::apriAltro() {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Apri archivio"), cartellaIniziale(),
                                                      QStringLiteral("Archivio di Palio 2015 (Zefo2015.db)"));
    if (file.isEmpty()) return;
    const QFileInfo info(file);
    // A copy of the backup folder is not opened as an archive: it can take its archive's place.
    const QDir cartellaCopia = info.absoluteDir();
    if (info.fileName().startsWith(QStringLiteral("Zefo2015_")) &&
        cartellaCopia.dirName() == QStringLiteral("backup")) {
        QDir dati = cartellaCopia;
        dati.cdUp();
        const std::string db =
            QDir::fromNativeSeparators(dati.filePath(QString::fromLatin1(storage::kNomeDatabase))).toStdString();
        bool fatto = false;
        if (!ui::esegui(this, [&] {
                ui::ReporterFinestra reporter(this, QStringLiteral("Ripristino dell'archivio in corso..."));
                fatto = importazione::RipristinaArchivio(db, QDir::fromNativeSeparators(file).toStdString(), reporter);
            }))
            return;
        if (fatto) prova(QDir::fromNativeSeparators(dati.absolutePath()).toStdString());
        return;
    }
    if (info.fileName() != QString::fromLatin1(storage::kNomeDatabase)) {
        ui::errore(this, QStringLiteral("L'archivio è il file %1 di una cartella: %2 non lo è.")
                             .arg(QString::fromLatin1(storage::kNomeDatabase), QDir::toNativeSeparators(file)));
        return;
    }
    prova(QDir::fromNativeSeparators(info.absolutePath()).toStdString());
}

void TFArchivio::apriServer() {
    DialogoServer dialogo(this);
    dialogo.compila(ultimoServer_);
    if (dialogo.exec() == QDialog::Accepted) prova(dialogo.indirizzo());
}

void TFArchivio::apriRecente() {
    QTreeWidgetItem* r = recenti_->currentItem();
    if (!r) return;
    prova(r->data(0, Qt::UserRole).toString().toStdString());
}
