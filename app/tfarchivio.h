#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

// "Archivio": where the operator chooses the archive to work on. A new archive in a folder of
// their choice, an existing Zefo2015.db, or one of the archives used lately, each shown with
// its agent's name and its folder. The choice is proven to open before the window closes.
class TFArchivio : public QDialog {
    Q_OBJECT
public:
    // percorsoIni: the configuration file, beside which the recent list lives.
    explicit TFArchivio(std::string percorsoIni, QWidget* parent = nullptr);

    // Reads the recent list again and shows why a choice is asked for. At start-up the way out
    // is "Esci" (the program ends); from the menu it is "Annulla" (the archive stays).
    // nonAperto: the database that could not be opened; the copies in its backup folder are
    // offered for a restore.
    void prepara(const QString& motivo, bool avvio, const std::string& nonAperto = {});
    // The database chosen, once the window has been accepted.
    const std::string& scelto() const { return scelto_; }
    // Its folder, as the configuration file will hold it.
    const std::string& cartella() const { return cartella_; }

    // The buttons' commands (also for tests and scripts).
    void creaNuovo();
    void apriAltro();
    void apriRecente();
    // Puts the copy chosen in the list in place of the archive that could not be opened, after a
    // question, and opens it.
    void ripristinaCopia();
    // "Archivio su server…": a schema of a PostgreSQL server, chosen in its own window.
    void apriServer();

private:
    // Opens the archive of this folder (or server address) to prove it; on success it is the choice and the window
    // closes, otherwise the operator is told why and the window stays.
    bool prova(const std::string& cartella);
    QString cartellaIniziale() const;

    std::string percorsoIni_;
    std::string scelto_;
    std::string cartella_;
    QLabel* motivo_;
    QTreeWidget* recenti_;
    std::string nonAperto_;
    // The server address the server window starts from: the one that did not open, else the last used.
    std::string ultimoServer_;
    QLabel* titoloCopie_;
    QTreeWidget* copie_;
    QPushButton* ripristina_;
    QPushButton* apri_;
    QPushButton* esci_;
};
