#pragma once

// A search window over a certificate editor's list: typing a surname (and a first name)
// makes the first matching row, in the list's order, the editor's current certificate.

#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace entry {

class EditorCertificati;
class ModelloElenco;

class FinestraRicerca : public QWidget {
    Q_OBJECT
public:
    // conMatricola: the certificates have an employee number to search by (not the professionals').
    FinestraRicerca(EditorCertificati& editor, const QString& titolo, bool conMatricola, QWidget* parent);

    // Runs the search with the two boxes' texts.
    void cerca();
    // Runs the search with the text of the box of codes (tax code, number, matricola).
    void cercaCodice();
    // Shows the editor on the certificate found (Enter, or a double-click on the grid).
    void apriEditor();

    QLineEdit& cognome() { return *cognome_; }
    QLineEdit& nome() { return *nome_; }
    QLineEdit& codice() { return *codice_; }
    QTableView& griglia() { return *griglia_; }
    // "non trovato" while the last search found nothing; what the box of codes found by
    // ("matricola 0007", "certificato n. 7"); "ROSSI è escluso dal filtro"; otherwise empty.
    QString esito() const;
    // Clears the filter and shows the certificate the filter hid ("Mostra").
    void mostraEscluso();
    QPushButton& pulsanteMostra() { return *mostraEscluso_; }

protected:
    // The first time it is shown the window takes its place (colloca); afterwards it stays where
    // the operator moves it.
    void showEvent(QShowEvent* e) override;

private:
    // Over the lower right of the editor when the editor is shown, so that its toolbar and header
    // stay in sight; otherwise centred on its screen. Always whole on that screen.
    void colloca();
    void seguiEditor();
    // Marks the box searched with and says whether the search found a row.
    void segnaEsito(QLineEdit* casella, bool trovato, const QString& come = {});

    EditorCertificati& editor_;
    ModelloElenco* modello_ = nullptr;
    QLineEdit* cognome_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* codice_ = nullptr;
    QLabel* esito_ = nullptr;
    QPushButton* mostraEscluso_ = nullptr;
    std::int64_t escluso_ = 0;  // the certificate the filter hides that the last search found
    QTableView* griglia_ = nullptr;
    bool sincronizzando_ = false;
    bool collocata_ = false;
};

}  // namespace entry
