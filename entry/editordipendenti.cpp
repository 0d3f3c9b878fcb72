#include "entry/editordipendenti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "check/casella.h"
#include "entry/testatainvio.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "print/ui/stampacertificato.h"
#include "storage/certificati.h"
#include "storage/elenchi.h"
#include "ui/dialoghi.h"
#include "ui/icone.h"
#include "ui/testi.h"

using storage::Dataset;
using ui::Icona;
using ui::icona;

namespace {

const char* const kTabelle[] = {"Zefo1", "Zefo2", "Zefo3"};

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TFPagina1::TFPagina1(storage::Connection& conn, QWidget* parent)
    : EditorCertificati(conn, parent),
      zefo1_(conn),
      zefo2_(conn),
      zefo3_(conn),
      interrogazione_(storage::CertificatiPerNominativo(storage::Elenco::Dipendenti)) {
    righe_ = {&zefo1_, &zefo2_, &zefo3_};
    setObjectName(QStringLiteral("TFPagina1"));
    setWindowTitle(QStringLiteral("Certificazione Unica[*]"));

    // Toolbar.
    auto* barra = new QHBoxLayout;
    barra->setSpacing(2);
    pulsantiModifica(barra);
    barra->addWidget(pulsante(ui::testi::kStampa, icona(Icona::Stampa), [this] { stampa(); }));
    barra->addSpacing(8);
    barra->addWidget(navigatore());
    barra->addSpacing(8);

    auto* filtro = new QFrame(this);
    filtro->setFrameShape(QFrame::StyledPanel);
    auto* fl = new QGridLayout(filtro);
    fl->setContentsMargins(6, 2, 6, 2);
    fl->setVerticalSpacing(0);
    auto* titolo = new QLabel(QStringLiteral("Filtra"), filtro);
    QFont grassetto = titolo->font();
    grassetto.setBold(true);
    titolo->setFont(grassetto);
    const QString nomiFiltro[] = {QStringLiteral("Dipendenti"), QStringLiteral("Amministratori"),
                                  QStringLiteral("Co.Co.Co"), QStringLiteral("Tutto")};
    for (std::size_t i = 0; i < filtri_.size(); ++i) {
        filtri_[i] = new QCheckBox(nomiFiltro[i], filtro);
        filtri_[i]->setObjectName(nomiFiltro[i]);
        filtri_[i]->setChecked(true);
        connect(filtri_[i], &QCheckBox::clicked, this, [this, i](bool spuntata) {
            bool fermato = false;
            esegui([&] { fermato = !filtra(); });
            if (fermato) filtri_[i]->setChecked(!spuntata);  // the box shows the list still in force
        });
    }
    fl->addWidget(titolo, 0, 0);
    fl->addWidget(filtri_[3], 1, 0);
    fl->addWidget(filtri_[0], 0, 1);
    fl->addWidget(filtri_[1], 1, 1);
    fl->addWidget(filtri_[2], 2, 1);
    barra->addWidget(filtro);
    barra->addStretch(1);
    barra->addWidget(pulsanteChiudi());

    // Header line.
    auto* testata = new QHBoxLayout;
    testata->addWidget(new QLabel(QStringLiteral("Dipendente"), this));
    dittaMatr_ = casellaTestata(QStringLiteral("DittaMatr"), 150);
    testata->addWidget(dittaMatr_);
    testata->addSpacing(10);
    testata->addWidget(new QLabel(QStringLiteral("C.F."), this));
    codiceFiscale_ = casellaTestata(QStringLiteral("B01"), 150);
    testata->addWidget(codiceFiscale_);
    cognome_ = casellaTestata(QStringLiteral("B02"), 170);
    testata->addWidget(cognome_);
    nome_ = casellaTestata(QStringLiteral("B03"), 140);
    testata->addWidget(nome_);
    testata->addSpacing(10);
    testata->addWidget(new QLabel(QStringLiteral("Tipo:"), this));
    // Only the kinds the files take can be chosen; a stored odd kind is shown after them, marked.
    tipo_ = new QComboBox(this);
    tipo_->setObjectName(QStringLiteral("tipo"));
    tipo_->setEditable(false);
    for (storage::Tipo t : storage::kTipi) tipo_->addItem(QString::fromLatin1(storage::CodiceTipo(t)));
    tipo_->setFixedWidth(70);
    tipo_->installEventFilter(this);
    connect(tipo_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (caricando_ || i < 0 || !zefo2_.isOpen() || zefo2_.eof()) return;
        const std::string t = tipo_->itemText(i).toStdString();
        if (t == zefo2_.text("tipo")) return;
        esegui([&] { zefo2_.setText("tipo", t); });
        caricando_ = true;
        while (tipo_->count() > static_cast<int>(storage::kTipi.size())) tipo_->removeItem(tipo_->count() - 1);
        caricando_ = false;
        segnaTipo(true);
        aggiornaSegni();
    });
    testata->addWidget(tipo_);
    testata->addStretch(1);

