#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <vector>

#include "storage/invii.h"

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class ModelloScelti;

// The certificates of one list that the last check of the archive named, for "Da controllo".
struct Segnalati {
    std::vector<std::int64_t> conErrori;    // with at least one error
    std::vector<std::int64_t> selezionati;  // on the rows the operator selected in the check's list
    std::vector<std::int64_t> tutti;        // on any row
};
enum class DaControllo { ConErrori, Selezionati, Tutti };

// "Solo i certificati scelti…": the certificates of one list, each with a box to tick, for an
// ordinary supply limited to a few (those the Agency rejected, those corrected after the check).
class TFScelti : public QDialog {
    Q_OBJECT
public:
    // scelti: the numbers ticked when the list opens. segnalati: nullopt when no check of the
    // archive was shown yet.
    TFScelti(storage::Connection& conn, storage::Elenco elenco, const std::vector<std::int64_t>& scelti,
             std::optional<Segnalati> segnalati, QWidget* parent);
    ~TFScelti() override;

    // The numbers ticked, ascending; empty means every certificate.
    std::vector<std::int64_t> scelti() const;
    // Ticks or unticks one certificate (as a click on its box does).
    void scegli(std::int64_t id, bool si);
    // Ticks or unticks every row the filter shows.
    void scegliVisibili(bool si);
    // Ticks these certificates of the last check.
    void aggiungiDaControllo(DaControllo quali);

protected:
    // Enter or Down in the search box goes to the list instead of closing it.
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void aggiornaConteggio();

    ModelloScelti* modello_;
    QSortFilterProxyModel* filtrati_;
    QTableView* griglia_;
    QLineEdit* filtro_;
    QLabel* conteggio_;
    std::optional<Segnalati> segnalati_;
};
