#pragma once

// The search grid's model over an editor's list: as many rows as the list has keys, each row
// read from the archive only when the grid shows it.

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <memory>

namespace storage {
class Connection;
class Dataset;
class LettoreColonne;
}  // namespace storage

namespace entry {

class ModelloElenco : public QAbstractTableModel {
    Q_OBJECT
public:
    ModelloElenco(storage::Connection& conn, const storage::Dataset& elenco, QObject* parent = nullptr);
    ~ModelloElenco() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list's rows changed.
    void ricarica();
    // Values of rows may have changed.
    void aggiorna();

    static int larghezza(int colonna);
    // The widest value a column usually holds (a tax code, a date), or "".
    static QString campione(int colonna);

private:
    const QStringList& riga(int r) const;

    storage::Connection& conn_;
    const storage::Dataset& elenco_;
    mutable std::unique_ptr<storage::LettoreColonne> leggi_;
    mutable QHash<qint64, QStringList> cache_;
};

}  // namespace entry
