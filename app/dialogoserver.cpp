#include "app/dialogoserver.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "storage/connection.h"
#include "storage/error.h"
#include "storage/server.h"
#include "ui/dialoghi.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

#ifdef _WIN32
const char* const kFilePassword = "%APPDATA%\\postgresql\\pgpass.conf";
const char* const kFileServizi = "%APPDATA%\\postgresql\\.pg_service.conf";
#else
const char* const kFilePassword = "~/.pgpass";
const char* const kFileServizi = "~/.pg_service.conf";
#endif

}  // namespace

DialogoServer::DialogoServer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DialogoServer"));
    setWindowTitle(QStringLiteral("Archivio su server"));
    auto* l = new QVBoxLayout(this);
    auto* spiega = new QLabel(QStringLiteral("L'archivio di un sostituto d'imposta è uno schema di un database "
                                             "PostgreSQL, condiviso dagli operatori dell'ufficio."),
                              this);
    spiega->setWordWrap(true);
    l->addWidget(spiega);

    auto* campi = new QFormLayout;
    auto casella = [&](const char* nome, const QString& etichetta, const QString& esempio) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(nome));
        e->setPlaceholderText(esempio);
        campi->addRow(etichetta, e);
        return e;
    };
    host_ = casella("Host", QStringLiteral("Server:"), QStringLiteral("nome o indirizzo, es. server-ufficio"));
    porta_ = casella("Porta", QStringLiteral("Porta:"), QStringLiteral("5432"));
    porta_->setText(QStringLiteral("5432"));
    database_ = casella("Database", QStringLiteral("Database:"), QStringLiteral("es. palio"));
    utente_ = casella("Utente", QStringLiteral("Utente:"), QStringLiteral("l'utente del server, es. palio"));
    schema_ = casella("Schema", QStringLiteral("Schema dell'archivio:"),
                      QStringLiteral("uno per sostituto, es. comune_valleverde"));
    schema_->setToolTip(QStringLiteral("Lettere senza accenti, cifre e \"_\", iniziando con una lettera"));
    l->addLayout(campi);

    auto* password = new QLabel(
        QStringLiteral("La password non si scrive qui e Palio 2015 non la salva mai: la prende dal file delle "
                       "password di PostgreSQL (%1, una riga server:porta:database:utente:password, leggibile "
                       "solo dal proprio utente) o da un file dei servizi (%2).")
            .arg(QString::fromLatin1(kFilePassword), QString::fromLatin1(kFileServizi)),
        this);
    password->setObjectName(QStringLiteral("NotaPassword"));
    password->setWordWrap(true);
    l->addWidget(password);

    auto* bottoni = new QDialogButtonBox(this);
    auto* prova = bottoni->addButton(QStringLiteral("Prova il collegamento"), QDialogButtonBox::ActionRole);
    prova->setObjectName(QStringLiteral("btnProva"));
    prova->setAutoDefault(false);
    auto* apri = bottoni->addButton(QStringLiteral("Apri"), QDialogButtonBox::AcceptRole);
    apri->setObjectName(QStringLiteral("btnApriServer"));
    apri->setDefault(true);
    auto* annulla = bottoni->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    annulla->setObjectName(QStringLiteral("btnAnnulla"));
    annulla->setAutoDefault(false);
    connect(prova, &QPushButton::clicked, this, &DialogoServer::prova);
    connect(apri, &QPushButton::clicked, this, &DialogoServer::apri);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    l->addWidget(bottoni);
    resize(520, sizeHint().height());
    host_->setFocus();
}

void DialogoServer::compila(const std::string& indirizzo) {
    if (!storage::Connection::indirizzoServer(indirizzo)) return;
    const storage::DatiServer d = storage::DatiDellIndirizzo(indirizzo);
    host_->setText(q(d.host));
    porta_->setText(q(d.porta.empty() ? std::string("5432") : d.porta));
    database_->setText(q(d.database));
    utente_->setText(q(d.utente));
    schema_->setText(q(d.schema));
}

std::string DialogoServer::letto() const {
    auto testo = [](const QLineEdit* e) { return e->text().trimmed().toStdString(); };
    storage::DatiServer d{testo(host_), testo(porta_), testo(database_), testo(utente_), testo(schema_)};
    if (d.host.empty()) throw storage::Error("Indicare il server: il nome o l'indirizzo del computer di PostgreSQL.");
    if (!std::all_of(d.porta.begin(), d.porta.end(), [](unsigned char c) { return std::isdigit(c); }))
        throw storage::Error("La porta \"" + d.porta + "\" non è un numero: di solito è 5432.");
    if (d.database.empty()) throw storage::Error("Indicare il database del server che tiene gli archivi.");
    if (d.schema.empty())
        throw storage::Error("Indicare lo schema dell'archivio: uno per sostituto d'imposta, es. comune_valleverde.");
    return storage::IndirizzoServer(d);
}

void DialogoServer::mostraFallimento(const std::string& frase, const std::string& motore, QLineEdit* dove) {
    ui::errore(this, q(motore.empty() ? frase : frase + "\n" + motore));
    if (dove) {
        dove->setFocus();
        dove->selectAll();
    }
}

namespace {

// The test, under a waiting cursor: a server far away may take seconds to answer.
bool prova(QWidget* w, const std::string& indirizzo, storage::ProvaCollegamento& esito) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto ripristina = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    return ui::esegui(w, [&] { esito = storage::ProvaServer(indirizzo); });
}

}  // namespace

void DialogoServer::prova() {
    std::string indirizzo;
    storage::ProvaCollegamento esito;
    if (!ui::esegui(this, [&] { indirizzo = letto(); }) || !::prova(this, indirizzo, esito)) return;
    switch (esito.esito) {
    case storage::EsitoCollegamento::Pronto:
        ui::informa(this, QStringLiteral("Collegamento riuscito: sul server c'è lo schema %1.")
                              .arg(schema_->text().trimmed().toLower()));
        return;
    case storage::EsitoCollegamento::SchemaMancante:
        ui::informa(this, q(esito.frase + " Con «Apri» lo si crea come nuovo archivio."));
        return;
    case storage::EsitoCollegamento::AccessoRifiutato: return mostraFallimento(esito.frase, esito.motore, utente_);
    case storage::EsitoCollegamento::NonRisponde: return mostraFallimento(esito.frase, esito.motore, porta_);
    case storage::EsitoCollegamento::Fallito: return mostraFallimento(esito.frase, esito.motore, database_);
    }
}

void DialogoServer::apri() {
    std::string indirizzo;
    storage::ProvaCollegamento esito;
    if (!ui::esegui(this, [&] { indirizzo = letto(); }) || !::prova(this, indirizzo, esito)) return;
    switch (esito.esito) {
    case storage::EsitoCollegamento::Pronto: break;
    case storage::EsitoCollegamento::SchemaMancante:
        if (!ui::chiedi(this, q(esito.frase + " Crearlo come nuovo archivio vuoto?"))) return;
        if (!ui::esegui(this, [&] { storage::Connection::crea(indirizzo); })) return;
        break;
    case storage::EsitoCollegamento::AccessoRifiutato: return mostraFallimento(esito.frase, esito.motore, utente_);
    case storage::EsitoCollegamento::NonRisponde: return mostraFallimento(esito.frase, esito.motore, porta_);
    case storage::EsitoCollegamento::Fallito: return mostraFallimento(esito.frase, esito.motore, database_);
    }
    indirizzo_ = indirizzo;
    accept();
}
