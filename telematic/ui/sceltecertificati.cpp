#include "telematic/ui/sceltecertificati.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>

#include "storage/elenchi.h"
#include "telematic/ui/finestracontrollo.h"
#include "ui/dialoghi.h"
#include "ui/testi.h"

namespace {

struct Riga {
    std::int64_t id = 0;
    QString nominativo, codiceFiscale, tipo, protocollo, operazione;
    bool scelta = false;
};

enum Colonna { Numero, Nominativo, CodiceFiscale, Tipo, Protocollo, Operazione, Conta };

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::vector<Riga> leggiRighe(storage::Connection& conn, storage::Elenco elenco) {
    std::vector<Riga> righe;
    for (const auto& s : storage::RigheDaScegliere(conn, elenco)) {
        Riga r;
        r.id = s.id;
        r.nominativo = (qs(s.cognome).trimmed() + QLatin1Char(' ') + qs(s.nome).trimmed()).trimmed();
        r.codiceFiscale = qs(s.codiceFiscale).trimmed();
        r.tipo = qs(s.tipo).trimmed();
        righe.push_back(std::move(r));
    }
    storage::LettoreInvii invii(conn);
    for (Riga& r : righe) {
        const storage::StatoInvio s = invii.leggi(elenco, r.id);
        r.protocollo = QString::fromStdString(s.protocollo);
        r.operazione = QString::fromUtf8(storage::TestoOperazione(s.operazione));
    }
    return righe;
}

}  // namespace

// The rows with their ticks; the box of the number column holds the choice.
class ModelloScelti : public QAbstractTableModel {
public:
    ModelloScelti(std::vector<Riga> righe, bool conTipo, QObject* genitore)
        : QAbstractTableModel(genitore), righe_(std::move(righe)), conTipo_(conTipo) {}

    int rowCount(const QModelIndex& g) const override { return g.isValid() ? 0 : static_cast<int>(righe_.size()); }
    int columnCount(const QModelIndex& g) const override { return g.isValid() ? 0 : Conta; }
    bool conTipo() const { return conTipo_; }

