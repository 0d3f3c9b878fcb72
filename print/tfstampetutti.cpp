#include "print/tfstampetutti.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "print/sezionepdf.h"
#include "storage/error.h"
#include "ui/dialoghi.h"

namespace print {

namespace {

QLineEdit* casella(const char* nome, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(nome));
    e->setMinimumWidth(140);
    return e;
}

// A section: two bounds, "Anteprima" and "Stampa", in one row.
QGroupBox* sezione(const QString& titolo, const QString& etDa, QLineEdit* da, const QString& etA,
                   QLineEdit* a, QCheckBox* anteprima, QPushButton* stampa, QWidget* parent) {
    auto* g = new QGroupBox(titolo, parent);
    auto* l = new QHBoxLayout(g);
    l->addWidget(new QLabel(etDa, g));
    l->addWidget(da, 1);
    l->addSpacing(8);
    l->addWidget(new QLabel(etA, g));
    l->addWidget(a, 1);
    l->addSpacing(12);
    l->addWidget(anteprima);
    l->addWidget(stampa);
    return g;
}

}  // namespace

TFStampeTutti::TFStampeTutti(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), uscita_(&UscitaPredefinita()) {
    setObjectName(QStringLiteral("TFStampeTutti"));
    setWindowTitle(QStringLiteral("Stampa C.U. Dipendenti"));

    auto* filtro = new QHBoxLayout;
    auto* etFiltro = new QLabel(QStringLiteral("Filtra:"), this);
    QFont f = etFiltro->font();
    f.setBold(true);
    etFiltro->setFont(f);
    cbDip_ = new QCheckBox(QStringLiteral("Dipendenti"), this);
    cbAmm_ = new QCheckBox(QStringLiteral("Amministratori"), this);
    cbCoCo_ = new QCheckBox(QStringLiteral("Co.Co.Co"), this);
    cbDip_->setObjectName(QStringLiteral("CbDip"));
    cbAmm_->setObjectName(QStringLiteral("CbAmm"));
    cbCoCo_->setObjectName(QStringLiteral("CbCoCo"));
    filtro->addWidget(etFiltro);
    for (QCheckBox* cb : {cbDip_, cbAmm_, cbCoCo_}) {
        cb->setChecked(true);
        filtro->addWidget(cb);
    }
    filtro->addStretch(1);

    dalNr_ = casella("EdDalNr", this);
    alNr_ = casella("EdAlNr", this);
    anteprimaMatricola_ = new QCheckBox(QStringLiteral("Anteprima"), this);
    anteprimaMatricola_->setObjectName(QStringLiteral("CbAnteprimaMatricola"));
    auto* stampaMatricola = new QPushButton(QStringLiteral("Stampa"), this);
    stampaMatricola->setObjectName(QStringLiteral("BtStampaMatricola"));

    da_ = casella("EdDa", this);
    a_ = casella("EdA", this);
    anteprimaCognome_ = new QCheckBox(QStringLiteral("Anteprima"), this);
    anteprimaCognome_->setObjectName(QStringLiteral("CbAnteprimaCognome"));
    auto* stampaCognome = new QPushButton(QStringLiteral("Stampa"), this);
    stampaCognome->setObjectName(QStringLiteral("BtStampaCognome"));

    auto* pdf = new SezionePdf(uscita_, this);
    pdfPerCertificato_ = pdf->attivo();
    cartella_ = pdf->cartella();

    auto* esci = new QGroupBox(QStringLiteral("Esci"), this);
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), esci);
    chiudi->setObjectName(QStringLiteral("BtChiudi"));
    auto* le = new QHBoxLayout(esci);
    le->addStretch(1);
    le->addWidget(chiudi);

    auto* l = new QVBoxLayout(this);
    l->addLayout(filtro);
    l->addWidget(sezione(QStringLiteral("Stampa per matricola"), QStringLiteral("Dal nr."), dalNr_,
                         QStringLiteral("al nr."), alNr_, anteprimaMatricola_, stampaMatricola,
                         this));
    l->addWidget(sezione(QStringLiteral("Stampa per cognome"), QStringLiteral("Da"), da_,
                         QStringLiteral("a"), a_, anteprimaCognome_, stampaCognome, this));
    l->addWidget(pdf);
    l->addWidget(esci);

    connect(stampaMatricola, &QPushButton::clicked, this, &TFStampeTutti::stampaPerMatricola);
    connect(stampaCognome, &QPushButton::clicked, this, &TFStampeTutti::stampaPerCognome);
    connect(chiudi, &QPushButton::clicked, this, &QWidget::hide);
}

void TFStampeTutti::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (centrata_) return;
    centrata_ = true;
    if (QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

bool TFStampeTutti::tipi(TipiSelezionati& t) {
    t.dipendenti = cbDip_->isChecked();
    t.amministratori = cbAmm_->isChecked();
    t.collaboratori = cbCoCo_->isChecked();
    if (!t.nessuno()) return true;
    ui::informa(this, QString::fromUtf8(kNessunTipo));
    return false;
}

OpzioniBatch TFStampeTutti::opzioni(bool anteprima) const {
    OpzioniBatch o;
    o.anteprima = anteprima;
    o.pdfPerCertificato = pdfPerCertificato_->isChecked();
    o.cartella = cartella_->text().trimmed();
    return o;
}

void TFStampeTutti::stampaPerMatricola() {
    TipiSelezionati t;
    if (!tipi(t)) return;
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaPerMatricola(conn_, t, dalNr_->text().toStdString(),
                                    alNr_->text().toStdString());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) {
        ui::informa(this, QString::fromUtf8(kSelezioneVuota));
        ui::informa(this, QString::fromUtf8(kOperazioneEseguita));
        return;
    }
    if (StampaBatch(conn_, Famiglia::Dipendenti, ids, opzioni(anteprimaMatricola_->isChecked()),
                    *uscita_, this) == EsitoBatch::Eseguito)
        ui::informa(this, QString::fromUtf8(kOperazioneEseguita));
}

void TFStampeTutti::stampaPerCognome() {
    TipiSelezionati t;
    if (!tipi(t)) return;
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaPerCognome(conn_, t, da_->text().toStdString(), a_->text().toStdString());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) return ui::informa(this, QString::fromUtf8(kSelezioneVuota));
    StampaBatch(conn_, Famiglia::Dipendenti, ids, opzioni(anteprimaCognome_->isChecked()),
                *uscita_, this);
}

}  // namespace print
