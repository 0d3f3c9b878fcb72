#include "entry/finestrasostituto.h"

#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "print/ui/stampasostituto.h"
#include "storage/certificati.h"
#include "storage/elenchi.h"
#include "ui/dialoghi.h"

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

TFSostituto::TFSostituto(storage::Connection& conn, QWidget* parent) : FinestraAgente(conn, parent), sostituto_(conn) {
    setObjectName(QStringLiteral("TFSostituto"));
    setWindowTitle(QStringLiteral("Dati del Sostituto d'imposta."));
    schede_ = creaPagina(forms::Frontespizio(), {{kTabella, &sostituto_}});
    schede_->addTab(schedaAiuto(schede_), QStringLiteral("Aiuto"));

    auto* b1 = bottoneConteggio(pagina_, QStringLiteral("A1"), "btnContaA1",
                                QStringLiteral("Conta le certificazioni di lavoro dipendente"));
    connect(b1, &QToolButton::clicked, this, &TFSostituto::contaDipendenti);
    auto* b2 = bottoneConteggio(pagina_, QStringLiteral("A2"), "btnContaA2",
                                QStringLiteral("Conta le certificazioni di lavoro autonomo"));
    connect(b2, &QToolButton::clicked, this, &TFSostituto::contaAutonomi);

    const QSize naturale =
        pagina_->sizeHint().isValid() ? pagina_->sizeHint() : forms::Frontespizio().dimensione.toSize();
    dimensiona(naturale.width());
}

void TFSostituto::prepara() {
    apriPrimaRiga(sostituto_, storage::RigaDelSostituto());
    pagina_->carica();
    schede_->setCurrentIndex(0);
}

void TFSostituto::stampa() {
    stampaCon([this] { print::StampaSostituto(conn_, this); });
}

void TFSostituto::conta(const char* colonna, std::int64_t valore) {
    pagina_->scrivi();
    sostituto_.edit();
    sostituto_.setText(colonna, std::to_string(valore));
    pagina_->carica();
}

void TFSostituto::contaDipendenti() {
    if (!aperta()) return;
    esegui([this] { conta("A1", storage::ContaCertificati(conn_).A1); });
}

void TFSostituto::contaAutonomi() {
    if (!aperta()) return;
    esegui([this] { conta("A2", storage::ContaCertificati(conn_).A2); });
}
