#include "telematic/ui/finestracontrollo.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "ui/icone.h"
#include "ui/testi.h"

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// The list as it came from the check, shown in the order the operator chose. Sorting permutes
// row numbers by one integer key per problem (see chiavi): 300,000 rows sort in tens of
// milliseconds, and ties keep the check's own order (agent, Quadro CT, certificates by number and box).
class ModelloProblemi : public QAbstractTableModel {
public:
    using Colonna = TFControllo::Colonna;
    using QAbstractTableModel::QAbstractTableModel;

    void imposta(std::vector<check::Problema> p, bool file) {
        beginResetModel();
        problemi_ = std::move(p);
        file_ = file;
        ordine_.resize(problemi_.size());
        std::iota(ordine_.begin(), ordine_.end(), std::size_t{0});
        endResetModel();
    }
    const std::vector<check::Problema>& problemi() const { return problemi_; }
    const check::Problema& problema(int riga) const { return problemi_[ordine_[static_cast<std::size_t>(riga)]]; }

    int rowCount(const QModelIndex& genitore) const override {
        return genitore.isValid() ? 0 : static_cast<int>(problemi_.size());
    }
    int columnCount(const QModelIndex& genitore) const override {
        return genitore.isValid() ? 0 : static_cast<int>(Colonna::Conta);
    }

    QVariant headerData(int sezione, Qt::Orientation o, int ruolo) const override {
        if (o != Qt::Horizontal || ruolo != Qt::DisplayRole) return {};
        switch (static_cast<Colonna>(sezione)) {
        case Colonna::Gravita: return QStringLiteral("Gravità");
        case Colonna::Numero: return file_ ? QStringLiteral("Record") : QStringLiteral("N.");
        case Colonna::Nominativo: return QStringLiteral("Cognome e nome");
        case Colonna::CodiceFiscale: return QStringLiteral("Codice fiscale");
        case Colonna::Casella: return file_ ? QStringLiteral("Posizione") : QStringLiteral("Casella");
        case Colonna::Campo: return QStringLiteral("Campo");
        case Colonna::Problema: return QStringLiteral("Problema");
        case Colonna::Conta: break;
        }
        return {};
    }

    QVariant data(const QModelIndex& i, int ruolo) const override {
        if (!i.isValid() || i.row() >= static_cast<int>(problemi_.size())) return {};
        const check::Problema& p = problema(i.row());
        const auto c = static_cast<Colonna>(i.column());
        if (ruolo == Qt::ForegroundRole && c == Colonna::Gravita)
            return QBrush(p.gravita == check::Gravita::Errore ? QColor(0xb0, 0x10, 0x10) : QColor(0x90, 0x60, 0x00));
        if (ruolo == Qt::ToolTipRole && c == Colonna::Problema) return qs(p.testo);
        if (ruolo == Qt::TextAlignmentRole && c == Colonna::Numero)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (ruolo != Qt::DisplayRole) return {};
        switch (c) {
        case Colonna::Gravita: return QString::fromLatin1(check::TestoGravita(p.gravita));
        case Colonna::Numero: return numero(p);
        case Colonna::Nominativo: return qs(p.nominativo);
        case Colonna::CodiceFiscale: return qs(p.codiceFiscale);
        case Colonna::Casella:
            return file_ ? (p.posizione > 0 ? QString::number(p.posizione) : QString()) : qs(p.colonna);
        case Colonna::Campo: return qs(p.campo);
        case Colonna::Problema: return qs(p.testo);
        case Colonna::Conta: break;
        }
        return {};
    }

