#include "entry/tfsostituto.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "entry/agente/comandi.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "ui/dialoghi.h"

#if defined(PALIO_CON_STAMPA) && __has_include("print/stampasostituto.h")
#include "print/stampasostituto.h"
#define PALIO_STAMPA_SOSTITUTO 1
#endif

namespace {

const QString kTabella = QStringLiteral("SostitutoImposta");

const char* const kCodiciCarica[] = {
    "1 Rappresentante legale, negoziale o di fatto, socio amministratore",
    "2 - Rappresentante di minore, inabilitato o interdetto, ovvero curatore dell’eredità giacente, "
    "amministratore di eredità devoluta sotto condizione sospensiva o in favore di nascituro non "
    "ancora concepito ovvero amministratore di sostegno per le persone con limitata capacità di "
    "agire",
    "3 - Curatore fallimentare",
    "4 Commissario liquidatore (liquidazione coatta amministrativa ovvero amministrazione "
    "straordinaria)",
    "5 - Commissario giudiziale (amministrazione controllata) ovvero custode giudiziario (custodia "
    "giudiziaria), ovvero amministratore giudiziario in qualità di rappresentante dei beni "
    "sequestrati",
    "6 Rappresentante fiscale di soggetto non residente",
    "7 - Erede",
    "8 - Liquidatore (liquidazione volontaria)",
    "9 - Soggetto tenuto a presentare la dichiarazione ai fini IVA per conto del soggetto estinto a "
    "seguito di operazioni straordinarie o altre trasformazioni sostanziali soggettive (cessionario "
    "d’azienda, società beneficiaria, incorporante, conferitaria, ecc.); ovvero, ai fini delle "
    "imposte sui redditi e/o dell’IRAP, rappresentante della società beneficiaria (scissione) o "
    "della società risultante dalla fusione o incorporazione",
    "10 - Rappresentante fiscale di soggetto non residente con le limitazioni di cui all’art. 44, "
    "comma 3, del D.L. n. 331/1993",
    "11 - Soggetto esercente l’attività tutoria del minore o interdetto in relazione alla funzione "
    "istituzionale rivestita",
    "12 - Liquidatore (liquidazione volontaria di ditta individuale - periodo ante messa in "
    "liquidazione)",
    "13 - Amministratore di condominio",
    "14 - Soggetto che sottoscrive la dichiarazione per conto di una pubblica amministrazione",
    "15 - Commissario liquidatore di una pubblica amministrazione",
};

QWidget* schedaAiuto(QWidget* genitore) {
    auto* area = new QScrollArea(genitore);
    area->setWidgetResizable(true);
    auto* contenuto = new QWidget(area);
    contenuto->setObjectName(QStringLiteral("Aiuto"));
    auto* l = new QVBoxLayout(contenuto);
    l->setContentsMargins(24, 20, 24, 20);
    l->setSpacing(10);
    auto* titolo = new QLabel(QStringLiteral("TABELLA GENERALE DEI CODICI DI CARICA"), contenuto);
    titolo->setObjectName(QStringLiteral("titoloAiuto"));
    QFont f = titolo->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.25);
    titolo->setFont(f);
    l->addWidget(titolo);
    l->addSpacing(6);
    for (const char* codice : kCodiciCarica) {
        auto* riga = new QLabel(QString::fromUtf8(codice), contenuto);
        riga->setWordWrap(true);
        riga->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->addWidget(riga);
    }
    l->addStretch(1);
    area->setWidget(contenuto);
    return area;
}

// A small button laid over the page just left of the box of a count.
QToolButton* bottoneConteggio(forms::VistaPagina* pagina, const QString& colonna, const char* nome,
                              const QString& suggerimento) {
    auto* b = new QToolButton(pagina);
    b->setObjectName(QLatin1String(nome));
    b->setText(QStringLiteral("Σ"));
    b->setToolTip(suggerimento);
    b->setCursor(Qt::PointingHandCursor);
    const forms::Campo* c = pagina->pagina().campo(kTabella, colonna);
    QRect r = c ? c->rettangolo.toAlignedRect() : QRect(4, 4, 20, 20);
    const int lato = std::max(16, std::min(22, r.height()));
    b->setGeometry(r.left() - lato - 3, r.center().y() - lato / 2 + 1, lato, lato);
    return b;
}

}  // namespace