    creaSchede({{&forms::CertificatoPagina1(), QStringLiteral("Pagina 1")},
                {&forms::CertificatoPagina2(), QStringLiteral("Pagina 2")},
                {&forms::CertificatoPagina3(), QStringLiteral("Pagina 3")},
                {&forms::CertificatoPagina4(), QStringLiteral("Pagina 4")},
                {&forms::CertificatoPagina4bis(), QStringLiteral("Pagina 4 bis")},
                {&forms::CertificatoPagina5(), QStringLiteral("Pagina 5")}});
    creaTestataInvio(storage::Elenco::Dipendenti);
    componi(barra, testata);
}

// ---- the list and the rows that follow it ----

void TFPagina1::riapriElenco() {
    nuovo_ = 0;  // a certificate added before is no longer the one a No would remove
    zefo1_.close();
    zefo1_.open(interrogazione_);
    seguiCertificato();
    invio().ricarica();  // an import or a run may have changed what was sent of the same certificate
    emit elencoCambiato();
}

void TFPagina1::apriElencoSeChiuso() {
    if (!zefo1_.isOpen()) riapriElenco();
}

bool TFPagina1::certificatoCorrente() const {
    return zefo1_.isOpen() && !zefo1_.eof() && zefo1_.state() != Dataset::State::Insert;
}

bool TFPagina1::nuovoCorrente() const { return nuovo_ != 0 && certificatoCorrente() && zefo1_.integer("ID") == nuovo_; }

void TFPagina1::seguiCertificato() {
    zefo2_.close();
    zefo3_.close();
    if (certificatoCorrente()) {
        const std::string id = std::to_string(zefo1_.integer("ID"));
        zefo2_.open(storage::Zefo2DelCertificato(zefo1_.integer("ID")));
        if (zefo2_.isEmpty()) {
            zefo2_.append();
            zefo2_.setText("ID", id);
            zefo2_.post();
        }
        zefo3_.open(storage::Zefo3DelCertificato(zefo1_.integer("ID")));
        preparaZefo3();
    }
    caricaPagine();
    emit certificatoCambiato();
}

// A certificate with no further section gets one only when the operator types into
// "Pagina 4 bis"; until then the appended row is not saved.
void TFPagina1::preparaZefo3() {
    if (zefo3_.isOpen() && zefo3_.isEmpty() && zefo3_.state() == Dataset::State::Browse) zefo3_.append();
}

void TFPagina1::mostraPagina(forms::VistaPagina& v) {
    Dataset* ds[] = {&zefo1_, &zefo2_, &zefo3_};
    for (int t = 0; t < 3; ++t) v.collega(QString::fromLatin1(kTabelle[t]), ds[t]->isOpen() ? ds[t] : nullptr);
    v.carica();
    entry::mostraCampo(v, forms::kTabellaCalcolata, QStringLiteral("DittaMatr"), dittaMatr());
    v.setSolaLettura(!certificatoCorrente());
}

