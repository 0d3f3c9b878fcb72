#include "import/ui/finestraimporta.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>

#include "import/importazione.h"
#include "import/ricevute.h"
#include "storage/config.h"
#include "ui/dialoghi.h"
#include "ui/icone.h"
#include "ui/reporterfinestra.h"
#include "ui/sfoglia.h"

namespace {

QString predefinito(const char* relativo) {
    return QDir::toNativeSeparators(QString::fromStdString(storage::cartellaUtente(relativo)));
}

// Where the payroll and financial procedures write their exports.
QString cartellaEsportazioni() { return predefinito("RVTMP"); }

// The payroll exports: "zefo.43" and "zefo.03" as the procedure names them, or a copy renamed.
const QString kFiltroPaghe = QStringLiteral("Esportazione delle paghe (zefo.* *.43 *.03 *.txt)");

// A label above its edit and its "Sfoglia…", as the panels show the file to import.
QWidget* conEtichetta(const QString& etichetta, QLineEdit* sotto, QWidget* genitore, const QString& filtro) {
    auto* w = new QWidget(genitore);
    auto* l = new QGridLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setVerticalSpacing(2);
    auto* e = new QLabel(etichetta, w);
    e->setBuddy(sotto);
    l->addWidget(e, 0, 0, 1, 2);
    l->addWidget(sotto, 1, 0);
    l->addWidget(
        ui::bottoneSfogliaImportazione(sotto, QStringLiteral("File da importare"), filtro, cartellaEsportazioni()), 1,
        1);
    return w;
}

// The imports report the bytes of the file read so far: the operator is shown the share of the
// file, which means something whatever the file's size.
class ReporterImportazione : public ui::ReporterFinestra {
public:
    using ReporterFinestra::ReporterFinestra;

protected:
    QString avanzamento(std::size_t fatti, std::size_t totale) const override {
        return QStringLiteral("Letto il %1% del file").arg(std::min(fatti, totale) * 100 / totale);
    }
};

}  // namespace

