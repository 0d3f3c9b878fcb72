#include "ui/reporterfinestra.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <vector>

#include "ui/dialoghi.h"

namespace ui {

namespace {
// The jobs under way, innermost last (a check may run inside a generation).
std::vector<ReporterFinestra*> gInCorso;
}  // namespace

ReporterFinestra::ReporterFinestra(QWidget* parent, QString etichetta)
    : parent_(parent), etichetta_(std::move(etichetta)) {
    gInCorso.push_back(this);
}

ReporterFinestra::~ReporterFinestra() { gInCorso.erase(std::remove(gInCorso.begin(), gInCorso.end(), this), gInCorso.end()); }

void chiudiProgressi() {
    for (ReporterFinestra* r : gInCorso) r->chiudi();
}

// QProgressDialog shows itself from a timer of its own, which keeps running after hide(): only
// a box that no longer exists is sure not to come back.
void ReporterFinestra::chiudi() { dialogo_.reset(); }

void ReporterFinestra::info(const std::string& testo) {
    informa(parent_, testoDaMessaggio(testo));
}

void ReporterFinestra::error(const std::string& testo) {
    errore(parent_, testoDaMessaggio(testo));
}

bool ReporterFinestra::ask(const std::string& domanda) {
    return chiedi(parent_, testoDaMessaggio(domanda));
}

bool ReporterFinestra::progress(std::size_t fatti, std::size_t totale) {
    if (annullato_) return false;
    if (!orologio_.isValid()) orologio_.start();
    if (totale > 0 && fatti >= totale) {
        chiudi();
        return true;
    }
    if (!dialogo_ && orologio_.elapsed() >= kAttesaMs) {
        dialogo_ = std::make_unique<QProgressDialog>(etichetta_, QStringLiteral("Annulla"), 0, 100, parent_);
        dialogo_->setWindowModality(Qt::WindowModal);
        dialogo_->setAutoClose(false);
        dialogo_->setAutoReset(false);
        dialogo_->setMinimumDuration(0);
        dialogo_->show();
    }
    if (dialogo_ && totale > 0) {
        const int massimo = static_cast<int>(std::min<std::size_t>(totale, 1u << 30));
        dialogo_->setMaximum(massimo);
        dialogo_->setValue(static_cast<int>(std::min<std::size_t>(fatti, static_cast<std::size_t>(massimo))));
        dialogo_->setLabelText(etichetta_ + QStringLiteral("\n%1 di %2").arg(fatti).arg(totale));
    }
    QApplication::processEvents();
    if (dialogo_ && dialogo_->wasCanceled()) {
        annullato_ = true;
        chiudi();
    }
    return !annullato_;
}

}  // namespace ui