QString TFPagina1::dittaMatr() const {
    if (!zefo2_.isOpen() || zefo2_.eof()) return {};
    const QString ditta = q(zefo2_.text("ditta")), matricola = q(zefo2_.text("MatrDip"));
    // A certificate with neither shows nothing, not a lone "/".
    if (ditta.trimmed().isEmpty() && matricola.trimmed().isEmpty()) return {};
    return (ditta + QLatin1Char('/') + matricola).left(30);
}

void TFPagina1::aggiornaTestata() {
    const bool c = certificatoCorrente();
    caricando_ = true;
    dittaMatr_->setText(dittaMatr());
    codiceFiscale_->setText(c ? q(zefo1_.text("B01")) : QString());
    cognome_->setText(c ? q(zefo1_.text("B02")) : QString());
    nome_->setText(c ? q(zefo1_.text("B03")) : QString());
    const bool conTipo = zefo2_.isOpen() && !zefo2_.eof();
    while (tipo_->count() > static_cast<int>(storage::kTipi.size())) tipo_->removeItem(tipo_->count() - 1);
    const std::string tipo = conTipo ? zefo2_.text("tipo") : std::string();
    if (const auto k = storage::TipoDelCodice(tipo)) {
        tipo_->setCurrentIndex(static_cast<int>(*k));
    } else if (tipo.empty()) {
        tipo_->setCurrentIndex(-1);
    } else {
        tipo_->addItem(q(tipo));
        tipo_->setCurrentIndex(tipo_->count() - 1);
    }
    tipo_->setEnabled(conTipo);
    segnaTipo(conTipo);
    caricando_ = false;
    invio().segui(c ? zefo1_.integer("ID") : 0);
}

void TFPagina1::segnaTipo(bool conTipo) {
    const QString problema = conTipo ? q(check::ProblemaTipo(zefo2_.text("tipo"))) : QString();
    if (problema == tipo_->property("problema").toString()) return;
    tipo_->setProperty("problema", problema);
    tipo_->setProperty("gravita", static_cast<int>(forms::Esame::Avviso));
    tipo_->setToolTip(problema);
    tipo_->setStyleSheet(
        problema.isEmpty()
            ? QString()
            : QStringLiteral("QComboBox { border: 2px solid #c87800; background: #fff0c0; color: black; }"));
}

QWidget* TFPagina1::casellaDellaTestata(const std::string& colonna) { return colonna == "tipo" ? tipo_ : nullptr; }

std::optional<std::vector<check::Problema>> TFPagina1::problemiCorrenti() {
    if (!certificatoCorrente()) return std::nullopt;
    scriviPagine();
    storage::Certificato c;
    c.id = zefo1_.integer("ID");
    c.zefo1 = entry::rigaMostrata(zefo1_);
    if (zefo2_.isOpen() && !zefo2_.eof()) c.zefo2 = entry::rigaMostrata(zefo2_);
    const bool nuova3 = zefo3_.isOpen() && zefo3_.state() == Dataset::State::Insert && zefo3_.modified();
    if (zefo3_.isOpen() && (!zefo3_.eof() || nuova3)) c.zefo3 = entry::rigaMostrata(zefo3_);
    c.sezioniUlteriori = zefo3_.isOpen() ? static_cast<int>(zefo3_.rowCount()) + (nuova3 ? 1 : 0) : 0;
    return check::ControllaCertificato(conn_, c);
}

void TFPagina1::scriviPagine() {
    if (certificatoCorrente()) scriviPagineCaricate();
}

void TFPagina1::salvaContinuazione() {
    if (zefo2_.state() == Dataset::State::Edit || zefo2_.state() == Dataset::State::Insert) zefo2_.post();
    if (zefo3_.state() == Dataset::State::Edit) {
        zefo3_.post();
    } else if (zefo3_.state() == Dataset::State::Insert) {
        if (zefo3_.modified() && certificatoCorrente()) {
            zefo3_.setText("Id", std::to_string(zefo1_.integer("ID")));
            zefo3_.setText("Cf", zefo1_.text("B01"));
            zefo3_.setText("matricola", zefo2_.text("MatrDip"));
            zefo3_.post();
        }
    }
}

