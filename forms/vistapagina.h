#pragma once

#include <QMap>
#include <QWidget>
#include <functional>

#include "forms/pagina.h"

namespace storage {
class Dataset;
}

namespace forms {

// What a box's value is worth, as the window judges it.
struct Esame {
    enum Gravita { Giusto, Avviso, Errore };
    QString valore;  // what the box keeps: the value typed, or its normalised form
    Gravita gravita = Giusto;
    QString messaggio;  // why, one problem a line; empty when right
};
// Judges a box's value; `altra` reads another box of the same table on the page.
using Esaminatore = std::function<Esame(const Campo& campo, const QString& valore,
                                        const std::function<QString(const QString&)>& altra)>;

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
    // Boxes are judged when shown and when left: a wrong one is marked (red for an error, amber
    // for a warning) with the reason as its tooltip; `maiuscole` boxes turn what is typed to capitals.
    void setEsaminatore(Esaminatore esaminatore, const std::function<bool(const Campo&)>& maiuscole);
    // The mark of a box: Giusto when it has none.
    Esame::Gravita segno(const QString& tabella, const QString& colonna) const;
    // Whether any box was typed into since the last carica() or scrivi().
    bool modificata() const;
    const Pagina& pagina() const { return pagina_; }

signals:
    // The operator typed into a box (the page now has changes to save).
    void modificato();
    // The operator left a box and it was judged.
    void esaminata(QWidget* box, forms::Esame::Gravita gravita, const QString& messaggio);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Pagina& pagina_;
    // implementation fields are the forms developer's
    struct Box;
    std::vector<Box*> boxes_;
    Esaminatore esaminatore_;
    // Judges a box's value; the operator's leaving also stores the normalised value and tells.
    void esamina(Box* b, bool lasciata);
    void segna(Box* b, Esame::Gravita g, const QString& messaggio);
    QMap<QString, storage::Dataset*> dataset_;  // by lower-case table name
    bool solaLettura_ = false;
};

}  // namespace forms
