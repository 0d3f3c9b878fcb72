#include "telematic/ui/finestragenerazione.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <memory>

#include "storage/archivi.h"
#include "storage/config.h"
#include "telematic/generazione.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/sceltecertificati.h"
#include "ui/collocazione.h"
#include "ui/dialoghi.h"
#include "ui/icone.h"
#include "ui/reporterfinestra.h"
#include "ui/sfoglia.h"
#include "ui/testi.h"

TFGenerazione::TFGenerazione(Tipo tipo, storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), tipo_(tipo), conn_(conn) {
    const bool dip = tipo_ == Tipo::Dipendenti;
    setObjectName(dip ? QStringLiteral("TFCreaFile") : QStringLiteral("TFCreaFileProfes"));
    setWindowTitle(dip ? QStringLiteral("Creazione del file da inviare DIPENDENTI")
                       : QStringLiteral("Creazione del file PROFESSIONISTI"));

    auto* l = new QVBoxLayout(this);
    l->setSpacing(10);

    auto* fornitore = new QGroupBox(QStringLiteral(" Tipo fornitore "), this);
    auto* fl = new QVBoxLayout(fornitore);
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* r01 = new QRadioButton(QStringLiteral("01 - Soggetti che inviano le proprie dichiarazione."), fornitore);
    auto* r10 = new QRadioButton(QStringLiteral("10 - C.A.F. dipendenti e pensionati; C.A.F. imprese; (*)"), fornitore);
    r01->setObjectName(QStringLiteral("Fornitore01"));
    r10->setObjectName(QStringLiteral("Fornitore10"));
    RadioGroup1->addButton(r01, 0);
    RadioGroup1->addButton(r10, 1);
    r01->setChecked(true);
    fl->addWidget(r01);
    fl->addWidget(r10);
    auto* Label2 = new QLabel(QStringLiteral("(*) - C.A.F. dipendenti e pensionati; C.A.F. imprese; società ed enti di "
                                             "cui all'art. 3, comma 2, del D.P.R. n. 322 del 1998 e successive "
                                             "modificazioni; società del gruppo che trasmettono le comunicazioni delle "
                                             "altre società del gruppo."),
                              fornitore);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    QFont piccolo = Label2->font();
    piccolo.setPointSizeF(piccolo.pointSizeF() * 0.9);
    Label2->setFont(piccolo);
    Label2->setContentsMargins(22, 2, 0, 0);
    fl->addWidget(Label2);
    l->addWidget(fornitore);

    CheckBox1 = casella(QStringLiteral("Il sostituto d’imposta non ha in precedenza già "
                                       "validamente presentato una comunicazione CSO"),
                        "CheckBox1", this);
    l->addWidget(CheckBox1);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { rifiutaQuadroCtSeCorrezione(); });

    // Ordinary, or a correction of certificates already accepted: only those marked for it.
    auto* tipoFornitura = new QGroupBox(QStringLiteral(" Tipo di fornitura "), this);
    auto* tl = new QGridLayout(tipoFornitura);
    fornitura_ = new QButtonGroup(this);
    fornitura_->setObjectName(QStringLiteral("GruppoFornitura"));
    const char* nomiFornitura[] = {"FornituraOrdinaria", "FornituraSostituzione", "FornituraAnnullamento"};
    const QString vociFornitura[] = {QStringLiteral("Ordinaria"), QStringLiteral("Sostituzione"),
                                     QStringLiteral("Annullamento")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(vociFornitura[i], tipoFornitura);
        r->setObjectName(QLatin1String(nomiFornitura[i]));
        fornitura_->addButton(r, i);
        tl->addWidget(r, 0, i);
    }
    fornitura_->button(0)->setChecked(true);
    tl->setColumnStretch(3, 1);
    bottoneScelti_ = new QPushButton(QStringLiteral("Solo i certificati scelti…"), tipoFornitura);
    bottoneScelti_->setObjectName(QStringLiteral("btnScelti"));
    bottoneScelti_->setToolTip(QStringLiteral("Limita la fornitura ordinaria ai certificati spuntati in un elenco"));
    connect(bottoneScelti_, &QPushButton::clicked, this, &TFGenerazione::scegliCertificati);
    etichettaScelti_ = new QLabel(tipoFornitura);
    etichettaScelti_->setObjectName(QStringLiteral("lblScelti"));
    tl->addWidget(bottoneScelti_, 1, 0, 1, 2);
    tl->addWidget(etichettaScelti_, 1, 2, 1, 2);
    connect(fornitura_, &QButtonGroup::idToggled, this, [this](int, bool acceso) {
        if (!acceso) return;
        rifiutaQuadroCtSeCorrezione();
        aggiornaScelti();
    });
    l->addWidget(tipoFornitura);

    if (dip) {
        auto* forniture = new QGroupBox(QStringLiteral("Forniture da includere "), this);
        auto* gl = new QHBoxLayout(forniture);
        CBDipendenti = casella(QStringLiteral("Dipendenti - LPU / LSU"), "CBDipendenti", forniture);
        CbAmministratori = casella(QStringLiteral("Amministratori"), "CbAmministratori", forniture);
        CbCoCoCo = casella(QStringLiteral("Co. Co. Co."), "CbCoCoCo", forniture);
        gl->addWidget(CBDipendenti);
        gl->addWidget(CbAmministratori);
        gl->addWidget(CbCoCoCo);
        gl->addStretch(1);
        l->addWidget(forniture);
    }

    auto* destinazione = new QGridLayout;
    destinazione->setHorizontalSpacing(8);
    cartellaProposta_ =
        QDir::toNativeSeparators(QString::fromStdString(storage::cartellaDiUscita(conn_, "FileXInvio")));
    Edit2 = new QLineEdit(cartellaProposta_, this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit1 = new QLineEdit(
        QString::fromLatin1(dip ? telematic::kNomeFileDipendenti : telematic::kNomeFileProfessionisti), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* lc = new QLabel(QStringLiteral("Cartella di destinazione"), this);
    lc->setBuddy(Edit2);
    auto* ln = new QLabel(QStringLiteral("Nome del file"), this);
    ln->setBuddy(Edit1);
    destinazione->addWidget(lc, 0, 0);
    destinazione->addWidget(Edit2, 0, 1);
    destinazione->addWidget(
        ui::bottoneSfoglia(Edit2, ui::Scelta::Cartella, conn_, QStringLiteral("Cartella di destinazione")), 0, 2);
    destinazione->addWidget(ln, 1, 0);
    destinazione->addWidget(Edit1, 1, 1);
    l->addLayout(destinazione);

    l->addStretch(1);
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(ui::bottoneChiudi(this, "SpeedButton2"));
    fondo->addStretch(1);
    auto bottone = [&](const QString& testo, const char* nome, const QString& suggerimento,
                       void (TFGenerazione::*azione)()) {
        auto* b = new QPushButton(testo, this);
        b->setObjectName(QLatin1String(nome));
        b->setToolTip(suggerimento);
        connect(b, &QPushButton::clicked, this, azione);
        fondo->addWidget(b);
        return b;
    };
    bottoneControllo_ =
        bottone(QStringLiteral("Controllo"), "btnControllo",
                QStringLiteral("Controlla i dati da inviare come farebbe l'Agenzia, senza scrivere il file"),
                &TFGenerazione::controlla);
    bottoneControllaFile_ = bottone(QStringLiteral("Controlla file"), "btnControllaFile",
                                    QStringLiteral("Controlla il file già generato nella cartella di destinazione"),
                                    &TFGenerazione::controllaFile);
    genera_ = new QPushButton(QStringLiteral("Genera file"), this);
    genera_->setObjectName(QStringLiteral("btnGenera"));
    genera_->setMinimumWidth(140);
    genera_->setDefault(true);
    connect(genera_, &QPushButton::clicked, this, &TFGenerazione::generaFile);
    fondo->addWidget(genera_);
    l->addLayout(fondo);

    controllo_ = new TFControllo(this);
    connect(controllo_, &TFControllo::ripeti, this, &TFGenerazione::controlla);

    aggiornaScelti();
    resize(560, dip ? 480 : 420);
}

telematic::TipoFornitura TFGenerazione::fornitura() const {
    switch (fornitura_->checkedId()) {
    case 1: return telematic::TipoFornitura::Sostituzione;
    case 2: return telematic::TipoFornitura::Annullamento;
    default: return telematic::TipoFornitura::Ordinaria;
    }
}

storage::Elenco TFGenerazione::elenco() const {
    return tipo_ == Tipo::Dipendenti ? storage::Elenco::Dipendenti : storage::Elenco::Professionisti;
}

void TFGenerazione::rifiutaQuadroCtSeCorrezione() {
    if (!CheckBox1->isChecked() || fornitura() == telematic::TipoFornitura::Ordinaria) return;
    CheckBox1->setChecked(false);
    ui::informa(this, QString::fromUtf8(telematic::kRifiutoCtCorrezione));
}

void TFGenerazione::aggiornaScelti() {
    const telematic::TipoFornitura f = fornitura();
    const bool ordinaria = f == telematic::TipoFornitura::Ordinaria;
    bottoneScelti_->setEnabled(ordinaria);
    if (ordinaria) {
        etichettaScelti_->setText(
            scelti_.empty()       ? QStringLiteral("tutti i certificati")
            : scelti_.size() == 1 ? QStringLiteral("1 certificato scelto")
                                  : QStringLiteral("%1 certificati scelti").arg(ui::testi::conteggio(scelti_.size())));
        return;
    }
    const bool sost = f == telematic::TipoFornitura::Sostituzione;
    std::size_t n = 0;
    // An archive that cannot be read says so when the operator runs the check or the generation.
    ui::esegui(this, [&] {
        n = storage::MarcatiCon(conn_, elenco(),
                                sost ? storage::Operazione::Sostituzione : storage::Operazione::Annullamento)
                .size();
    });
    const QString parola = sost ? QStringLiteral("Sostituzione") : QStringLiteral("Annullamento");
    etichettaScelti_->setText(n == 1
                                  ? QStringLiteral("1 certificato segnato «%1»").arg(parola)
                                  : QStringLiteral("%1 certificati segnati «%2»").arg(ui::testi::conteggio(n), parola));
}

void TFGenerazione::showEvent(QShowEvent* e) {
    // Marks set in the editors meanwhile show in the count.
    if (conn_.isOpen()) aggiornaScelti();
    // The archive's own folder, unless the operator typed another one.
    const QString proposta =
        QDir::toNativeSeparators(QString::fromStdString(storage::cartellaDiUscita(conn_, "FileXInvio")));
    if (Edit2->text() == cartellaProposta_) Edit2->setText(proposta);
    cartellaProposta_ = proposta;
    QWidget::showEvent(e);
}

void TFGenerazione::scegliCertificati() {
    std::optional<Segnalati> segnalati;
    if (controllato_) {
        const auto origine = tipo_ == Tipo::Dipendenti ? check::Origine::Dipendente : check::Origine::Professionista;
        auto numeri = [origine](const std::vector<check::Problema>& problemi, bool soloErrori) {
            std::vector<std::int64_t> ids;
            for (const check::Problema& p : problemi)
                if (p.origine == origine && p.id > 0 && (!soloErrori || p.gravita == check::Gravita::Errore))
                    ids.push_back(p.id);
            std::sort(ids.begin(), ids.end());
            ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
            return ids;
        };
        segnalati = Segnalati{numeri(controllo_->problemi(), true), numeri(controllo_->problemiSelezionati(), false),
                              numeri(controllo_->problemi(), false)};
    }
    std::unique_ptr<TFScelti> d;
    if (!ui::esegui(this, [&] { d = std::make_unique<TFScelti>(conn_, elenco(), scelti_, segnalati, this); })) return;
    if (d->exec() != QDialog::Accepted) return;
    scelti_ = d->scelti();
    aggiornaScelti();
}

QCheckBox* TFGenerazione::casella(const QString& testo, const char* nome, QWidget* genitore) {
    auto* c = new QCheckBox(testo, genitore);
    c->setObjectName(QLatin1String(nome));
    return c;
}

void TFGenerazione::generaFile() {
    // The progress dialog lets events through: a second press must not start a second run.
    if (inCorso_) return;
    inCorso_ = true;
    genera_->setEnabled(false);

    telematic::OpzioniGenerazione opz;
    opz.cartella = Edit2->text().toStdString();
    opz.nomeFile = Edit1->text().toStdString();
    opz.tipoFornitore = RadioGroup1->checkedId() == 1 ? "10" : "01";
    opz.quadroCt = CheckBox1->isChecked();
    opz.fornitura = fornitura();
    if (opz.fornitura == telematic::TipoFornitura::Ordinaria && !scelti_.empty()) opz.scelti = scelti_;
    if (tipo_ == Tipo::Dipendenti) opz.tipi = tipiScelti();
    // The check runs once the folder and the overwrite question are settled, before writing.
    bool annullato = false;
    opz.primaDiScrivere = [this, &annullato] {
        EsitoControllo c = controllaArchivio();
        if (!c.concluso) {
            annullato = c.annullato;
            return false;
        }
        const std::size_t errori = check::ContaErrori(c.problemi);
        if (errori == 0) return true;
        const QString domanda =
            errori == 1 ? QStringLiteral("È stato trovato 1 errore. Generare comunque il file?")
                        : QStringLiteral("Sono stati trovati %1 errori. Generare comunque il file?").arg(errori);
        if (ui::chiedi(this, domanda)) return true;
        mostraControllo(std::move(c.problemi), intestazioneControllo(), false);
        return false;
    };
    // The professionals' encoder reports gather in the check's list, shown once the run is over,
    // rather than stopping the run with a box each.
    std::vector<check::Problema> segnalazioni;
    if (tipo_ == Tipo::Professionisti)
        opz.segnalazione = [&segnalazioni](std::int64_t id, const std::string& nominativo, const std::string& testo) {
            check::Problema p;
            p.origine = id > 0 ? check::Origine::Professionista : check::Origine::Sostituto;
            p.id = id;
            p.nominativo = nominativo;
            p.testo = ui::testoDaMessaggio(testo).simplified().toStdString();
            segnalazioni.push_back(std::move(p));
        };
    ui::ReporterFinestra reporter(this, QStringLiteral("Generazione del file in corso..."));
    try {
        const auto ris = tipo_ == Tipo::Dipendenti ? telematic::GeneraFileDipendenti(conn_, opz, reporter)
                                                   : telematic::GeneraFileProfessionisti(conn_, opz, reporter);
        if (!ris.cartella.empty()) Edit2->setText(QString::fromStdString(ris.cartella));
        if (ris.esito == telematic::Esito::Concluso) {
            aggiornaScelti();
            emit fileScritto();
        }
        if (ris.esito == telematic::Esito::Annullato && (annullato || reporter.annullato()))
            ui::informa(this, ui::kAnnullatoFile);
        if (ris.esito == telematic::Esito::Concluso && !segnalazioni.empty())
            mostraControllo(std::move(segnalazioni),
                            QStringLiteral("Segnalazioni della generazione del file %1")
                                .arg(QDir::toNativeSeparators(QString::fromStdString(ris.percorsoFile))),
                            false);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    genera_->setEnabled(true);
    inCorso_ = false;
}

storage::Tipi TFGenerazione::tipiScelti() const {
    return storage::Tipi()
        .con(storage::Tipo::DIP, CBDipendenti->isChecked())
        .con(storage::Tipo::AMM, CbAmministratori->isChecked())
        .con(storage::Tipo::CoC, CbCoCoCo->isChecked());
}

check::OpzioniControllo TFGenerazione::opzioniControllo() const {
    check::OpzioniControllo o;
    const bool dip = tipo_ == Tipo::Dipendenti;
    o.tipi = dip ? tipiScelti() : storage::Tipi();
    o.professionisti = !dip;
    o.quadroCt = CheckBox1->isChecked();
    o.fornitura = fornitura();
    if (o.fornitura == telematic::TipoFornitura::Ordinaria && !scelti_.empty())
        (dip ? o.sceltiDipendenti : o.sceltiProfessionisti) = scelti_;
    return o;
}

QString TFGenerazione::intestazioneControllo() const {
    const check::OpzioniControllo o = opzioniControllo();
    QStringList parti;
    if (tipo_ == Tipo::Professionisti) parti << QStringLiteral("Professionisti");
    if (o.tipi.contiene(storage::Tipo::DIP)) parti << QStringLiteral("Dipendenti - LPU / LSU");
    if (o.tipi.contiene(storage::Tipo::AMM)) parti << QStringLiteral("Amministratori");
    if (o.tipi.contiene(storage::Tipo::CoC)) parti << QStringLiteral("Co. Co. Co.");
    if (parti.isEmpty()) parti << QStringLiteral("solo il sostituto: nessuna fornitura scelta");
    if (o.quadroCt) parti << QStringLiteral("Quadro CT");
    if (o.fornitura == telematic::TipoFornitura::Sostituzione) parti << QStringLiteral("fornitura di sostituzione");
    if (o.fornitura == telematic::TipoFornitura::Annullamento) parti << QStringLiteral("fornitura di annullamento");
    if (o.sceltiDipendenti || o.sceltiProfessionisti) parti << etichettaScelti_->text();
    return QStringLiteral("Controllo dell'archivio (%1)").arg(parti.join(QStringLiteral(", ")));
}

TFGenerazione::EsitoControllo TFGenerazione::controllaArchivio() {
    EsitoControllo esito;
    ui::ReporterFinestra reporter(this, QStringLiteral("Controllo dell'archivio in corso..."));
    try {
        esito.problemi = check::ControllaArchivio(
            conn_, opzioniControllo(),
            [&](std::size_t fatti, std::size_t totale) { return reporter.progress(fatti, totale); });
        esito.annullato = reporter.annullato();
        esito.concluso = !esito.annullato;
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    return esito;
}

void TFGenerazione::mostraControllo(std::vector<check::Problema> problemi, const QString& intestazione, bool file) {
    controllato_ = !file;
    controllo_->mostra(std::move(problemi), intestazione, file);
    if (!controllo_->isVisible()) ui::colloca(controllo_);
    if (controllo_->isMinimized()) controllo_->showNormal();
    controllo_->show();
    controllo_->raise();
    controllo_->activateWindow();
}

void TFGenerazione::controlla() {
    if (inCorso_) return;
    inCorso_ = true;
    genera_->setEnabled(false);
    bottoneControllo_->setEnabled(false);
    EsitoControllo c = controllaArchivio();
    genera_->setEnabled(true);
    bottoneControllo_->setEnabled(true);
    inCorso_ = false;
    // A cancelled check still shows what it found, ending with the note that it stopped.
    if (c.concluso || !c.problemi.empty()) mostraControllo(std::move(c.problemi), intestazioneControllo(), false);
}

void TFGenerazione::controllaFile() {
    const QString cartella = Edit2->text().trimmed();
    const QString nome = Edit1->text().trimmed();
    if (cartella.isEmpty() || nome.isEmpty()) {
        ui::errore(this, QStringLiteral("Indicare la cartella e il nome del file da controllare"));
        return;
    }
    const QString percorso = QDir(QDir::fromNativeSeparators(cartella)).filePath(nome);
    if (!QFileInfo::exists(percorso)) {
        ui::errore(this, QStringLiteral("Il file %1 non esiste: generarlo prima di controllarlo.")
                             .arg(QDir::toNativeSeparators(percorso)));
        return;
    }
    try {
        mostraControllo(check::ControllaFile(percorso.toStdString()),
                        QStringLiteral("Controllo del file %1").arg(QDir::toNativeSeparators(percorso)), true);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
}