bool TFPagina1::righeCambiate() const { return zefo1_.modified() || zefo2_.modified() || zefo3_.modified(); }

void TFPagina1::salvaTutto() {
    salvaLasciando([this] {
        if (zefo1_.state() == Dataset::State::Edit || zefo1_.state() == Dataset::State::Insert) zefo1_.post();
    });
}

void TFPagina1::salvaLasciando(const std::function<void()>& movimento) {
    scriviPagine();
    const std::int64_t id = certificatoCorrente() ? zefo1_.integer("ID") : 0;
    const bool cambiato = righeCambiate();
    const auto scrivi = [&] {
        if (id != 0) salvaInvio();
        salvaContinuazione();
        movimento();  // the list saves the Zefo1 row it leaves
        // A move that stayed (the list's end) saves the row too: the certificate is saved whole.
        if (id != 0 && zefo1_.key() == id && zefo1_.state() == Dataset::State::Edit) zefo1_.post();
        if (cambiato && id != 0) segnaModificato(id);
    };
    if (!cambiato || id == 0) return scrivi();
    salvaCertificato(id, zefo1_.integer("Revisione"), scrivi);
    // Still on it: its row is read again with the revision the save gave it.
    if (zefo1_.key() == id && zefo1_.state() == Dataset::State::Browse) zefo1_.moveTo(zefo1_.position());
}

void TFPagina1::ricaricaCertificato() {
    zefo1_.cancel();
    zefo2_.cancel();
    zefo3_.cancel();
    if (zefo1_.isOpen()) zefo1_.moveTo(zefo1_.position());
    seguiCertificato();
    invio().ricarica();
    emit datiCambiati();
}

void TFPagina1::salvaModifiche() {
    salvaTutto();
    nuovo_ = 0;
    caricaPagine();
    emit datiCambiati();
}

void TFPagina1::sposta(const std::function<void()>& movimento) {
    if (!zefo1_.isOpen()) return;
    if (nuovoCorrente()) {
        scriviPagine();
        if (!righeCambiate() && !modificheFuoriDalleRighe()) {
            lasciaNuovoIntatto(movimento);
            return;
        }
    }
    salvaLasciando(movimento);
    nuovo_ = 0;
    seguiCertificato();
}

void TFPagina1::lasciaNuovoIntatto(const std::function<void()>& movimento) {
    const std::size_t qui = zefo1_.position();
    zefo1_.cancel();
    zefo2_.cancel();
    zefo3_.cancel();
    movimento();
    // A move that stays on the new certificate (it is the list's last) ends on the one before it.
    const auto& chiavi = zefo1_.keys();
    std::int64_t meta = 0;
    if (zefo1_.position() != qui && !zefo1_.eof())
        meta = zefo1_.key();
    else if (qui > 0 && qui - 1 < chiavi.size())
        meta = chiavi[qui - 1];
    zefo1_.moveTo(qui);
    eliminaCorrente();
    if (meta != 0 && zefo1_.locate(meta)) seguiCertificato();
}

void TFPagina1::scartaModifiche() {
    if (!zefo1_.isOpen()) return;
    if (nuovoCorrente()) {
        // Back to the certificate the operator was on when adding.
        const std::int64_t ritorno = primaDelNuovo_;
        eliminaCorrente();
        if (ritorno != 0 && zefo1_.key() != ritorno && zefo1_.locate(ritorno)) seguiCertificato();
        return;
    }
    zefo1_.cancel();
    zefo2_.cancel();
    zefo3_.cancel();
    preparaZefo3();
    invio().ricarica();
    caricaPagine();
}

// ---- commands ----

void TFPagina1::salva() {
    if (certificatoCorrente()) salvaModifiche();
}

