#pragma once

// A search window over a certificate editor's list: typing a surname (and a first name)
// makes the first matching row, in the list's order, the editor's current certificate.

#include <QWidget>

class QLineEdit;
class QTableView;

namespace entry {

class EditorCertificati;
class ModelloElenco;

class FinestraRicerca : public QWidget {
    Q_OBJECT
public:
    FinestraRicerca(EditorCertificati& editor, const QString& titolo, QWidget* parent);

    // Runs the search with the two boxes' texts.
    void cerca();

    QLineEdit& cognome() { return *cognome_; }
    QLineEdit& nome() { return *nome_; }
    QTableView& griglia() { return *griglia_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void seguiEditor();

    EditorCertificati& editor_;
    ModelloElenco* modello_ = nullptr;
    QLineEdit* cognome_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QTableView* griglia_ = nullptr;
    bool sincronizzando_ = false;
};

}  // namespace entry
