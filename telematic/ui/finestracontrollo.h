#pragma once

#include <QWidget>
#include <vector>

#include "check/controllo.h"

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QTableView;
class ModelloProblemi;

// A read-only grid of whole rows, sortable by any column, quick to scroll on long lists.
QTableView* grigliaDiRighe(QAbstractItemModel* modello, const char* nome, QWidget* genitore);

// The problems the pre-send check found, in a grid the operator sorts by any column.
// A double-click (or "Apri") on a row asks for the certificate or screen it names.
class TFControllo : public QWidget {
    Q_OBJECT
public:
    enum class Colonna { Gravita, Numero, Nominativo, CodiceFiscale, Casella, Campo, Problema, Conta };

    explicit TFControllo(QWidget* parent = nullptr);
    ~TFControllo() override;

    // Shows a new list under a heading saying what was checked ("Controllo dell'archivio (...)").
    // A file's problems number their records instead of certificates.
    void mostra(std::vector<check::Problema> problemi, const QString& intestazione, bool file);
    const std::vector<check::Problema>& problemi() const;
    // The problems of the rows the operator selected.
    std::vector<check::Problema> problemiSelezionati() const;
    QTableView* griglia() { return griglia_; }

signals:
    // The operator asked to open where this problem lies.
    void apri(const check::Problema& problema);
    // "Ripeti controllo": the window that opened this list checks again.
    void ripeti();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void apriRiga(int rigaVista);

    ModelloProblemi* modello_;
    QTableView* griglia_;
    QLabel* sommario_;
    QPushButton* apri_;
    QPushButton* ripeti_;
};