    void sort(int colonna, Qt::SortOrder verso) override {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        // The selection follows its problem, not its row number.
        const QModelIndexList prima = persistentIndexList();
        std::vector<std::size_t> problemiPrima;
        problemiPrima.reserve(static_cast<std::size_t>(prima.size()));
        for (const QModelIndex& i : prima) problemiPrima.push_back(ordine_[static_cast<std::size_t>(i.row())]);

        std::iota(ordine_.begin(), ordine_.end(), std::size_t{0});
        if (colonna >= 0 && colonna < static_cast<int>(Colonna::Conta)) {
            const std::vector<std::int64_t> k = chiavi(static_cast<Colonna>(colonna));
            const bool crescente = verso == Qt::AscendingOrder;
            std::stable_sort(ordine_.begin(), ordine_.end(),
                             [&](std::size_t a, std::size_t b) { return crescente ? k[a] < k[b] : k[a] > k[b]; });
        }

        std::vector<int> riga(ordine_.size());
        for (std::size_t r = 0; r < ordine_.size(); ++r) riga[ordine_[r]] = static_cast<int>(r);
        QModelIndexList dopo;
        dopo.reserve(prima.size());
        for (qsizetype k = 0; k < prima.size(); ++k)
            dopo << index(riga[problemiPrima[static_cast<std::size_t>(k)]], prima[k].column());
        changePersistentIndexList(prima, dopo);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    QString numero(const check::Problema& p) const {
        if (file_) return p.record > 0 ? QString::number(p.record) : QString();
        switch (p.origine) {
        case check::Origine::Sostituto: return QStringLiteral("Sostituto");
        case check::Origine::QuadroCt: return QStringLiteral("Quadro CT");
        default: return p.id > 0 ? QString::number(p.id) : QString();
        }
    }

    // Numbers compare as numbers, the agent and the Quadro CT before the certificates.
    std::int64_t chiaveNumero(const check::Problema& p) const {
        if (file_) return p.record;
        if (p.origine == check::Origine::Sostituto) return -2;
        if (p.origine == check::Origine::QuadroCt) return -1;
        return p.id;
    }

    // One number per problem that orders the column: texts by their rank among the column's
    // distinct texts, so the sort compares integers and each text is compared only with others.
    std::vector<std::int64_t> chiavi(Colonna c) const {
        std::vector<std::int64_t> k(problemi_.size());
        const std::string check::Problema::*testo = nullptr;
        switch (c) {
        case Colonna::Gravita:
            for (std::size_t i = 0; i < k.size(); ++i) k[i] = static_cast<int>(problemi_[i].gravita);
            return k;
        case Colonna::Numero:
            for (std::size_t i = 0; i < k.size(); ++i) k[i] = chiaveNumero(problemi_[i]);
            return k;
        case Colonna::Casella:
            if (file_) {
                for (std::size_t i = 0; i < k.size(); ++i) k[i] = problemi_[i].posizione;
                return k;
            }
            testo = &check::Problema::colonna;
            break;
        case Colonna::Nominativo: testo = &check::Problema::nominativo; break;
        case Colonna::CodiceFiscale: testo = &check::Problema::codiceFiscale; break;
        case Colonna::Campo: testo = &check::Problema::campo; break;
        case Colonna::Problema: testo = &check::Problema::testo; break;
        case Colonna::Conta: return k;
        }
        std::unordered_map<std::string_view, std::int64_t> numeri;
        std::vector<std::string_view> distinti;
        for (std::size_t i = 0; i < k.size(); ++i) {
            const std::string_view v = problemi_[i].*testo;
            const auto [it, nuovo] = numeri.try_emplace(v, static_cast<std::int64_t>(distinti.size()));
            if (nuovo) distinti.push_back(v);
            k[i] = it->second;
        }
        std::vector<std::int64_t> rango(distinti.size());
        std::iota(rango.begin(), rango.end(), std::int64_t{0});
        std::sort(rango.begin(), rango.end(), [&](std::int64_t a, std::int64_t b) {
            return distinti[static_cast<std::size_t>(a)] < distinti[static_cast<std::size_t>(b)];
        });
        std::vector<std::int64_t> posto(distinti.size());
        for (std::size_t r = 0; r < rango.size(); ++r)
            posto[static_cast<std::size_t>(rango[r])] = static_cast<std::int64_t>(r);
        for (auto& x : k) x = posto[static_cast<std::size_t>(x)];
        return k;
    }

    std::vector<check::Problema> problemi_;
    std::vector<std::size_t> ordine_;  // view row -> index in problemi_
    bool file_ = false;
};

QTableView* grigliaDiRighe(QAbstractItemModel* modello, const char* nome, QWidget* genitore) {
    auto* g = new QTableView(genitore);
    g->setObjectName(QLatin1String(nome));
    g->setModel(modello);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setAlternatingRowColors(true);
    g->setWordWrap(false);
    g->verticalHeader()->hide();
    // Fixed row heights keep a list of a hundred thousand rows quick to scroll.
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setSortingEnabled(true);
    return g;
}

TFControllo::TFControllo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFControllo"));
    setWindowTitle(QStringLiteral("Controllo prima dell'invio"));

