#include "ui/finestramodifica.h"

#include <QCloseEvent>
#include <algorithm>

#include "ui/dialoghi.h"
#include "ui/testi.h"

namespace ui {

FinestraModifica::FinestraModifica(storage::Connection& conn, Regola regola, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), regola_(regola) {}

bool FinestraModifica::esegui(const std::function<void()>& azione) { return ui::esegui(this, azione); }

bool FinestraModifica::modificata() {
    scriviPagine();
    return righeInSospeso();
}

bool FinestraModifica::righeInSospeso() const {
    if (modificheFuoriDalleRighe()) return true;
    return std::any_of(righe_.begin(), righe_.end(), [this](const storage::Dataset* d) {
        return d->modified() ||
               (regola_ == Regola::ValoriOStatoDiModifica && d->state() == storage::Dataset::State::Edit);
    });
}

bool FinestraModifica::salvaSeRichiesto() {
    bool chiedere = false;
    if (!esegui([&] { chiedere = modificata(); })) return false;
    if (!chiedere) return true;
    if (chiediSalvataggio()) return esegui([this] { salvaModifiche(); });
    return esegui([this] { scartaModifiche(); });
}

bool FinestraModifica::chiediSalvataggio() { return chiedi(this, testi::kDomandaSalva, Predefinito::Si); }

void FinestraModifica::stampaDopoLaDomanda(const std::function<void()>& stampa) {
    if (salvaSeRichiesto()) esegui(stampa);
}

bool FinestraModifica::chiudiFinestra() {
    if (!salvaSeRichiesto()) return false;
    hide();
    return true;
}

void FinestraModifica::closeEvent(QCloseEvent* e) {
    if (salvaSeRichiesto())
        e->accept();
    else
        e->ignore();
}

bool FinestraModifica::salvaPrimaDiUscire() {
    bool chiedere = false;
    if (!esegui([&] { chiedere = modificata(); })) return false;
    if (!chiedere) return true;
    switch (chiediOAnnulla(this, testi::domandaSalvaFinestra(nomeFinestra()))) {
    case Risposta::Si: return esegui([this] { salvaModifiche(); });
    case Risposta::No: return esegui([this] { scartaModifiche(); });
    case Risposta::Annulla: break;
    }
    return false;
}

}  // namespace ui
