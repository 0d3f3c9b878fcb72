#include "entry/modelloelenco.h"

#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"

namespace entry {

namespace {

struct Colonna {
    const char* titolo;
    const char* nome;
    int larghezza;
    Qt::Alignment allineamento;
};

const Colonna kColonne[] = {
    {"Codice fiscale", "B01", 125, Qt::AlignLeft},
    {"Cognome", "B02", 100, Qt::AlignLeft},
    {"Nome", "B03", 100, Qt::AlignLeft},
    {"Sesso", "B04", 35, Qt::AlignHCenter},
    {"Data di nascita", "B05", 78, Qt::AlignHCenter},
    {"Luogo di nascita", "B06", 160, Qt::AlignLeft},
    {"PR", "B07", 25, Qt::AlignHCenter},
};
constexpr int kNumeroColonne = static_cast<int>(std::size(kColonne));

// Rows kept in memory: a few screens of the grid.
constexpr qsizetype kMassimoCache = 2000;

}  // namespace

ModelloElenco::ModelloElenco(storage::Connection& conn, const storage::Dataset& elenco, QObject* parent)
    : QAbstractTableModel(parent), conn_(conn), elenco_(elenco) {}

ModelloElenco::~ModelloElenco() = default;

int ModelloElenco::larghezza(int colonna) { return kColonne[colonna].larghezza; }

QString ModelloElenco::campione(int colonna) {
    switch (colonna) {
    case 0: return QStringLiteral("WWWWWW00W00W000W");  // the widest letters a tax code may have
    case 4: return QStringLiteral("10/12/1985");
    default: return {};
    }
}

int ModelloElenco::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !elenco_.isOpen()) return 0;
    return static_cast<int>(elenco_.rowCount());
}

int ModelloElenco::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kNumeroColonne; }

const QStringList& ModelloElenco::riga(int r) const {
    static const QStringList vuota(kNumeroColonne);
    const auto& chiavi = elenco_.keys();
    if (r < 0 || static_cast<std::size_t>(r) >= chiavi.size()) return vuota;
    const qint64 chiave = chiavi[static_cast<std::size_t>(r)];
    auto it = cache_.constFind(chiave);
    if (it != cache_.constEnd()) return *it;
    if (!leggi_) {
        std::vector<const char*> nomi;
        for (const Colonna& c : kColonne) nomi.push_back(c.nome);
        leggi_ = std::make_unique<storage::LettoreColonne>(conn_, elenco_.tabella(), nomi);
    }
    if (cache_.size() >= kMassimoCache) cache_.clear();
    QStringList valori;
    if (const auto letti = leggi_->leggi(static_cast<std::int64_t>(chiave)))
        for (const std::string& t : *letti) valori << QString::fromStdString(t);
    else
        valori = vuota;
    return *cache_.insert(chiave, valori);
}

QVariant ModelloElenco::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        try {
            return riga(index.row()).value(index.column());
        } catch (const std::exception&) {
            return {};  // a row the grid cannot read shows empty; the editor reports errors
        }
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(kColonne[index.column()].allineamento | Qt::AlignVCenter);
    return {};
}

QVariant ModelloElenco::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kNumeroColonne) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kColonne[section].titolo);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

void ModelloElenco::ricarica() {
    beginResetModel();
    cache_.clear();
    leggi_.reset();  // the list may be over another table now
    endResetModel();
}

void ModelloElenco::aggiorna() {
    cache_.clear();
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kNumeroColonne - 1));
}

}  // namespace entry
