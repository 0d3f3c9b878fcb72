#include "entry/tfprofessionisti.h"

#include <QHBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "entry/stampa.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "ui/dialoghi.h"

using entry::Icona;
using entry::icona;
using storage::Dataset;

namespace {

const QString kTabella = QStringLiteral("Professionisti");

// The agent's data the copy button carries to every certificate.
const char* const kColonneSostituto[] = {"A01", "A02", "A03", "A04", "A05", "A06", "A07",
                                         "A08", "A09", "A10", "A11", "BFirma", "B44"};

QString q(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* display(QWidget* parent, int larghezza) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setFixedWidth(larghezza);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QColor(240, 240, 240));
    e->setPalette(p);
    return e;
}

}  // namespace

TFProfessionisti::TFProfessionisti(storage::Connection& conn, QWidget* parent)
    : EditorCertificati(conn, parent), elenco_(conn) {
    setObjectName(QStringLiteral("TFProfessionisti"));
    setWindowTitle(QStringLiteral("Certificazione Unica"));

    auto* barra = new QHBoxLayout;
    barra->setSpacing(2);
    barra->addWidget(pulsante(QStringLiteral("Salva"), icona(Icona::Salva), [this] { salva(); }));
    barra->addWidget(pulsante(QStringLiteral("Aggiungi"), icona(Icona::Aggiungi), [this] { aggiungi(); }));
    barra->addWidget(pulsante(QStringLiteral("Modifica"), icona(Icona::Modifica), [this] { modifica(); }));
    barra->addWidget(pulsante(QStringLiteral("Annulla"), icona(Icona::Annulla), [this] { annulla(); }));
    barra->addWidget(pulsante(QStringLiteral("Cancella"), icona(Icona::Cancella), [this] { cancella(); }));
    auto* ant = pulsante(QStringLiteral("Anteprima"), icona(Icona::Anteprima), [this] { anteprima(); });
    ant->setToolTip(QStringLiteral("Stampa"));
    barra->addWidget(ant);
    barra->addWidget(pulsante(QStringLiteral("Stampa"), icona(Icona::Stampa), [this] { stampa(); }));
    barra->addSpacing(8);
    barra->addWidget(navigatore());
    barra->addStretch(1);
    barra->addWidget(pulsante(QStringLiteral("Chiudi"), icona(Icona::Chiudi), [this] { close(); }));

    auto* testata = new QHBoxLayout;
    testata->addWidget(new QLabel(QStringLiteral("Dipendente"), this));
    cognome_ = display(this, 190);
    cognome_->setObjectName(QStringLiteral("B02"));
    testata->addWidget(cognome_);
    nome_ = display(this, 150);
    nome_->setObjectName(QStringLiteral("B03"));
    testata->addWidget(nome_);
    testata->addSpacing(10);
    testata->addWidget(new QLabel(QStringLiteral("C.F."), this));
    codiceFiscale_ = display(this, 150);
    codiceFiscale_->setObjectName(QStringLiteral("B01"));
    testata->addWidget(codiceFiscale_);
    testata->addStretch(1);

    schede_ = new QTabWidget(this);
    const forms::Pagina* pagine[] = {&forms::ProfessionistaPagina1(), &forms::ProfessionistaPagina2()};
    const QString titoli[] = {QStringLiteral("Pagina 1"), QStringLiteral("Pagina 5")};
    for (std::size_t i = 0; i < viste_.size(); ++i) {
        auto* v = new forms::VistaPagina(*pagine[i]);
        viste_[i] = v;
        schede_->addTab(scheda(v), titoli[i]);
        connect(v, &forms::VistaPagina::modificato, this, [this, i] {
            if (caricando_ || !caricata_[i]) return;
            esegui([&] {
                viste_[i]->scrivi();
                aggiornaTestata();
            });
        });
    }
    connect(schede_, &QTabWidget::currentChanged, this, [this] { esegui([this] { caricaVisibile(); }); });

    copia_ = new QToolButton(viste_[0]);
    copia_->setObjectName(QStringLiteral("Riporta"));
    copia_->setIcon(icona(Icona::Copia));
    copia_->setIconSize(QSize(14, 14));
    copia_->setFixedSize(18, 18);
    copia_->setToolTip(QStringLiteral("Riporta i dati del sostituto d'imposta su tutte le C.U."));
    connect(copia_, &QToolButton::clicked, this, [this] { esegui([this] { riportaSostituto(); }); });
    posizionaCopia();

    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(4, 4, 4, 4);
    tutto->addLayout(barra);
    tutto->addLayout(testata);
    tutto->addWidget(schede_, 1);
    resize(860, 820);
    caricaPagine();
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
    elenco_.open("select * from Professionisti order by B02, B03");
    caricaPagine();
    emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::apriElencoSeChiuso() {
    if (!elenco_.isOpen()) riapriElenco();
}

void TFProfessionisti::paginaIniziale() { schede_->setCurrentIndex(0); }

// A stored row is current (not a new one, not past the end).
bool TFProfessionisti::rigaSalvata() const {
    return elenco_.isOpen() && !elenco_.eof() && elenco_.state() != Dataset::State::Insert;
}

void TFProfessionisti::caricaPagine() {
    caricata_.fill(false);
    caricaVisibile();
    aggiornaTestata();
}

void TFProfessionisti::caricaVisibile() {
    const auto i = static_cast<std::size_t>(std::max(0, schede_->currentIndex()));
    if (caricata_[i]) return;
    forms::VistaPagina& v = *viste_[i];
    const bool conRiga = elenco_.isOpen() && (!elenco_.eof() || elenco_.state() == Dataset::State::Insert);
    caricando_ = true;
    v.collega(kTabella, elenco_.isOpen() ? &elenco_ : nullptr);
    v.carica();
    v.setSolaLettura(!conRiga);
    caricando_ = false;
    caricata_[i] = true;
}

void TFProfessionisti::aggiornaTestata() {
    const bool conRiga = elenco_.isOpen() && (!elenco_.eof() || elenco_.state() == Dataset::State::Insert);
    cognome_->setText(conRiga ? q(elenco_.text("B02")) : QString());
    nome_->setText(conRiga ? q(elenco_.text("B03")) : QString());
    codiceFiscale_->setText(conRiga ? q(elenco_.text("B01")) : QString());
}

void TFProfessionisti::scriviPagine() {
    if (!elenco_.isOpen()) return;
    if (elenco_.eof() && elenco_.state() != Dataset::State::Insert) return;
    for (std::size_t i = 0; i < viste_.size(); ++i)
        if (caricata_[i]) viste_[i]->scrivi();
}

void TFProfessionisti::sposta(const std::function<void()>& movimento) {
    if (!elenco_.isOpen()) return;
    scriviPagine();
    const bool nuova = elenco_.state() == Dataset::State::Insert && elenco_.modified();
    movimento();  // saves the row left, or drops a new row left untouched
    caricaPagine();
    if (nuova) emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::salva() {
    if (!elenco_.isOpen()) return;
    scriviPagine();
    const bool nuova = elenco_.state() == Dataset::State::Insert;
    if (elenco_.state() == Dataset::State::Edit || nuova) elenco_.post();
    caricaPagine();
    if (nuova) emit elencoCambiato();
    emit datiCambiati();
}

void TFProfessionisti::aggiungi() {
    apriElencoSeChiuso();
    scriviPagine();
    const bool nuova = elenco_.state() == Dataset::State::Insert && elenco_.modified();
    elenco_.append();
    caricaPagine();
    if (nuova) emit elencoCambiato();
}

void TFProfessionisti::modifica() {
    if (rigaSalvata()) elenco_.edit();
}

void TFProfessionisti::annulla() {
    if (!elenco_.isOpen()) return;
    elenco_.cancel();
    caricaPagine();
}

void TFProfessionisti::cancella() {
    if (!rigaSalvata()) {
        ui::informa(this, entry::kNessunCertificato);
        return;
    }
    if (!ui::chiedi(this, entry::kDomandaCancellazione)) return;
    elenco_.cancel();
    elenco_.remove();
    caricaPagine();
    emit elencoCambiato();
    emit certificatoCambiato();
}

void TFProfessionisti::stampaRiga(bool conAnteprima) {
    if (!rigaSalvata()) {
        ui::informa(this, entry::kNessunCertificato);
        return;
    }
    if (!entry::stampaDisponibile()) {
        ui::informa(this, entry::kStampaNonDisponibile);
        return;
    }
    scriviPagine();
    if (entry::inModifica(elenco_) && ui::chiedi(this, entry::kDomandaSalvataggio)) {
        elenco_.post();
        caricaPagine();
        emit datiCambiati();
    }
    entry::stampaProfessionista(conn_, elenco_.integer("ID"), conAnteprima, this);
}

void TFProfessionisti::anteprima() { stampaRiga(true); }

void TFProfessionisti::stampa() { stampaRiga(false); }

void TFProfessionisti::riportaSostituto() {
    if (!elenco_.isOpen() || (elenco_.eof() && elenco_.state() != Dataset::State::Insert)) {
        ui::informa(this, entry::kNessunCertificato);
        return;
    }
    scriviPagine();
    std::vector<std::pair<const char*, std::string>> valori;
    for (const char* c : kColonneSostituto) valori.emplace_back(c, elenco_.text(c));
    // The other pending changes of the current row are dropped, as is a new unsaved row.
    elenco_.close();
    elenco_.open("select * from Professionisti order by B02, B03");
    for (std::size_t i = 0; i < elenco_.rowCount(); ++i) {
        elenco_.moveTo(i);
        elenco_.edit();
        for (const auto& [colonna, valore] : valori) elenco_.setText(colonna, valore);
        elenco_.post();
    }
    caricaPagine();
    emit elencoCambiato();
    emit certificatoCambiato();
}

bool TFProfessionisti::confermaChiusura() {
    scriviPagine();
    // A new row the operator typed into is asked about too: closing would lose it silently.
    if (entry::inModifica(elenco_) && ui::chiedi(this, entry::kDomandaSalvataggio)) {
        elenco_.post();
        caricaPagine();
        emit elencoCambiato();
        emit datiCambiati();
    }
    return true;
}
