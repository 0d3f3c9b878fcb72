#pragma once

#include <QObject>
#include <QString>
#include <functional>
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

// The start-up: when the menu first appears, reads the configuration and opens the archive; then
// makes the other windows, in steps that leave the menu answering.
class Avvio : public QObject {
    Q_OBJECT
public:
    // Creates the main window.
    explicit Avvio(OpzioniAvvio opzioni);
    ~Avvio() override;

    // Shows the menu; the configuration step, then the other windows, follow from the event loop.
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
    // Every window, made now if start-up has not made it yet.
    Finestre& finestre() {
        assicuraFinestre();
        return finestre_;
    }

signals:
    void configurazioneEseguita();
    // Every window is made.
    void finestreCreate();

private:
    // All the windows at once; preparaFinestre only lists the steps, assicuraFinestre runs those left.
    void creaFinestre();
    void preparaFinestre();
    void assicuraFinestre();
    void creaProssimaFinestra();
    void eseguiPasso();
    void creaFinestreAgente();
    void creaEditorDipendenti();
    void creaAltreFinestre();
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
    std::vector<std::function<void()>> passi_;
    std::size_t prossima_ = 0;
    bool configurato_ = false;
    bool terminato_ = false;
    // The configured database that did not open: the "Archivio" window offers its copies.
    std::string nonAperto_;
};
