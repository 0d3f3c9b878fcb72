#include "telematic/ui/tfcontrollo.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/icone.h"

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// The list as it came from the check; the grid sorts a proxy over it, so the check's own order
// (agent, Quadro CT, certificates by number and box) is always one click on "N." away.
class ModelloProblemi : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void imposta(std::vector<check::Problema> p, bool file) {
        beginResetModel();
        problemi_ = std::move(p);
        file_ = file;
        endResetModel();
    }
    const std::vector<check::Problema>& problemi() const { return problemi_; }

    int rowCount(const QModelIndex& genitore) const override {
        return genitore.isValid() ? 0 : static_cast<int>(problemi_.size());
    }
    int columnCount(const QModelIndex& genitore) const override {
        return genitore.isValid() ? 0 : static_cast<int>(TFControllo::Colonna::Conta);
    }

    QVariant headerData(int sezione, Qt::Orientation o, int ruolo) const override {
        if (o != Qt::Horizontal || ruolo != Qt::DisplayRole) return {};
        switch (static_cast<TFControllo::Colonna>(sezione)) {
        case TFControllo::Colonna::Gravita: return QStringLiteral("Gravità");
        case TFControllo::Colonna::Numero: return file_ ? QStringLiteral("Record") : QStringLiteral("N.");
        case TFControllo::Colonna::Nominativo: return QStringLiteral("Cognome e nome");
        case TFControllo::Colonna::CodiceFiscale: return QStringLiteral("Codice fiscale");
        case TFControllo::Colonna::Casella: return file_ ? QStringLiteral("Posizione") : QStringLiteral("Casella");
        case TFControllo::Colonna::Campo: return QStringLiteral("Campo");
        case TFControllo::Colonna::Problema: return QStringLiteral("Problema");
        case TFControllo::Colonna::Conta: break;
        }
        return {};
    }

    QVariant data(const QModelIndex& i, int ruolo) const override {
        if (!i.isValid() || i.row() >= static_cast<int>(problemi_.size())) return {};
        const check::Problema& p = problemi_[static_cast<std::size_t>(i.row())];
        const auto c = static_cast<TFControllo::Colonna>(i.column());
        if (ruolo == Qt::ForegroundRole && c == TFControllo::Colonna::Gravita)
            return QBrush(p.gravita == check::Gravita::Errore ? QColor(0xb0, 0x10, 0x10) : QColor(0x90, 0x60, 0x00));
        if (ruolo == Qt::ToolTipRole && c == TFControllo::Colonna::Problema) return qs(p.testo);
        if (ruolo == Qt::TextAlignmentRole && c == TFControllo::Colonna::Numero)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (ruolo == Qt::UserRole) return chiaveOrdine(p, c, i.row());
        if (ruolo != Qt::DisplayRole) return {};
        switch (c) {
        case TFControllo::Colonna::Gravita: return QString::fromLatin1(check::TestoGravita(p.gravita));
        case TFControllo::Colonna::Numero: return numero(p);
        case TFControllo::Colonna::Nominativo: return qs(p.nominativo);
        case TFControllo::Colonna::CodiceFiscale: return qs(p.codiceFiscale);
        case TFControllo::Colonna::Casella:
            return file_ ? (p.posizione > 0 ? QString::number(p.posizione) : QString()) : qs(p.colonna);
        case TFControllo::Colonna::Campo: return qs(p.campo);
        case TFControllo::Colonna::Problema: return qs(p.testo);
        case TFControllo::Colonna::Conta: break;
        }
        return {};
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

    // Numbers sort as numbers; ties keep the check's order.
    QVariant chiaveOrdine(const check::Problema& p, TFControllo::Colonna c, int riga) const {
        const QString dopo = QStringLiteral("\x1f%1").arg(riga, 9, 10, QLatin1Char('0'));
        switch (c) {
        case TFControllo::Colonna::Numero: {
            // Agent and Quadro CT first, then the certificates by number, then the list order.
            const qint64 n = file_ ? p.record
                                   : (p.origine == check::Origine::Sostituto  ? -2
                                      : p.origine == check::Origine::QuadroCt ? -1
                                                                              : p.id);
            return QStringLiteral("%1").arg(n + 2, 19, 10, QLatin1Char('0')) + dopo;
        }
        case TFControllo::Colonna::Casella:
            if (file_) return QStringLiteral("%1").arg(p.posizione, 9, 10, QLatin1Char('0')) + dopo;
            break;
        case TFControllo::Colonna::Gravita:
            return QString(p.gravita == check::Gravita::Errore ? u'0' : u'1') + dopo;
        default: break;
        }
        return data(index(riga, static_cast<int>(c)), Qt::DisplayRole).toString().toUpper() + dopo;
    }

    std::vector<check::Problema> problemi_;
    bool file_ = false;
};

