#include "ui/reporterfinestra.h"

#include <QApplication>
#include <QProgressDialog>

#include "ui/dialoghi.h"

namespace ui {

ReporterFinestra::ReporterFinestra(QWidget* parent, QString etichetta)
    : parent_(parent), etichetta_(std::move(etichetta)) {}

ReporterFinestra::~ReporterFinestra() = default;

void ReporterFinestra::info(const std::string& testo) {
    if (dialogo_) dialogo_->hide();
    informa(parent_, testoDaMessaggio(testo));
}

void ReporterFinestra::error(const std::string& testo) {
    if (dialogo_) dialogo_->hide();
    errore(parent_, testoDaMessaggio(testo));
    if (dialogo_ && !annullato_) dialogo_->show();
}

bool ReporterFinestra::ask(const std::string& domanda) {
    return chiedi(parent_, testoDaMessaggio(domanda));
}

bool ReporterFinestra::progress(std::size_t fatti, std::size_t totale) {
    if (!dialogo_) {
        dialogo_ = std::make_unique<QProgressDialog>(etichetta_, QStringLiteral("Annulla"), 0,
                                                     100, parent_);
        dialogo_->setWindowModality(Qt::WindowModal);
        dialogo_->setMinimumDuration(300);
        dialogo_->setAutoClose(false);
        dialogo_->setAutoReset(false);
    }
    if (totale > 0) {
        dialogo_->setMaximum(static_cast<int>(std::min<std::size_t>(totale, 1u << 30)));
        dialogo_->setValue(static_cast<int>(std::min(fatti, totale)));
        dialogo_->setLabelText(etichetta_ + QStringLiteral("\n%1 di %2").arg(fatti).arg(totale));
    }
    QApplication::processEvents();
    if (dialogo_->wasCanceled()) annullato_ = true;
    if (fatti >= totale && totale > 0) dialogo_->hide();
    return !annullato_;
}

}  // namespace ui