TFImportaFile::TFImportaFile(storage::Connection& conn, QWidget* parent) : QWidget(parent, Qt::Window), conn_(conn) {
    setObjectName(QStringLiteral("TFImportaFile"));
    setWindowTitle(QStringLiteral("Importazione del dati da Ravo"));
    auto* l = new QVBoxLayout(this);
    l->setSpacing(4);
    l->setContentsMargins(10, 6, 10, 6);

    // Dati Aggiuntivi: read as typed by every import.
    auto* aggiuntivi = pannello(QStringLiteral("Dati Aggiuntivi"), "PanelAggiuntivi");
    auto* al = new QHBoxLayout(aggiuntivi);
    auto* sostituto = new QGroupBox(QStringLiteral(" Dati del sostituto d'imposta "), aggiuntivi);
    auto* sl = new QFormLayout(sostituto);
    EditAttivita = campo(QStringLiteral("841110"), "EditAttivita");
    EditAttivita->setMaximumWidth(90);
    EditSede = campo(QStringLiteral("001"), "EditSede");
    EditSede->setMaximumWidth(60);
    EditSede->setToolTip(QStringLiteral("Valori ammessi da 001 a 999"));
    EditSede->setStyleSheet(QStringLiteral("QLineEdit { background-color: #ffffe1; }"));
    sl->addRow(QStringLiteral("Codice attività"), EditAttivita);
    sl->addRow(QStringLiteral("Codice sede"), EditSede);
    al->addWidget(sostituto);
    auto* inps = new QGroupBox(QStringLiteral(" Dati previd. ed assist. INPS "), aggiuntivi);
    auto* il = new QFormLayout(inps);
    EditMatricola = campo(QString(), "EditMatricola");
    EditMatricola->setMaximumWidth(140);
    il->addRow(QStringLiteral("Matricola azienda"), EditMatricola);
    al->addWidget(inps, 0, Qt::AlignTop);
    al->addStretch(1);

    // The payroll procedure's export.
    auto* paghe = pannello(QStringLiteral("Import dalla Procedura PAGHE (RAVOPAG)"), "PanelPaghe");
    auto* pl = new QGridLayout(paghe);
    auto* tracciato = new QWidget(paghe);
    auto* tl = new QHBoxLayout(tracciato);
    tl->setContentsMargins(0, 0, 0, 0);
    tl->addWidget(new QLabel(QStringLiteral("Tracciato da utilizzare "), tracciato));
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    const char* nomi[] = {"rbDipendenti", "rbAmministratori", "rbCoCoCo"};
    const QString voci[] = {QStringLiteral("Dipendenti / LPU - LSU"), QStringLiteral("Amministratori"),
                            QStringLiteral("Co.Co.Co.")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(voci[i], tracciato);
        r->setObjectName(QLatin1String(nomi[i]));
        RadioGroup1->addButton(r, i);
        tl->addWidget(r);
    }
    tl->addStretch(1);
    pl->addWidget(tracciato, 0, 0, 1, 2);
    CBSostituto = new QCheckBox(QStringLiteral("Importa i dati del sostituto d'imposta"), paghe);
    CBSostituto->setObjectName(QStringLiteral("CBSostituto"));
    pl->addWidget(CBSostituto, 1, 0, 1, 2);
    EditPaghe = campo(predefinito("RVTMP/zefo.43"), "EditPaghe");
    pl->addWidget(conEtichetta(QStringLiteral("Nome del file da importare:"), EditPaghe, paghe, kFiltroPaghe), 2, 0);
    pl->addWidget(bottone(QStringLiteral("Importa"), "btnImportaPaghe", [this] { importaPaghe(); }), 2, 1,
                  Qt::AlignBottom);
    pl->setColumnStretch(0, 1);

    // Professionals from the financial procedure's export.
    auto* finanziaria = pannello(QStringLiteral("Import dalla Procedura FINANZIARIA (RAVOPAG)"), "PanelFinanziaria");
    auto* fl = new QGridLayout(finanziaria);
    auto* da = new QWidget(finanziaria);
    auto* dl = new QHBoxLayout(da);
    dl->setContentsMargins(0, 0, 0, 0);
    dl->addWidget(new QLabel(QStringLiteral("Importa i dati del sostituto d'imposta da "), da));
    CbDatiGenerali = new QCheckBox(QStringLiteral("i dati generali"), da);
    CbDatiGenerali->setObjectName(QStringLiteral("CbDatiGenerali"));
    CbCuDipendenti = new QCheckBox(QStringLiteral("le C.U. 2015 dei dipendenti"), da);
    CbCuDipendenti->setObjectName(QStringLiteral("CbCuDipendenti"));
    dl->addWidget(CbDatiGenerali);
    dl->addWidget(CbCuDipendenti);
    dl->addStretch(1);
    fl->addWidget(da, 0, 0, 1, 2);
    EditFinanziaria = campo(predefinito("RVTMP/A.TXT"), "EditFinanziaria");
    fl->addWidget(conEtichetta(QStringLiteral("Nome del file da importare:"), EditFinanziaria, finanziaria,
                               QStringLiteral("Esportazione della procedura finanziaria (*.txt)")),
                  1, 0);
    fl->addWidget(bottone(QStringLiteral("Importa"), "btnImportaFinanziaria", [this] { importaFinanziaria(); }), 1, 1,
                  Qt::AlignBottom);
    fl->setColumnStretch(0, 1);

    // Professionals from a 770 Semplificato file written by another vendor's procedure.
    auto* p770 = pannello(QStringLiteral("Import dalla Procedura FINANZIARIA (770 Semplificato)"), "Panel770");
    auto* sl7 = new QGridLayout(p770);
    Edit770 = campo(predefinito("RVTMP/770Semplificato.txt"), "Edit770");
    sl7->addWidget(conEtichetta(QStringLiteral("Nome del file da importare:"), Edit770, p770,
                                QStringLiteral("770 Semplificato (*.txt *.770)")),
                   0, 0, 2, 1, Qt::AlignVCenter);
    sl7->addWidget(bottone(QStringLiteral("Importa tracciato 1"), "btnTracciato1", [this] { importa770(1); }), 0, 1);
    sl7->addWidget(new QLabel(QStringLiteral("CF in pos. 30"), p770), 0, 2);
    sl7->addWidget(bottone(QStringLiteral("Importa tracciato 2"), "btnTracciato2", [this] { importa770(2); }), 1, 1);
    sl7->addWidget(new QLabel(QStringLiteral("CF in pos. 14"), p770), 1, 2);
    sl7->setColumnStretch(0, 1);

    // A second reading of a payroll export.
    auto* altro = pannello(QStringLiteral("Altro"), "PanelAltro");
    auto* ol = new QGridLayout(altro);
    EditAltro = campo(predefinito("RVTMP/zefo.03"), "EditAltro");
    ol->addWidget(conEtichetta(QStringLiteral("Nome del file da importare:"), EditAltro, altro, kFiltroPaghe), 0, 0);
    ol->addWidget(bottone(QStringLiteral("Importa"), "btnImportaAltro", [this] { importaAltro(); }), 0, 1,
                  Qt::AlignBottom);
    CbAltro = new QCheckBox(QStringLiteral("Importa i dati del sostituto d'imposta"), altro);
    CbAltro->setObjectName(QStringLiteral("CbAltro"));
    ol->addWidget(CbAltro, 1, 0, 1, 2);
    ol->setColumnStretch(0, 1);

    // The receipts' identifiers, copied by the operator from the Agency's listing.
    auto* ricevute = pannello(QStringLiteral("Ricevute"), "PanelRicevute");
    // One row: the window must still fit a 1366x768 screen.
    auto* rl = new QHBoxLayout(ricevute);
    EditRicevute = campo(QString(), "EditRicevute");
    EditRicevute->setPlaceholderText(QStringLiteral("CF; numero; protocollo; progressivo"));
    EditRicevute->setToolTip(
        QStringLiteral("File di testo separato da «;», con una riga di intestazione facoltativa:\n"
                       "codice fiscale; numero certificato; protocollo (17 cifre); "
                       "progressivo (6 cifre)"));
    auto* etichettaRicevute = new QLabel(QStringLiteral("File:"), ricevute);
    etichettaRicevute->setBuddy(EditRicevute);
    rl->addWidget(etichettaRicevute);
    rl->addWidget(EditRicevute, 1);
    rl->addWidget(ui::bottoneSfogliaImportazione(EditRicevute, QStringLiteral("File delle ricevute"),
                                                 QStringLiteral("Elenco delle ricevute (*.csv *.txt)"),
                                                 cartellaEsportazioni()));
    CbElencoRicevute = new QComboBox(ricevute);
    CbElencoRicevute->setObjectName(QStringLiteral("CbElencoRicevute"));
    CbElencoRicevute->addItem(QStringLiteral("Tutti i certificati"));
    CbElencoRicevute->addItem(QStringLiteral("Dipendenti"));
    CbElencoRicevute->addItem(QStringLiteral("Professionisti"));
    CbElencoRicevute->setToolTip(QStringLiteral("Dove cercare i certificati delle righe"));
    rl->addWidget(CbElencoRicevute);
    rl->addWidget(bottone(QStringLiteral("Importa"), "btnImportaRicevute", [this] { importaRicevute(); }));

    // The archive reset.
    auto* elimina = pannello(QStringLiteral("Elimina"), "PanelElimina");
    elimina->setStyleSheet(QStringLiteral("QGroupBox#PanelElimina { font-weight: bold; color: #c00000; }"));
    auto* el = new QHBoxLayout(elimina);
    el->addWidget(bottone(QStringLiteral("Dati generali dell'Ente"), "btnEliminaEnte", [this] { eliminaEnte(); }));
    el->addWidget(
        bottone(QStringLiteral("Dati dei dipendenti"), "btnEliminaDipendenti", [this] { eliminaDipendenti(); }));
    el->addWidget(bottone(QStringLiteral("Dati dei professionisti"), "btnEliminaProfessionisti",
                          [this] { eliminaProfessionisti(); }));

    for (QGroupBox* g : {aggiuntivi, paghe, finanziaria, p770, altro, ricevute, elimina}) {
        // Tight panels: the window fits a 1366x768 screen with its title bar and a task bar.
        g->layout()->setContentsMargins(9, 3, 9, 5);
        l->addWidget(g);
    }

    auto* fondo = new QHBoxLayout;
    fondo->addWidget(ui::bottoneChiudi(this, "SpeedButton1"));
    fondo->addStretch(1);
    auto* rinumera =
        bottone(QStringLiteral("Rinumera i certificati…"), "btnRinumera", [this] { rinumeraCertificati(); });
    rinumera->setToolTip(
        QStringLiteral("Dà un numero da 1 a 99999 ai certificati che ne hanno uno più lungo,\n"
                       "che il file da inviare non può contenere"));
    fondo->addWidget(rinumera);
    fondo->addWidget(
        bottone(QStringLiteral("Ripristina archivio…"), "btnRipristina", [this] { ripristinaArchivio(); }));
    l->addLayout(fondo);

    resize(600, sizeHint().height());
}