TFControllo::TFControllo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFControllo"));
    setWindowTitle(QStringLiteral("Controllo prima dell'invio"));

    modello_ = new ModelloProblemi(this);
    ordine_ = new QSortFilterProxyModel(this);
    ordine_->setSourceModel(modello_);
    ordine_->setSortRole(Qt::UserRole);

    sommario_ = new QLabel(this);
    sommario_->setObjectName(QStringLiteral("lblSommario"));
    sommario_->setWordWrap(true);

    griglia_ = new QTableView(this);
    griglia_->setObjectName(QStringLiteral("grdProblemi"));
    griglia_->setModel(ordine_);
    griglia_->setSelectionBehavior(QAbstractItemView::SelectRows);
    griglia_->setSelectionMode(QAbstractItemView::SingleSelection);
    griglia_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    griglia_->setAlternatingRowColors(true);
    griglia_->setWordWrap(false);
    griglia_->verticalHeader()->hide();
    // Fixed row heights keep a list of a hundred thousand problems quick to scroll.
    griglia_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    griglia_->verticalHeader()->setDefaultSectionSize(griglia_->fontMetrics().height() + 6);
    griglia_->horizontalHeader()->setStretchLastSection(true);
    griglia_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    griglia_->setSortingEnabled(true);
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
            [this](const QModelIndex& i) {
                const bool file = !modello_->problemi().empty() && modello_->problemi().front().origine == check::Origine::File;
                apri_->setEnabled(i.isValid() && !file);
            });

    auto* l = new QVBoxLayout(this);
    l->addWidget(sommario_);
    l->addWidget(griglia_, 1);
    l->addLayout(fondo);
    resize(980, 520);
}

TFControllo::~TFControllo() = default;

const std::vector<check::Problema>& TFControllo::problemi() const { return modello_->problemi(); }

void TFControllo::mostra(std::vector<check::Problema> problemi, const QString& intestazione, bool file) {
    const std::size_t errori = check::ContaErrori(problemi);
    const std::size_t avvisi = problemi.size() - errori;
    griglia_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ordine_->sort(-1);
    modello_->imposta(std::move(problemi), file);
    ripeti_->setVisible(!file);
    apri_->setVisible(!file);
    apri_->setEnabled(false);

    auto conta = [](std::size_t n, const char* uno, const char* molti) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? uno : molti));
    };
    QString testo = intestazione + QStringLiteral(": ");
    if (errori + avvisi == 0)
        testo += QStringLiteral("nessun problema trovato.");
    else
        testo += conta(errori, "errore", "errori") + QStringLiteral(", ") + conta(avvisi, "avviso", "avvisi") + '.';
    if (errori > 0)
        testo += QStringLiteral("\nGli errori fanno scartare il certificato o l'intera fornitura: "
                                "correggerli prima dell'invio.");
    if (!file && !modello_->problemi().empty())
        testo += QStringLiteral("\nDoppio clic su una riga per aprire il certificato.");
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
    const QModelIndex sorgente = ordine_->mapToSource(ordine_->index(rigaVista, 0));
    if (!sorgente.isValid()) return;
    const check::Problema& p = modello_->problemi()[static_cast<std::size_t>(sorgente.row())];
    if (p.origine == check::Origine::File) return;
    emit apri(p);
}
