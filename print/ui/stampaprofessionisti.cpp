#include "print/ui/stampaprofessionisti.h"

#include <QVBoxLayout>

#include "print/ui/sezionibatch.h"
#include "storage/error.h"
#include "ui/dialoghi.h"

namespace print {

TFProfesStaTutti::TFProfesStaTutti(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), uscita_(&UscitaPredefinita()) {
    setObjectName(QStringLiteral("TFProfesStaTutti"));
    setWindowTitle(QStringLiteral("Stampa C.U. Professionisti"));

    cognome_ = new SezioneIntervallo(QStringLiteral("Stampa per cognome"), QStringLiteral("Da"), QStringLiteral("a"),
                                     {"EdDa", "EdA", "CbAnteprima", "BtStampa"}, this);
    auto* l = new QVBoxLayout(this);
    l->addWidget(cognome_);
    pdf_ = AggiungiPiede(*l, uscita_, conn_, *this);

    connect(cognome_, &SezioneIntervallo::stampa, this, &TFProfesStaTutti::stampaPerCognome);
}

void TFProfesStaTutti::stampaPerCognome() {
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaProfessionisti(conn_, cognome_->da(), cognome_->a());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) return ui::informa(this, QString::fromUtf8(kSelezioneVuota));
    StampaBatch(conn_, Famiglia::Professionisti, ids, pdf_->opzioni(cognome_->anteprima()), *uscita_, this);
}

}  // namespace print