QGroupBox* TFImportaFile::pannello(const QString& titolo, const char* nome) {
    auto* g = new QGroupBox(titolo, this);
    g->setObjectName(QLatin1String(nome));
    // Only the panel's title is bold: a style sheet font does not reach the controls inside.
    g->setStyleSheet(QStringLiteral("QGroupBox#%1 { font-weight: bold; }").arg(QLatin1String(nome)));
    return g;
}

QLineEdit* TFImportaFile::campo(const QString& testo, const char* nome) {
    auto* e = new QLineEdit(testo, this);
    e->setObjectName(QLatin1String(nome));
    return e;
}

QPushButton* TFImportaFile::bottone(const QString& testo, const char* nome, const std::function<void()>& azione) {
    auto* b = new QPushButton(testo, this);
    b->setObjectName(QLatin1String(nome));
    b->setMinimumWidth(110);
    connect(b, &QPushButton::clicked, this, azione);
    return b;
}

void TFImportaFile::esegui(const QString& etichetta, const std::function<void(storage::Reporter&)>& lavoro) {
    // The progress dialog lets events through: a second press must not start a second run.
    if (inCorso_) return;
    inCorso_ = true;
    ReporterImportazione reporter(this, etichetta);
    try {
        lavoro(reporter);
        if (reporter.annullato()) ui::informa(this, ui::kAnnullatoDati);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    inCorso_ = false;
}

namespace {
importazione::DatiAggiuntivi leggiDati(QLineEdit* attivita, QLineEdit* sede, QLineEdit* matricola) {
    importazione::DatiAggiuntivi d;
    d.codiceAttivita = attivita->text().toStdString();
    d.codiceSede = sede->text().toStdString();
    d.matricolaAzienda = matricola->text().toStdString();
    return d;
}
}  // namespace

void TFImportaFile::importaPaghe() {
    const int scelta = RadioGroup1->checkedId();
    if (scelta < 0) {
        ui::informa(this, QStringLiteral("Non è stato indicato il tipo di tracciato da utilizzare per l'import."));
        return;
    }
    const auto tracciato = scelta == 0 ? storage::Tipo::DIP : scelta == 1 ? storage::Tipo::AMM : storage::Tipo::CoC;
    esegui(QStringLiteral("Importazione in corso..."), [&](storage::Reporter& r) {
        importazione::ImportaPaghe(conn_, EditPaghe->text().toStdString(), tracciato, CBSostituto->isChecked(),
                                   leggiDati(EditAttivita, EditSede, EditMatricola), r);
    });
}

void TFImportaFile::importaFinanziaria() {
    esegui(QStringLiteral("Importazione in corso..."), [&](storage::Reporter& r) {
        importazione::ImportaFinanziaria(conn_, EditFinanziaria->text().toStdString(), CbCuDipendenti->isChecked(),
                                         leggiDati(EditAttivita, EditSede, EditMatricola), r);
    });
}

void TFImportaFile::importa770(int tracciato) {
    esegui(QStringLiteral("Importazione in corso..."), [&](storage::Reporter& r) {
        importazione::Importa770(conn_, Edit770->text().toStdString(), tracciato,
                                 leggiDati(EditAttivita, EditSede, EditMatricola), r);
    });
}

void TFImportaFile::importaAltro() {
    esegui(QStringLiteral("Importazione in corso..."), [&](storage::Reporter& r) {
        importazione::ImportaAltro(conn_, EditAltro->text().toStdString(), CbAltro->isChecked(),
                                   leggiDati(EditAttivita, EditSede, EditMatricola), r);
    });
}

void TFImportaFile::importaRicevute() {
    if (EditRicevute->text().trimmed().isEmpty()) {
        ui::informa(this, QStringLiteral("Indicare il file delle ricevute da importare."));
        return;
    }
    std::optional<storage::Elenco> elenco;
    if (CbElencoRicevute->currentIndex() == 1) elenco = storage::Elenco::Dipendenti;
    if (CbElencoRicevute->currentIndex() == 2) elenco = storage::Elenco::Professionisti;
    esegui(QStringLiteral("Importazione in corso..."), [&](storage::Reporter& r) {
        importazione::ImportaRicevute(conn_, EditRicevute->text().trimmed().toStdString(), r, elenco);
    });
    emit ricevuteImportate();
}

void TFImportaFile::elimina(importazione::Archivio quali) {
    if (!salvato()) return;
    bool eliminati = false;
    esegui(QStringLiteral("Eliminazione in corso..."),
           [&](storage::Reporter& r) { eliminati = importazione::Azzera(conn_, quali, r); });
    if (eliminati) emit datiEliminati(quali);
}

void TFImportaFile::eliminaEnte() { elimina(importazione::Archivio::Ente); }

void TFImportaFile::eliminaDipendenti() { elimina(importazione::Archivio::Dipendenti); }

void TFImportaFile::eliminaProfessionisti() { elimina(importazione::Archivio::Professionisti); }

void TFImportaFile::ripristinaArchivio() {
    if (!salvato()) return;
    QDialog d(this);
    d.setObjectName(QStringLiteral("DlgRipristina"));
    d.setWindowTitle(QStringLiteral("Ripristina archivio"));
    auto* l = new QVBoxLayout(&d);
    l->addWidget(new QLabel(QStringLiteral("Copie dell'archivio salvate prima di ogni importazione, "
                                           "eliminazione e ripristino (le ultime 10):"),
                            &d));
    auto* elenco = new QTreeWidget(&d);
    elenco->setObjectName(QStringLiteral("ListaCopie"));
    elenco->setRootIsDecorated(false);
    elenco->setHeaderLabels({QStringLiteral("Quando"), QStringLiteral("Prima di")});
    for (const auto& c : importazione::ElencoCopie(conn_)) {
        auto* voce = new QTreeWidgetItem(elenco, {QString::fromStdString(c.quando), QString::fromStdString(c.prima)});
        voce->setData(0, Qt::UserRole, QString::fromStdString(c.percorso));
    }
    elenco->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    if (elenco->topLevelItemCount() > 0) elenco->setCurrentItem(elenco->topLevelItem(0));
    l->addWidget(elenco);
    auto* bottoni = new QDialogButtonBox(&d);
    auto* ripristina = bottoni->addButton(QStringLiteral("Ripristina"), QDialogButtonBox::AcceptRole);
    ripristina->setObjectName(QStringLiteral("btnEseguiRipristino"));
    ripristina->setEnabled(elenco->topLevelItemCount() > 0);
    bottoni->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    connect(bottoni, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(bottoni, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    connect(elenco, &QTreeWidget::itemDoubleClicked, &d, &QDialog::accept);
    l->addWidget(bottoni);
    d.resize(620, 320);
    if (d.exec() != QDialog::Accepted || !elenco->currentItem()) return;
    const std::string percorso = elenco->currentItem()->data(0, Qt::UserRole).toString().toStdString();
    bool ripristinato = false;
    esegui(QStringLiteral("Ripristino in corso..."),
           [&](storage::Reporter& r) { ripristinato = importazione::Ripristina(conn_, percorso, r); });
    if (ripristinato) emit archivioRipristinato();
}

void TFImportaFile::rinumeraCertificati() {
    if (!salvato()) return;
    auto esito = importazione::EsitoRinumerazione::Annullata;
    esegui(QStringLiteral("Rinumerazione in corso..."),
           [&](storage::Reporter& r) { esito = importazione::Rinumera(conn_, r); });
    if (esito == importazione::EsitoRinumerazione::Fatta) emit certificatiRinumerati();
}
