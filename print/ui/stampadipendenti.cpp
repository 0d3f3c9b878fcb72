#include "print/ui/stampadipendenti.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "print/ui/sezionibatch.h"
#include "storage/error.h"
#include "ui/dialoghi.h"

namespace print {

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

    matricola_ = new SezioneIntervallo(QStringLiteral("Stampa per matricola"), QStringLiteral("Dal nr."),
                                       QStringLiteral("al nr."),
                                       {"EdDalNr", "EdAlNr", "CbAnteprimaMatricola", "BtStampaMatricola"}, this);
    cognome_ = new SezioneIntervallo(QStringLiteral("Stampa per cognome"), QStringLiteral("Da"), QStringLiteral("a"),
                                     {"EdDa", "EdA", "CbAnteprimaCognome", "BtStampaCognome"}, this);

    auto* l = new QVBoxLayout(this);
    l->addLayout(filtro);
    l->addWidget(matricola_);
    l->addWidget(cognome_);
    pdf_ = AggiungiPiede(*l, uscita_, conn_, *this);

    connect(matricola_, &SezioneIntervallo::stampa, this, &TFStampeTutti::stampaPerMatricola);
    connect(cognome_, &SezioneIntervallo::stampa, this, &TFStampeTutti::stampaPerCognome);
}

bool TFStampeTutti::tipi(storage::Tipi& t) {
    t = storage::Tipi()
            .con(storage::Tipo::DIP, cbDip_->isChecked())
            .con(storage::Tipo::AMM, cbAmm_->isChecked())
            .con(storage::Tipo::CoC, cbCoCo_->isChecked());
    if (!t.nessuno()) return true;
    ui::informa(this, QString::fromUtf8(kNessunTipo));
    return false;
}

void TFStampeTutti::stampaPerMatricola() {
    storage::Tipi t;
    if (!tipi(t)) return;
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaPerMatricola(conn_, t, matricola_->da(), matricola_->a());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) {
        ui::informa(this, QString::fromUtf8(kSelezioneVuota));
        ui::informa(this, QString::fromUtf8(kOperazioneEseguita));
        return;
    }
    if (StampaBatch(conn_, Famiglia::Dipendenti, ids, pdf_->opzioni(matricola_->anteprima()), *uscita_, this) ==
        EsitoBatch::Eseguito)
        ui::informa(this, QString::fromUtf8(kOperazioneEseguita));
}

void TFStampeTutti::stampaPerCognome() {
    storage::Tipi t;
    if (!tipi(t)) return;
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaPerCognome(conn_, t, cognome_->da(), cognome_->a());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) return ui::informa(this, QString::fromUtf8(kSelezioneVuota));
    StampaBatch(conn_, Famiglia::Dipendenti, ids, pdf_->opzioni(cognome_->anteprima()), *uscita_, this);
}

}  // namespace print
