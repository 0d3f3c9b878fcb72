#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

// "Archivio su server": the agent's archive as a schema of a PostgreSQL server. The operator types
// server, port, database, user and schema (never a password: libpq reads it from its own files);
// the connection is tried, a missing schema is offered for creation, and the window closes on an
// address that answers.
class DialogoServer : public QDialog {
    Q_OBJECT
public:
    explicit DialogoServer(QWidget* parent = nullptr);

    // Fills the boxes from an address (the archive that did not open, or the last server used).
    void compila(const std::string& indirizzo);
    // The address chosen, once the window has been accepted.
    const std::string& indirizzo() const { return indirizzo_; }

    // The buttons' commands (also for tests).
    // "Prova il collegamento": says what the server answered; changes nothing.
    void prova();
    // "Apri": the test, the schema created when missing and the operator agrees, then accept().
    void apri();

private:
    // The address of the boxes; throws storage::Error naming the box that is missing or wrong.
    std::string letto() const;
    // Shows a failed test, with the cursor in the box most likely wrong.
    void mostraFallimento(const std::string& frase, const std::string& motore, QLineEdit* dove);

    QLineEdit* host_;
    QLineEdit* porta_;
    QLineEdit* database_;
    QLineEdit* utente_;
    QLineEdit* schema_;
    std::string indirizzo_;
};