    modello_ = new ModelloProblemi(this);

    sommario_ = new QLabel(this);
    sommario_->setObjectName(QStringLiteral("lblSommario"));
    sommario_->setWordWrap(true);

    griglia_ = grigliaDiRighe(modello_, "grdProblemi", this);
    // Several rows can be selected, to choose their certificates for an ordinary supply.
    griglia_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    griglia_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    griglia_->installEventFilter(this);
    connect(griglia_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { apriRiga(i.row()); });

    auto* fondo = new QHBoxLayout;
    fondo->addWidget(ui::bottoneChiudi(this, "btnChiudi"));
    fondo->addStretch(1);
    ripeti_ = new QPushButton(QStringLiteral("Ripeti controllo"), this);
    ripeti_->setObjectName(QStringLiteral("btnRipeti"));
    connect(ripeti_, &QPushButton::clicked, this, &TFControllo::ripeti);
    fondo->addWidget(ripeti_);
    apri_ = new QPushButton(QStringLiteral("Apri"), this);
    apri_->setObjectName(QStringLiteral("btnApri"));
    apri_->setToolTip(QStringLiteral("Apre il certificato o la schermata della riga scelta"));
    apri_->setEnabled(false);
    connect(apri_, &QPushButton::clicked, this, [this] {
        const QModelIndex i = griglia_->currentIndex();
        if (i.isValid()) apriRiga(i.row());
    });
    fondo->addWidget(apri_);
    connect(griglia_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& i) { apri_->setEnabled(i.isValid()); });

    auto* l = new QVBoxLayout(this);
    l->addWidget(sommario_);
    l->addWidget(griglia_, 1);
    l->addLayout(fondo);
    resize(980, 520);
}

TFControllo::~TFControllo() = default;

const std::vector<check::Problema>& TFControllo::problemi() const { return modello_->problemi(); }

std::vector<check::Problema> TFControllo::problemiSelezionati() const {
    std::vector<check::Problema> p;
    for (const QModelIndex& i : griglia_->selectionModel()->selectedRows()) p.push_back(modello_->problema(i.row()));
    return p;
}

void TFControllo::mostra(std::vector<check::Problema> problemi, const QString& intestazione, bool file) {
    const std::size_t errori = check::ContaErrori(problemi);
    const std::size_t avvisi = problemi.size() - errori;
    griglia_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    modello_->imposta(std::move(problemi), file);
    ripeti_->setVisible(!file);
    apri_->setEnabled(false);

    auto conta = [](std::size_t n, const char* uno, const char* molti) {
        return QStringLiteral("%1 %2").arg(ui::testi::conteggio(n), QString::fromUtf8(n == 1 ? uno : molti));
    };
    QString testo = intestazione + QStringLiteral(": ");
    if (errori + avvisi == 0)
        testo += QStringLiteral("nessun problema trovato.");
    else
        testo += conta(errori, "errore", "errori") + QStringLiteral(", ") + conta(avvisi, "avviso", "avvisi") + '.';
    if (errori > 0)
        testo += QStringLiteral(
            "\nGli errori fanno scartare il certificato o l'intera fornitura: "
            "correggerli prima dell'invio.");
    if (!modello_->problemi().empty()) testo += QStringLiteral("\nDoppio clic su una riga per aprire il certificato.");
    sommario_->setText(testo);

    griglia_->resizeColumnsToContents();
    // The text column stretches; the others stay within reason on long names.
    for (int c = 0; c < static_cast<int>(Colonna::Problema); ++c)
        griglia_->setColumnWidth(c, std::min(griglia_->columnWidth(c), 260));
    if (!modello_->problemi().empty()) griglia_->selectRow(0);
}

bool TFControllo::eventFilter(QObject* oggetto, QEvent* evento) {
    // Enter on a row opens it, as a double-click does: the operator need not leave the keyboard.
    if (oggetto == griglia_ && evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if ((tasto == Qt::Key_Return || tasto == Qt::Key_Enter) && griglia_->currentIndex().isValid()) {
            apriRiga(griglia_->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void TFControllo::apriRiga(int rigaVista) {
    if (rigaVista < 0 || rigaVista >= modello_->rowCount({})) return;
    emit apri(modello_->problema(rigaVista));
}