TFSostituto::TFSostituto(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), sostituto_(conn) {
    setObjectName(QStringLiteral("TFSostituto"));
    setWindowTitle(QStringLiteral("Dati del Sostituto d'imposta."));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(agente::barraComandi(
        this, [this] { salva(); }, [this] { stampa(); }, [this] { close(); }));

    schede_ = new QTabWidget(this);
    schede_->setObjectName(QStringLiteral("PageControl1"));
    auto* area = new QScrollArea(schede_);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setBackgroundRole(QPalette::Dark);
    pagina_ = new forms::VistaPagina(forms::Frontespizio(), area);
    pagina_->collega(kTabella, &sostituto_);
    area->setWidget(pagina_);
    schede_->addTab(area, QStringLiteral("Pagina 1"));
    schede_->addTab(schedaAiuto(schede_), QStringLiteral("Aiuto"));
    l->addWidget(schede_);

    auto* b1 = bottoneConteggio(pagina_, QStringLiteral("A1"), "btnContaA1",
                                QStringLiteral("Conta le certificazioni di lavoro dipendente"));
    connect(b1, &QToolButton::clicked, this, &TFSostituto::contaDipendenti);
    auto* b2 = bottoneConteggio(pagina_, QStringLiteral("A2"), "btnContaA2",
                                QStringLiteral("Conta le certificazioni di lavoro autonomo"));
    connect(b2, &QToolButton::clicked, this, &TFSostituto::contaAutonomi);

    const QSize naturale = pagina_->sizeHint().isValid() ? pagina_->sizeHint()
                                                         : forms::Frontespizio().dimensione.toSize();
    // The whole width of the page, and as much of its height as the screen allows.
    const int altezza = screen() ? std::min(760, screen()->availableGeometry().height() - 60) : 760;
    resize(naturale.width() + 40, altezza);
}

void TFSostituto::prepara() {
    sostituto_.close();
    sostituto_.open("select * from SostitutoImposta");
    if (sostituto_.rowCount() > 0)
        sostituto_.edit();
    else
        sostituto_.append();
    pagina_->carica();
    schede_->setCurrentIndex(0);
}

void TFSostituto::salva() {
    if (!sostituto_.isOpen()) return;
    try {
        pagina_->scrivi();
        sostituto_.post();
        pagina_->carica();
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
}

bool TFSostituto::salvaProtetto() {
    try {
        sostituto_.post();
        pagina_->carica();
        return true;
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
        return false;
    }
}

bool TFSostituto::regolaChiusura() {
    if (!sostituto_.isOpen()) return true;
    pagina_->scrivi();
    using S = storage::Dataset::State;
    // A new row with nothing typed asks nothing; one with typed values is not dropped unasked.
    const bool chiedere = sostituto_.state() == S::Edit ||
                          (sostituto_.state() == S::Insert && sostituto_.modified());
    if (chiedere && ui::chiedi(this, agente::kDomandaSalva)) return salvaProtetto();
    return true;
}

bool TFSostituto::chiudiFinestra() {
    if (!regolaChiusura()) return false;
    hide();
    return true;
}

void TFSostituto::closeEvent(QCloseEvent* e) {
    if (regolaChiusura())
        e->accept();
    else
        e->ignore();
}

bool TFSostituto::salvaPrimaDiUscire() {
    if (!sostituto_.isOpen()) return true;
    pagina_->scrivi();
    if (!sostituto_.modified()) return true;
    if (ui::chiedi(this, agente::kDomandaSalva)) return salvaProtetto();
    sostituto_.cancel();
    return true;
}

void TFSostituto::stampa() {
    if (!sostituto_.isOpen()) return;
    pagina_->scrivi();
    using S = storage::Dataset::State;
    const bool chiedere = sostituto_.state() == S::Edit ||
                          (sostituto_.state() == S::Insert && sostituto_.modified());
    if (chiedere && ui::chiedi(this, agente::kDomandaSalva) && !salvaProtetto()) return;
#if defined(PALIO_STAMPA_SOSTITUTO)
    try {
        print::StampaSostituto(conn_, this);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
#else
    ui::informa(this, QStringLiteral("La stampa non è ancora disponibile in questa versione del programma."));
#endif
}

namespace {
std::int64_t contaRighe(storage::Connection& conn, const char* select) {
    storage::Statement st(conn, std::string("select count(*) from (") + select + ")");
    st.step();
    return st.integer(0);
}
}  // namespace

void TFSostituto::conta(const char* colonna, std::int64_t valore) {
    pagina_->scrivi();
    sostituto_.edit();
    sostituto_.setText(colonna, std::to_string(valore));
    pagina_->carica();
}

void TFSostituto::contaDipendenti() {
    if (!sostituto_.isOpen()) return;
    try {
        conta("A1", contaRighe(conn_, "select * from Zefo1 where C001 <> ''"));
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
}

void TFSostituto::contaAutonomi() {
    if (!sostituto_.isOpen()) return;
    try {
        const auto tutti = contaRighe(conn_, "select * from Zefo1 ");
        const auto dipendenti = contaRighe(conn_, "select * from Zefo1 where C001 <> ''");
        conta("A2", tutti - dipendenti);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
}
