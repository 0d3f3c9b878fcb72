#include "entry/editorprofessionisti.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScopeGuard>
#include <QToolButton>
#include <utility>
#include <vector>

#include "entry/testatainvio.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "print/ui/stampacertificato.h"
#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/elenchi.h"
#include "ui/dialoghi.h"
#include "ui/icone.h"
#include "ui/reporterfinestra.h"
#include "ui/testi.h"

using storage::Dataset;
using ui::Icona;
using ui::icona;

namespace {

const QString kTabella = QStringLiteral("Professionisti");

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TFProfessionisti::TFProfessionisti(storage::Connection& conn, QWidget* parent)
    : EditorCertificati(conn, parent), elenco_(conn) {
    righe_ = {&elenco_};
    setObjectName(QStringLiteral("TFProfessionisti"));
    domandaCancellazione_ = ui::testi::kDomandaCancellazioneProfessionista;
    setWindowTitle(QStringLiteral("Certificazione Unica[*]"));

    auto* barra = new QHBoxLayout;
    barra->setSpacing(2);
    pulsantiModifica(barra);
    auto* ant = pulsante(QStringLiteral("Anteprima"), icona(Icona::Anteprima), [this] { anteprima(); });
    ant->setToolTip(QStringLiteral("Stampa"));
    barra->addWidget(ant);
    barra->addWidget(pulsante(ui::testi::kStampa, icona(Icona::Stampa), [this] { stampa(); }));
    barra->addSpacing(8);
    barra->addWidget(navigatore());
    barra->addStretch(1);
    barra->addWidget(pulsanteChiudi());

    auto* testata = new QHBoxLayout;
    testata->addWidget(new QLabel(QStringLiteral("Dipendente"), this));
    cognome_ = casellaTestata(QStringLiteral("B02"), 190);
    testata->addWidget(cognome_);
    nome_ = casellaTestata(QStringLiteral("B03"), 150);
    testata->addWidget(nome_);
    testata->addSpacing(10);
    testata->addWidget(new QLabel(QStringLiteral("C.F."), this));
    codiceFiscale_ = casellaTestata(QStringLiteral("B01"), 150);
    testata->addWidget(codiceFiscale_);
    testata->addStretch(1);

    creaSchede({{&forms::ProfessionistaPagina1(), QStringLiteral("Pagina 1")},
                {&forms::ProfessionistaPagina2(), QStringLiteral("Pagina 5")}});

    copia_ = new QToolButton(viste_[0]);
    copia_->setObjectName(QStringLiteral("Riporta"));
    copia_->setIcon(icona(Icona::Copia));
    copia_->setIconSize(QSize(14, 14));
    copia_->setFixedSize(18, 18);
    copia_->setToolTip(QStringLiteral("Riporta i dati del sostituto d'imposta su tutte le C.U."));
    connect(copia_, &QToolButton::clicked, this, [this] { esegui([this] { riportaSostituto(); }); });
    posizionaCopia();

    creaTestataInvio(storage::Elenco::Professionisti);
    componi(barra, testata);
}

// At the left of the employer's section, beside its first box.
void TFProfessionisti::posizionaCopia() {
    QRectF r;
    if (const forms::Campo* c = viste_[0]->pagina().campo(kTabella, QStringLiteral("A01"))) r = c->rettangolo;
    if (QWidget* b = viste_[0]->box(kTabella, QStringLiteral("A01"))) r = b->geometry();
    const int y = r.isValid() ? static_cast<int>(r.top()) : 150;
    copia_->move(1, y);
    copia_->raise();
}

void TFProfessionisti::riapriElenco() {
    elenco_.close();
    elenco_.open(storage::CertificatiPerNominativo(storage::Elenco::Professionisti));
    caricaPagine();
    invio().ricarica();  // an import or a run may have changed what was sent of the same certificate
    emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::apriElencoSeChiuso() {
    if (!elenco_.isOpen()) riapriElenco();
}

// A stored row is current (not a new one, not past the end).
bool TFProfessionisti::rigaSalvata() const {
    return elenco_.isOpen() && !elenco_.eof() && elenco_.state() != Dataset::State::Insert;
}

bool TFProfessionisti::conRiga() const {
    return elenco_.isOpen() && (!elenco_.eof() || elenco_.state() == Dataset::State::Insert);
}

void TFProfessionisti::mostraPagina(forms::VistaPagina& v) {
    v.collega(kTabella, elenco_.isOpen() ? &elenco_ : nullptr);
    v.carica();
    v.setSolaLettura(!conRiga());
}

void TFProfessionisti::aggiornaTestata() {
    const bool c = conRiga();
    cognome_->setText(c ? q(elenco_.text("B02")) : QString());
    nome_->setText(c ? q(elenco_.text("B03")) : QString());
    codiceFiscale_->setText(c ? q(elenco_.text("B01")) : QString());
    invio().segui(rigaSalvata() ? elenco_.integer("ID") : 0);
}

std::optional<std::vector<check::Problema>> TFProfessionisti::problemiCorrenti() {
    if (!conRiga()) return std::nullopt;
    scriviPagine();
    return check::ControllaProfessionista(conn_, entry::rigaMostrata(elenco_));
}

void TFProfessionisti::scriviPagine() {
    if (conRiga()) scriviPagineCaricate();
}

void TFProfessionisti::salvaLasciando(const std::function<void()>& movimento) {
    scriviPagine();
    const std::int64_t id = rigaSalvata() ? elenco_.integer("ID") : 0;
    const bool cambiato = elenco_.modified();
    const auto scrivi = [&] {
        if (id != 0) salvaInvio();
        movimento();  // saves the row left, or drops a new row left untouched
        // A move that stayed (the list's end) saves the row too.
        if (id != 0 && elenco_.key() == id && elenco_.state() == Dataset::State::Edit) elenco_.post();
        if (cambiato && id != 0) segnaModificato(id);
    };
    if (!cambiato || id == 0) return scrivi();
    salvaCertificato(id, elenco_.integer("Revisione"), scrivi);
}

void TFProfessionisti::ricaricaCertificato() {
    const bool nuova = elenco_.state() == Dataset::State::Insert;
    elenco_.cancel();
    if (elenco_.isOpen()) elenco_.moveTo(elenco_.position());
    invio().ricarica();
    caricaPagine();
    if (nuova) emit elencoCambiato();
    emit certificatoCambiato();
}

bool TFProfessionisti::nuovaIntatta() {
    if (!elenco_.isOpen() || elenco_.state() != Dataset::State::Insert) return false;
    scriviPagine();
    for (const auto& nome : elenco_.columns().names()) {
        std::string atteso;
        for (const auto& [colonna, valore] : precompilati_)
            if (nome == colonna) atteso = valore;
        if (elenco_.text(nome) != atteso) return false;
    }
    return true;
}

void TFProfessionisti::sposta(const std::function<void()>& movimento) {
    if (!elenco_.isOpen()) return;
    // A new row holding only what it started with is dropped, not saved.
    if (nuovaIntatta()) elenco_.cancel();
    const bool nuova = elenco_.state() == Dataset::State::Insert && elenco_.modified();
    salvaLasciando(movimento);
    caricaPagine();
    if (nuova) emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::salva() {
    if (!elenco_.isOpen()) return;
    const bool nuova = elenco_.state() == Dataset::State::Insert;
    salvaLasciando([&] {
        if (elenco_.state() == Dataset::State::Edit || nuova) elenco_.post();
    });
    caricaPagine();
    if (nuova) emit elencoCambiato();
    emit datiCambiati();
}

void TFProfessionisti::aggiungi() {
    apriElencoSeChiuso();
    if (nuovaIntatta()) elenco_.cancel();
    const bool nuova = elenco_.state() == Dataset::State::Insert && elenco_.modified();
    precompilati_ = storage::ValoriNuovoCertificato(conn_, true);
    salvaLasciando([this] { elenco_.append(); });
    for (const auto& [colonna, valore] : precompilati_) elenco_.setText(colonna, valore);
    caricaPagine();
    if (nuova) emit elencoCambiato();
}

void TFProfessionisti::modifica() {
    if (rigaSalvata()) elenco_.edit();
}

void TFProfessionisti::annulla() { scartaModifiche(); }

void TFProfessionisti::scartaModifiche() {
    if (!elenco_.isOpen()) return;
    const bool nuova = elenco_.state() == Dataset::State::Insert;
    elenco_.cancel();
    invio().ricarica();
    caricaPagine();
    if (nuova) emit certificatoCambiato();
}

void TFProfessionisti::cancella() {
    // A new row was never stored: it is dropped, after the question only when something was typed.
    if (elenco_.isOpen() && elenco_.state() == Dataset::State::Insert) {
        scriviPagine();
        if (elenco_.modified() &&
            !cancellazioneConfermata(
                true, ui::testi::persona(q(elenco_.text("B02")), q(elenco_.text("B03")), q(elenco_.text("B01")), 0)))
            return;
        scartaModifiche();
        return;
    }
    const bool c = rigaSalvata();
    if (!cancellazioneConfermata(c, c ? ui::testi::persona(q(elenco_.text("B02")), q(elenco_.text("B03")),
                                                           q(elenco_.text("B01")), elenco_.integer("ID"))
                                      : QString()))
        return;
    elenco_.cancel();
    elenco_.remove();
    caricaPagine();
    emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::stampaRiga(bool conAnteprima) {
    if (!certificatoPresente(rigaSalvata())) return;
    stampaDopoLaDomanda(
        [this, conAnteprima] { print::StampaProfessionista(conn_, elenco_.integer("ID"), conAnteprima, this); });
}

void TFProfessionisti::anteprima() { stampaRiga(true); }

void TFProfessionisti::stampa() { stampaRiga(false); }

void TFProfessionisti::riportaSostituto() {
    if (!certificatoPresente(conRiga())) return;
    // What was typed on this row is settled first, by the operator's own answer.
    if (!salvaSeRichiesto()) return;
    if (!certificatoPresente(rigaSalvata())) return;
    const std::size_t tutti = elenco_.rowCount();
    if (!ui::chiedi(this, QStringLiteral("Copiare i 13 dati del sostituto di questo certificato (A01-A11, firma e "
                                         "data) in tutti i %1 professionisti?")
                              .arg(QLocale(QLocale::Italian, QLocale::Italy).toString(static_cast<qulonglong>(tutti)))))
        return;
    std::optional<std::vector<std::int64_t>> cambiati;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto ripristina = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        ui::ReporterFinestra avanzamento(this, QStringLiteral("Copia dei dati del sostituto in corso..."));
        cambiati = storage::RiportaSostitutoNeiProfessionisti(
            conn_, [this](const char* c) { return elenco_.text(c); },
            [&](std::size_t fatti, std::size_t totale) { return avanzamento.progress(fatti, totale); });
    }
    if (!cambiati) {
        ui::informa(this, ui::kAnnullatoDati);
        return;
    }
    if (invio().id() != 0) invio().ricarica();
    elenco_.moveTo(elenco_.position());  // the current row, read again
    caricaPagine();
    emit datiCambiati();
}

QString TFProfessionisti::personaCorrente() const {
    if (!conRiga()) return {};
    return ui::testi::persona(q(elenco_.text("B02")), q(elenco_.text("B03")), q(elenco_.text("B01")),
                              (rigaSalvata() ? elenco_.integer("ID") : 0));
}
