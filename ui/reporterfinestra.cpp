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

ReporterFinestra::~ReporterFinestra() {
    gInCorso.erase(std::remove(gInCorso.begin(), gInCorso.end(), this), gInCorso.end());
}

void chiudiProgressi() {
    for (ReporterFinestra* r : gInCorso) r->chiudi();
}

// QProgressDialog shows itself from a timer of its own, which keeps running after hide(): only
// a box that no longer exists is sure not to come back.
void ReporterFinestra::chiudi() { dialogo_.reset(); }

void ReporterFinestra::info(const std::string& testo) { informa(parent_, testoDaMessaggio(testo)); }

void ReporterFinestra::error(const std::string& testo) { errore(parent_, testoDaMessaggio(testo)); }

bool ReporterFinestra::ask(const std::string& domanda) { return chiedi(parent_, testoDaMessaggio(domanda)); }

namespace {
constexpr int kScala = 1000;
}  // namespace

QString ReporterFinestra::avanzamento(std::size_t fatti, std::size_t totale) const {
    return QStringLiteral("%1 di %2").arg(fatti).arg(totale);
}

bool ReporterFinestra::progress(std::size_t fatti, std::size_t totale) {
    if (annullato_) return false;
    if (!orologio_.isValid()) orologio_.start();
    if (totale > 0 && fatti >= totale) {
        chiudi();
        return true;
    }
    if (!dialogo_ && orologio_.elapsed() >= kAttesaMs) {
        dialogo_ = std::make_unique<QProgressDialog>(etichetta_, QStringLiteral("Annulla"), 0, kScala, parent_);
        dialogo_->setWindowModality(Qt::WindowModal);
        dialogo_->setAutoClose(false);
        dialogo_->setAutoReset(false);
        dialogo_->setMinimumDuration(0);
        dialogo_->show();
    }
    if (dialogo_ && totale > 0) {
        // The bar in thousandths of the whole: a total past what an int holds (a file of some
        // gigabytes read by the byte) still fills it in step.
        dialogo_->setValue(static_cast<int>(std::min(fatti, totale) * static_cast<std::size_t>(kScala) / totale));
        dialogo_->setLabelText(etichetta_ + QLatin1Char('\n') + avanzamento(fatti, totale));
    }
    QApplication::processEvents();
    if (dialogo_ && dialogo_->wasCanceled()) {
        annullato_ = true;
        chiudi();
    }
    return !annullato_;
}

}  // namespace ui
