#include "entry/testatainvio.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace entry {

namespace {

const storage::Operazione kOperazioni[] = {storage::Operazione::Nessuna, storage::Operazione::Sostituzione,
                                           storage::Operazione::Annullamento, storage::Operazione::Escluso};

QString quando(const std::string& iso) { return QString::fromStdString(storage::OraLeggibile(iso)); }

}  // namespace

TestataInvio::TestataInvio(storage::Connection& conn, storage::Elenco elenco, QWidget* parent)
    : QWidget(parent), conn_(conn), elenco_(elenco) {
    setObjectName(QStringLiteral("TestataInvio"));
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    auto cifre = [this](const char* nome, int n, const QString& suggerimento) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(nome));
        e->setMaxLength(n);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(n)), e));
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(n, QLatin1Char('0'))) + 14);
        e->setToolTip(suggerimento);
        connect(e, &QLineEdit::textEdited, this, [this] { emit modificato(); });
        return e;
    };
    protocollo_ = cifre("Protocollo", static_cast<int>(storage::kCifreProtocollo),
                        QStringLiteral("Protocollo dell'invio accolto (17 cifre), dalla ricevuta"));
    progressivo_ = cifre("Progressivo", static_cast<int>(storage::kCifreProgressivo),
                         QStringLiteral("Progressivo del certificato nell'invio (6 cifre), dalla ricevuta"));
    operazione_ = new QComboBox(this);
    operazione_->setObjectName(QStringLiteral("Operazione"));
    for (storage::Operazione o : kOperazioni)
        operazione_->addItem(o == storage::Operazione::Nessuna ? QStringLiteral("nessuna")
                                                               : QString::fromUtf8(storage::TestoOperazione(o)));
    operazione_->setToolTip(
        QStringLiteral("Che cosa farne nel prossimo invio: sostituirlo o annullarlo con una "
                       "fornitura di correzione, oppure escluderlo da quelle ordinarie"));
    connect(operazione_, &QComboBox::currentIndexChanged, this, [this] {
        if (!caricando_) emit modificato();
    });
    scritto_ = new QLabel(this);
    scritto_->setObjectName(QStringLiteral("lblScritto"));
    // A long file name must not widen the window.
    scritto_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    const std::pair<const char*, QWidget*> campi[] = {
        {"P&rotocollo", protocollo_}, {"Pro&gressivo", progressivo_}, {"Opera&zione", operazione_}};
    for (const auto& [testo, w] : campi) {
        auto* e = new QLabel(QString::fromUtf8(testo), this);
        e->setBuddy(w);
        l->addWidget(e);
        l->addWidget(w);
        l->addSpacing(6);
    }
    l->addWidget(scritto_, 1);
    segui(0);
}

void TestataInvio::segui(std::int64_t id) {
    if (id == id_ && id != 0) return;
    id_ = id;
    ricarica();
}

void TestataInvio::ricarica() {
    salvato_ = id_ > 0 ? storage::LeggiInvio(conn_, elenco_, id_) : storage::StatoInvio{};
    mostra();
}

void TestataInvio::rileggiTenendo() {
    if (id_ <= 0) return;
    const std::string prot = protocollo_->text().toStdString();
    const std::string prog = progressivo_->text().toStdString();
    const storage::Operazione op = operazioneScelta();
    const storage::StatoInvio prima = salvato_;
    ricarica();
    caricando_ = true;
    if (prot != prima.protocollo) protocollo_->setText(QString::fromStdString(prot));
    if (prog != prima.progressivo) progressivo_->setText(QString::fromStdString(prog));
    if (op != prima.operazione)
        for (int i = 0; i < 4; ++i)
            if (kOperazioni[i] == op) operazione_->setCurrentIndex(i);
    caricando_ = false;
}

void TestataInvio::mostra() {
    caricando_ = true;
    protocollo_->setText(QString::fromStdString(salvato_.protocollo));
    progressivo_->setText(QString::fromStdString(salvato_.progressivo));
    int i = 0;
    while (kOperazioni[i] != salvato_.operazione) ++i;
    operazione_->setCurrentIndex(i);
    caricando_ = false;
    for (QWidget* w :
         {static_cast<QWidget*>(protocollo_), static_cast<QWidget*>(progressivo_), static_cast<QWidget*>(operazione_)})
        w->setEnabled(id_ > 0);

    QString testo;
    if (!salvato_.scrittoIl.empty()) {
        testo = QStringLiteral("Scritto in %1 il %2")
                    .arg(QFileInfo(QString::fromStdString(salvato_.file)).fileName(), quando(salvato_.scrittoIl));
        if (salvato_.modificatoIl > salvato_.scrittoIl)
            testo += QStringLiteral(", modificato il %1").arg(quando(salvato_.modificatoIl));
    }
    scritto_->setText(testo);
    scritto_->setToolTip(QString::fromStdString(salvato_.file));
}

storage::Operazione TestataInvio::operazioneScelta() const {
    const int i = operazione_->currentIndex();
    return i >= 0 && i < 4 ? kOperazioni[i] : storage::Operazione::Nessuna;
}

bool TestataInvio::modificata() const {
    return id_ > 0 &&
           (protocollo_->text().toStdString() != salvato_.protocollo ||
            progressivo_->text().toStdString() != salvato_.progressivo || operazioneScelta() != salvato_.operazione);
}

void TestataInvio::salva() {
    if (!modificata()) return;
    const std::string prot = protocollo_->text().toStdString();
    const std::string prog = progressivo_->text().toStdString();
    if (prot != salvato_.protocollo || prog != salvato_.progressivo)
        storage::ScriviIdentificativi(conn_, elenco_, id_, prot, prog);
    if (operazioneScelta() != salvato_.operazione) storage::SegnaOperazione(conn_, elenco_, {id_}, operazioneScelta());
    ricarica();
}

}  // namespace entry