    QVariant headerData(int sezione, Qt::Orientation o, int ruolo) const override {
        if (o != Qt::Horizontal || ruolo != Qt::DisplayRole) return {};
        switch (sezione) {
        case Numero: return QStringLiteral("N.");
        case Nominativo: return QStringLiteral("Cognome e nome");
        case CodiceFiscale: return QStringLiteral("Codice fiscale");
        case Tipo: return QStringLiteral("Tipo");
        case Protocollo: return QStringLiteral("Protocollo");
        case Operazione: return QStringLiteral("Operazione");
        default: return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& i) const override {
        Qt::ItemFlags f = QAbstractTableModel::flags(i);
        if (i.column() == Numero) f |= Qt::ItemIsUserCheckable;
        return f;
    }

    QVariant data(const QModelIndex& i, int ruolo) const override {
        if (!i.isValid()) return {};
        const Riga& r = righe_[static_cast<std::size_t>(i.row())];
        if (ruolo == Qt::CheckStateRole && i.column() == Numero) return r.scelta ? Qt::Checked : Qt::Unchecked;
        if (ruolo == Qt::TextAlignmentRole && i.column() == Numero)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        // Numbers sort as numbers.
        if (ruolo == Qt::UserRole && i.column() == Numero) return QVariant::fromValue<qint64>(r.id);
        if (ruolo != Qt::DisplayRole && ruolo != Qt::UserRole) return {};
        switch (i.column()) {
        case Numero: return QString::number(r.id);
        case Nominativo: return r.nominativo;
        case CodiceFiscale: return r.codiceFiscale;
        case Tipo: return r.tipo;
        case Protocollo: return r.protocollo;
        case Operazione: return r.operazione;
        default: return {};
        }
    }

    bool setData(const QModelIndex& i, const QVariant& v, int ruolo) override {
        if (!i.isValid() || i.column() != Numero || ruolo != Qt::CheckStateRole) return false;
        imposta(i.row(), v.toInt() == Qt::Checked);
        return true;
    }

    void imposta(int riga, bool si) {
        Riga& r = righe_[static_cast<std::size_t>(riga)];
        if (r.scelta == si) return;
        r.scelta = si;
        scelte_ += si ? 1 : -1;
        const QModelIndex i = index(riga, Numero);
        emit dataChanged(i, i, {Qt::CheckStateRole});
    }

    // The row of this number, -1 when the list lacks it.
    int riga(std::int64_t id) const {
        const auto it =
            std::lower_bound(righe_.begin(), righe_.end(), id, [](const Riga& r, std::int64_t n) { return r.id < n; });
        return it != righe_.end() && it->id == id ? static_cast<int>(it - righe_.begin()) : -1;
    }

    std::vector<std::int64_t> scelti() const {
        std::vector<std::int64_t> v;
        for (const Riga& r : righe_)
            if (r.scelta) v.push_back(r.id);
        return v;
    }
    int scelte() const { return scelte_; }

private:
    std::vector<Riga> righe_;  // ascending by number
    bool conTipo_;
    int scelte_ = 0;
};

TFScelti::TFScelti(storage::Connection& conn, storage::Elenco elenco, const std::vector<std::int64_t>& scelti,
                   std::optional<Segnalati> segnalati, QWidget* parent)
    : QDialog(parent), segnalati_(std::move(segnalati)) {
    setObjectName(QStringLiteral("TFScelti"));
    const bool dip = elenco == storage::Elenco::Dipendenti;
    setWindowTitle(dip ? QStringLiteral("Certificati scelti - DIPENDENTI")
                       : QStringLiteral("Certificati scelti - PROFESSIONISTI"));

    modello_ = new ModelloScelti(leggiRighe(conn, elenco), dip, this);
    for (std::int64_t id : scelti)
        if (const int r = modello_->riga(id); r >= 0) modello_->imposta(r, true);
    filtrati_ = new QSortFilterProxyModel(this);
    filtrati_->setSourceModel(modello_);
    filtrati_->setFilterKeyColumn(-1);
    filtrati_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtrati_->setSortRole(Qt::UserRole);

    auto* spiegazione = new QLabel(
        QStringLiteral(
            "La fornitura ordinaria conterrà solo i certificati spuntati; senza alcuna spunta, "
            "tutti. «Da controllo» spunta i certificati segnalati dall'ultimo «Controllo»: quelli con errori, "
            "quelli delle righe selezionate nel suo elenco, oppure tutti."),
        this);
    spiegazione->setWordWrap(true);

    filtro_ = new QLineEdit(this);
    filtro_->setObjectName(QStringLiteral("EditFiltro"));
    filtro_->setPlaceholderText(QStringLiteral("Numero, cognome e nome o codice fiscale"));
    filtro_->setClearButtonEnabled(true);
    connect(filtro_, &QLineEdit::textChanged, filtrati_, &QSortFilterProxyModel::setFilterFixedString);
    filtro_->installEventFilter(this);
    auto* etichettaFiltro = new QLabel(QStringLiteral("&Cerca"), this);
    etichettaFiltro->setBuddy(filtro_);

    griglia_ = grigliaDiRighe(filtrati_, "grdScelti", this);
    griglia_->sortByColumn(Numero, Qt::AscendingOrder);
    griglia_->setColumnHidden(Tipo, !dip);
    griglia_->resizeColumnsToContents();
    griglia_->setColumnWidth(Nominativo, std::min(std::max(griglia_->columnWidth(Nominativo), 180), 300));

    conteggio_ = new QLabel(this);
    conteggio_->setObjectName(QStringLiteral("lblConteggio"));
    connect(modello_, &QAbstractItemModel::dataChanged, this, &TFScelti::aggiornaConteggio);

    auto pulsante = [this](const QString& testo, const char* nome, const QString& suggerimento,
                           const std::function<void()>& azione) {
        auto* b = new QPushButton(testo, this);
        b->setObjectName(QLatin1String(nome));
        b->setToolTip(suggerimento);
        b->setAutoDefault(false);
        if (azione) connect(b, &QPushButton::clicked, this, azione);
        return b;
    };
    auto* cerca = new QHBoxLayout;
    cerca->addWidget(etichettaFiltro);
    cerca->addWidget(filtro_, 1);
    cerca->addWidget(pulsante(QStringLiteral("Spunta tutti"), "btnTutti",
                              QStringLiteral("Spunta i certificati elencati"), [this] { scegliVisibili(true); }));
    cerca->addWidget(pulsante(QStringLiteral("Nessuno"), "btnNessuno",
                              QStringLiteral("Toglie la spunta ai certificati elencati"),
                              [this] { scegliVisibili(false); }));
    auto* daControllo = pulsante(QStringLiteral("Da controllo"), "btnDaControllo",
                                 QStringLiteral("Spunta i certificati segnalati dall'ultimo controllo"), {});
    auto* menu = new QMenu(daControllo);
    const std::tuple<const char*, QString, DaControllo> voci[] = {
        {"azioneConErrori", QStringLiteral("Certificati con errori"), DaControllo::ConErrori},
        {"azioneSelezionati", QStringLiteral("Certificati delle righe selezionate nel controllo"),
         DaControllo::Selezionati},
        {"azioneTutti", QStringLiteral("Tutti i certificati segnalati"), DaControllo::Tutti}};
    for (const auto& [nome, testo, quali] : voci) {
        QAction* a = menu->addAction(testo);
        a->setObjectName(QLatin1String(nome));
        connect(a, &QAction::triggered, this, [this, quali = quali] { aggiungiDaControllo(quali); });
    }
    daControllo->setMenu(menu);
    cerca->addWidget(daControllo);

    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    bottoni->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnConferma"));
    connect(bottoni, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(bottoni, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(conteggio_, 1);
    fondo->addWidget(bottoni);

    auto* l = new QVBoxLayout(this);
    l->addWidget(spiegazione);
    l->addLayout(cerca);
    l->addWidget(griglia_, 1);
    l->addLayout(fondo);
    aggiornaConteggio();
    resize(760, 480);
    filtro_->setFocus();
}

TFScelti::~TFScelti() = default;

std::vector<std::int64_t> TFScelti::scelti() const { return modello_->scelti(); }

void TFScelti::scegli(std::int64_t id, bool si) {
    if (const int r = modello_->riga(id); r >= 0) modello_->imposta(r, si);
}

void TFScelti::scegliVisibili(bool si) {
    for (int r = 0; r < filtrati_->rowCount(); ++r)
        modello_->imposta(filtrati_->mapToSource(filtrati_->index(r, 0)).row(), si);
}

void TFScelti::aggiungiDaControllo(DaControllo quali) {
    if (!segnalati_) {
        ui::informa(this, QStringLiteral("Nessun controllo eseguito: premere «Controllo» nella finestra "
                                         "di generazione, poi tornare a questo elenco."));
        return;
    }
    const std::vector<std::int64_t>& ids = quali == DaControllo::ConErrori     ? segnalati_->conErrori
                                           : quali == DaControllo::Selezionati ? segnalati_->selezionati
                                                                               : segnalati_->tutti;
    if (ids.empty()) {
        ui::informa(this,
                    quali == DaControllo::ConErrori
                        ? QStringLiteral("L'ultimo controllo non ha trovato errori nei certificati.")
                    : quali == DaControllo::Selezionati
                        ? QStringLiteral("Nell'elenco del controllo non è selezionata alcuna riga di un certificato.")
                        : QStringLiteral("L'ultimo controllo non ha segnalato alcun certificato."));
        return;
    }
    for (std::int64_t id : ids) scegli(id, true);
}

bool TFScelti::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == filtro_ && evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter || tasto == Qt::Key_Down) {
            griglia_->setFocus();
            if (!griglia_->currentIndex().isValid() && filtrati_->rowCount() > 0)
                griglia_->setCurrentIndex(filtrati_->index(0, Numero));
            return true;
        }
    }
    return QDialog::eventFilter(oggetto, evento);
}

void TFScelti::aggiornaConteggio() {
    const int n = modello_->scelte();
    const int tutti = modello_->rowCount({});
    conteggio_->setText(
        n == 0 ? QStringLiteral("Nessuna spunta: la fornitura comprende tutti i certificati.")
        : n == 1
            ? QStringLiteral("1 certificato scelto su %1.").arg(ui::testi::conteggio(static_cast<std::uint64_t>(tutti)))
            : QStringLiteral("%1 certificati scelti su %2.")
                  .arg(ui::testi::conteggio(static_cast<std::uint64_t>(n)),
                       ui::testi::conteggio(static_cast<std::uint64_t>(tutti))));
}