void TFPagina1::aggiungi() {
    apriElencoSeChiuso();
    const auto valori = storage::ValoriNuovoCertificato(conn_, false);
    const std::int64_t lasciato = certificatoCorrente() ? zefo1_.integer("ID") : 0;
    salvaLasciando([this] { zefo1_.append(); });
    std::string tipo;
    for (const auto& [colonna, valore] : valori)
        if (std::string_view(colonna) == "tipo")
            tipo = valore;
        else
            zefo1_.setText(colonna, valore);
    zefo1_.post();
    nuovo_ = zefo1_.integer("ID");
    primaDelNuovo_ = lasciato;
    seguiCertificato();
    if (!tipo.empty() && zefo2_.isOpen() && !zefo2_.eof()) {
        zefo2_.setText("tipo", tipo);
        zefo2_.post();
        caricaPagine();
    }
    // Both rows are in edit state, so closing or printing asks about the new certificate.
    zefo1_.edit();
    zefo2_.edit();
    emit elencoCambiato();
}

void TFPagina1::modifica() {
    if (!certificatoCorrente()) return;
    zefo1_.edit();
    zefo2_.edit();
    if (!zefo3_.eof() && zefo3_.state() == Dataset::State::Browse) zefo3_.edit();
}

void TFPagina1::annulla() { scartaModifiche(); }

void TFPagina1::cancella() {
    const bool c = certificatoCorrente();
    if (!cancellazioneConfermata(c, c ? ui::testi::persona(q(zefo1_.text("B02")), q(zefo1_.text("B03")),
                                                           q(zefo1_.text("B01")), zefo1_.integer("ID"))
                                      : QString()))
        return;
    eliminaCorrente();
}

void TFPagina1::eliminaCorrente() {
    nuovo_ = 0;
    zefo3_.cancel();  // the further sections stay in the table as they are
    zefo2_.cancel();
    if (zefo2_.isOpen() && !zefo2_.eof()) zefo2_.remove();
    zefo1_.cancel();
    zefo1_.remove();
    seguiCertificato();
    emit elencoCambiato();
}

void TFPagina1::stampa() {
    if (!certificatoPresente(certificatoCorrente())) return;
    // The print says "Operazione eseguita" itself.
    stampaDopoLaDomanda([this] { print::StampaCertificato(conn_, zefo1_.integer("ID"), false, this); });
}

bool TFPagina1::filtra() {
    if (nuovoCorrente() && !salvaSeRichiesto()) return false;
    bool almenoUno = false;
    for (auto* c : filtri_) almenoUno = almenoUno || c->isChecked();
    if (!almenoUno) ui::informa(this, QStringLiteral("Non è stato selezionato il tipo di percipienti da filtrare."));
    // The certificate left keeps what was typed, as when moving to another one.
    if (zefo1_.isOpen()) salvaTutto();
    nuovo_ = 0;
    const storage::Tipi tipi = storage::Tipi()
                                   .con(storage::Tipo::DIP, filtri_[0]->isChecked())
                                   .con(storage::Tipo::AMM, filtri_[1]->isChecked())
                                   .con(storage::Tipo::CoC, filtri_[2]->isChecked());
    // Filtered or not, the list keeps surname order.
    interrogazione_ = filtri_[3]->isChecked() ? storage::CertificatiConZefo2PerNominativo()
                                              : storage::CertificatiDeiTipiPerNominativo(tipi);
    riapriElenco();
    return true;
}

QString TFPagina1::personaCorrente() const {
    if (!certificatoCorrente()) return {};
    return ui::testi::persona(q(zefo1_.text("B02")), q(zefo1_.text("B03")), q(zefo1_.text("B01")),
                              zefo1_.integer("ID"));
}

bool TFPagina1::filtraSolo(std::optional<storage::Tipo> tipo) {
    std::array<bool, 4> prima{};
    for (std::size_t i = 0; i < filtri_.size(); ++i) prima[i] = filtri_[i]->isChecked();
    for (std::size_t i = 0; i < 3; ++i) filtri_[i]->setChecked(!tipo || static_cast<std::size_t>(*tipo) == i);
    filtri_[3]->setChecked(!tipo);
    if (filtra()) return true;
    for (std::size_t i = 0; i < filtri_.size(); ++i) filtri_[i]->setChecked(prima[i]);  // the list still in force
    return false;
}
