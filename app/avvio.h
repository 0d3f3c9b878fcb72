#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/finestre.h"

class QWidget;
class TDM;
class TFAttendere;
class TFmenu;

struct OpzioniAvvio {
    std::string percorsoIni;  // the configuration file; empty = the usual place
};

// The start-up: creates every window once with the progress window on screen, then, when the
// menu first appears, reads the configuration and opens the archive.
class Avvio : public QObject {
    Q_OBJECT
public:
    // Creates the main window.
    explicit Avvio(OpzioniAvvio opzioni);
    ~Avvio() override;

    // Creates the other windows and shows the menu; the configuration step follows from the event loop.
    void esegui();
    // The configuration step (normally reached through the menu's first appearance): the
    // configured archive, or the "Archivio" window when it can't be opened.
    void configura();
    // "Cambia archivio…": the editing windows ask to save as for "Esci", every window closes,
    // and the menu works on the archive chosen; nothing changes when the operator gives up.
    void cambiaArchivio();

    bool configurato() const { return configurato_; }
    // True when start-up found no archive and closed the menu: the program is ending.
    bool terminato() const { return terminato_; }

    TFmenu& menu() { return *menu_; }
    TFAttendere& attendere() { return *attendere_; }
    TDM& dm() { return *dm_; }
    Finestre& finestre() { return finestre_; }

signals:
    void configurazioneEseguita();

private:
    void creaFinestre();
    void distruggiFinestre();
    void concludi();
    // Opens the archive the configuration file names; the reason it could not (after the
    // message box that told the operator), or an empty text once it is open.
    QString apriConfigurato();
    // The "Archivio" window until an archive opens; false when the operator gave up.
    bool scegliArchivio(const QString& motivo, bool avvio);
    // The menu's title: the program, the agent's name and the archive's folder.
    void mostraArchivio();

    OpzioniAvvio opzioni_;
    std::unique_ptr<TFmenu> menu_;
    std::unique_ptr<TFAttendere> attendere_;
    std::unique_ptr<TDM> dm_;
    // The windows, destroyed before the connection they use.
    std::vector<std::unique_ptr<QWidget>> finestreSemplici_;
    std::vector<std::unique_ptr<FinestraDati>> finestreDati_;
    Finestre finestre_;
    bool configurato_ = false;
    bool terminato_ = false;
    // The configured database that did not open: the "Archivio" window offers its copies.
    std::string nonAperto_;
};
