#pragma once

#include <QMap>
#include <QWidget>

#include "forms/pagina.h"

namespace storage {
class Dataset;
}

namespace forms {

// A page drawn at its natural size with an entry box laid over each field; each box is bound
// to the column of the dataset given for the field's table.
class VistaPagina : public QWidget {
    Q_OBJECT
public:
    explicit VistaPagina(const Pagina& pagina, QWidget* parent = nullptr);
    ~VistaPagina() override;

    // Binds the fields of one table to a dataset (nullptr unbinds).
    void collega(const QString& tabella, storage::Dataset* dataset);
    // Shows the current values of the bound datasets' current rows.
    void carica();
    // Writes the boxes the operator changed back into their datasets (setText puts a browsed
    // row into edit state); unchanged boxes are not written.
    void scrivi();
    // The entry box of a column (a QLineEdit, QCheckBox or QComboBox), or nullptr.
    QWidget* box(const QString& tabella, const QString& colonna) const;
    void setSolaLettura(bool sola);
    // Whether any box was typed into since the last carica() or scrivi().
    bool modificata() const;
    const Pagina& pagina() const { return pagina_; }

signals:
    // The operator typed into a box (the page now has changes to save).
    void modificato();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Pagina& pagina_;
    // implementation fields are the forms developer's
    struct Box;
    std::vector<Box*> boxes_;
    QMap<QString, storage::Dataset*> dataset_;  // by lower-case table name
    bool solaLettura_ = false;
};

}  // namespace forms
