#include "app/avvio.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>
#include <filesystem>

#include "app/attesa.h"
#include "app/menu.h"
#include "app/sceltaarchivio.h"
#include "app/tdm.h"
#include "check/rimando.h"
#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/finestraquadroct.h"
#include "entry/finestrasostituto.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "import/ui/finestraimporta.h"
#include "print/ui/stampadipendenti.h"
#include "print/ui/stampaprofessionisti.h"
#include "storage/archivi.h"
#include "storage/config.h"
#include "storage/recenti.h"
#include "storage/server.h"
#include "storage/sistema.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/generazionedipendenti.h"
#include "telematic/ui/generazioneprofessionisti.h"
#include "ui/dialoghi.h"

namespace {

// The archive as a message names it: a folder's path as the system writes it, a server's address
// without its password.
QString mostrato(const std::string& percorsoDb) {
    if (storage::Connection::indirizzoServer(percorsoDb))
        return QString::fromStdString(storage::SenzaPassword(percorsoDb));
    return QDir::toNativeSeparators(QString::fromStdString(percorsoDb));
}

// The menu's view of an editing window: the agent's screens offer prepara(); the certificate
// editors re-open their list and go back to their first page.
template <class T>
class Adattatore : public FinestraDati {
public:
    explicit Adattatore(std::unique_ptr<T> w) : w_(std::move(w)) {}
    T& w() { return *w_; }
    QWidget* finestra() override { return w_.get(); }
    void prepara() override {
        if constexpr (requires(T & t) { t.prepara(); }) {
            w_->prepara();
        } else {
            w_->riapriElenco();
            w_->paginaIniziale();
        }
    }
    void apriElencoSeChiuso() override {
        if constexpr (requires(T & t) { t.apriElencoSeChiuso(); }) w_->apriElencoSeChiuso();
    }
    bool vaiACertificato(std::int64_t id) override {
        if constexpr (requires(T & t) { t.vaiACertificato(id); })
            return w_->vaiACertificato(id);
        else
            return false;
    }
    void rileggiDopo(const QString& operazione) override {
        if constexpr (requires(T & t) { t.rileggiDopo(operazione); }) w_->rileggiDopo(operazione);
    }
    void rileggiInvio() override {
        if constexpr (requires(T & t) { t.rileggiInvio(); }) w_->rileggiInvio();
    }
    void vaiAllaCasella(const QString& colonna) override {
        if constexpr (requires(T & t) { t.vaiAllaCasella(colonna); }) w_->vaiAllaCasella(colonna);
    }
    bool chiudiFinestra() override { return w_->chiudiFinestra(); }
    bool salvaPrimaDiUscire() override { return w_->salvaPrimaDiUscire(); }

private:
    std::unique_ptr<T> w_;
};

}  // namespace

Avvio::Avvio(OpzioniAvvio opzioni) : opzioni_(std::move(opzioni)) {
    if (opzioni_.percorsoIni.empty()) opzioni_.percorsoIni = storage::percorsoConfigurazione();
    // The main window comes first; the rest of start-up is esegui().
    menu_ = std::make_unique<TFmenu>();
}

Avvio::~Avvio() = default;

void Avvio::esegui() {
    attendere_ = std::make_unique<TFAttendere>();
    attendere_->show();
    attendere_->passo(1);
    // Used only when the configuration step does not name the archive.
    dm_ = std::make_unique<TDM>(storage::percorsoDatabase(storage::cartellaUtente("RAVO/Zefo2015")));
    attendere_->passo(2);
    // The other windows are made after the menu is usable (see configura); a button pressed
    // before they all exist makes the rest at once.
    preparaFinestre();
    menu_->collega(*dm_, finestre_, [this] { assicuraFinestre(); });
    connect(menu_.get(), &TFmenu::cambiaArchivioRichiesto, this, &Avvio::cambiaArchivio);
    connect(menu_.get(), &TFmenu::attivato, this, [this] {
        if (configurato_ && dm_->Conn.isOpen()) mostraArchivio();
    });
    connect(menu_.get(), &TFmenu::primaApparizione, this,
            [this] { QMetaObject::invokeMethod(this, &Avvio::configura, Qt::QueuedConnection); });
    menu_->show();
}

void Avvio::creaFinestre() {
    preparaFinestre();
    assicuraFinestre();
}

void Avvio::assicuraFinestre() {
    while (prossima_ < passi_.size()) eseguiPasso();
}

void Avvio::creaProssimaFinestra() {
    if (prossima_ >= passi_.size()) return;
    eseguiPasso();
    if (prossima_ < passi_.size()) QTimer::singleShot(0, this, &Avvio::creaProssimaFinestra);
}

void Avvio::eseguiPasso() {
    passi_[prossima_++]();
    if (prossima_ == passi_.size()) emit finestreCreate();
}

// The windows in a few steps, each short enough for the menu to answer between them.
void Avvio::preparaFinestre() {
    passi_.clear();
    prossima_ = 0;
    passi_.emplace_back([this] { creaFinestreAgente(); });
    passi_.emplace_back([this] { creaEditorDipendenti(); });
    passi_.emplace_back([this] { creaAltreFinestre(); });
}

void Avvio::creaFinestreAgente() {
    auto dati = [this](FinestraDati* d) {
        finestreDati_.emplace_back(d);
        return d;
    };
    storage::Connection& conn = dm_->Conn;
    auto* sostituto = new Adattatore<TFSostituto>(std::make_unique<TFSostituto>(conn));
    finestre_.sostituto = dati(sostituto);
    auto* quadroCt = new Adattatore<TFQuadroCT>(std::make_unique<TFQuadroCT>(conn));
    finestre_.quadroCt = dati(quadroCt);
    // The menu's title names the agent as now saved.
    connect(&sostituto->w(), &agente::FinestraAgente::salvata, this, &Avvio::mostraArchivio);
    connect(&quadroCt->w(), &agente::FinestraAgente::salvata, this, &Avvio::mostraArchivio);
}

void Avvio::creaEditorDipendenti() {
    finestreDati_.emplace_back(new Adattatore<TFPagina1>(std::make_unique<TFPagina1>(dm_->Conn)));
    finestre_.pagina1 = finestreDati_.back().get();
}

void Avvio::creaAltreFinestre() {
    auto semplice = [this](QWidget* w) {
        finestreSemplici_.emplace_back(w);
        return w;
    };
    auto dati = [this](FinestraDati* d) {
        finestreDati_.emplace_back(d);
        return d;
    };
    storage::Connection& conn = dm_->Conn;
    auto& pagina1 = static_cast<Adattatore<TFPagina1>&>(*finestre_.pagina1);

    auto* creaFile = new TFCreaFile(conn);
    finestre_.creaFile = semplice(creaFile);
    auto* importa = new TFImportaFile(conn);
    finestre_.importa = semplice(importa);
    finestre_.ricDip = semplice(new TFRicDip(pagina1.w()));
    finestre_.stampeTutti = semplice(new print::TFStampeTutti(conn, nullptr));
    auto* professionisti = new Adattatore<TFProfessionisti>(std::make_unique<TFProfessionisti>(conn));
    finestre_.professionisti = dati(professionisti);
    finestre_.profesRic = semplice(new TFProfesRic(professionisti->w(), nullptr));
    finestre_.profesStaTutti = semplice(new print::TFProfesStaTutti(conn, nullptr));
    // After a reset or a restore the editors show no certificate that is gone: every window that
    // shows what the reset emptied reads again (the Quadro CT window shows the agent's data too).
    connect(importa, &TFImportaFile::datiEliminati, this, [this](importazione::Archivio quali) {
        const importazione::DatiAzzerati azzerati = importazione::DatiDellAzzeramento(quali);
        const QString motivo = quali == importazione::Archivio::Ente
                                   ? QStringLiteral("I dati generali dell'Ente sono stati eliminati")
                               : quali == importazione::Archivio::Dipendenti
                                   ? QStringLiteral("I dati dei dipendenti sono stati eliminati")
                                   : QStringLiteral("I dati dei professionisti sono stati eliminati");
        const std::pair<bool, FinestraDati*> finestre[] = {
            {azzerati.sostituto, finestre_.sostituto},
            {azzerati.dipendenti, finestre_.pagina1},
            {azzerati.sostituto || azzerati.quadroCt, finestre_.quadroCt},
            {azzerati.professionisti, finestre_.professionisti},
        };
        for (const auto& [tocca, finestra] : finestre)
            if (tocca) finestra->rileggiDopo(motivo);
        if (azzerati.sostituto) mostraArchivio();
    });
    connect(importa, &TFImportaFile::certificatiRinumerati, this, [this] {
        for (FinestraDati* d : {finestre_.pagina1, finestre_.professionisti})
            d->rileggiDopo(QStringLiteral("I certificati sono stati rinumerati"));
    });
    // Typing not yet saved is saved or dropped, as the operator says, before any of it is lost.
    importa->primaDiEliminare([this] { return menu_->salvaPrimaDiUscire(); });
    connect(importa, &TFImportaFile::archivioRipristinato, this, [this] {
        for (FinestraDati* d : {finestre_.sostituto, finestre_.quadroCt, finestre_.pagina1, finestre_.professionisti})
            d->rileggiDopo(QStringLiteral("L'archivio è stato ripristinato da una copia"));
        mostraArchivio();
    });
    auto* creaFileProfes = new TFCreaFileProfes(conn);
    finestre_.creaFileProfes = semplice(creaFileProfes);
    // A double-click in the check's list opens the certificate on the page of its box, or the
    // agent's screens; a problem of a file, the certificate of the archive its record names.
    // A supply records when each certificate was written and clears its correction mark; a
    // receipts import writes identifiers: the open editors' sending line follows.
    auto rileggiInvii = [this] {
        for (FinestraDati* d : {finestre_.pagina1, finestre_.professionisti}) d->rileggiInvio();
    };
    connect(importa, &TFImportaFile::ricevuteImportate, this, rileggiInvii);
    for (TFGenerazione* g : {static_cast<TFGenerazione*>(creaFile), static_cast<TFGenerazione*>(creaFileProfes)}) {
        connect(g, &TFGenerazione::fileScritto, this, rileggiInvii);
        TFControllo* elenco = &g->finestraControllo();
        connect(elenco, &TFControllo::apri, this, [this, elenco](const check::Problema& p) {
            check::Rimando r;
            if (!ui::esegui(elenco, [&] { r = check::RimandoNellArchivio(dm_->Conn, p); })) return;
            const QString colonna = QString::fromStdString(r.colonna);
            switch (r.origine) {
            case check::Origine::Sostituto: menu_->datiGenerali(); break;
            case check::Origine::QuadroCt: menu_->quadroCt(); break;
            case check::Origine::Dipendente: menu_->apriCertificato(finestre_.pagina1, r.id, colonna); break;
            case check::Origine::Professionista: menu_->apriCertificato(finestre_.professionisti, r.id, colonna); break;
            case check::Origine::File: ui::informa(elenco, QString::fromStdString(r.motivo)); break;
            }
        });
    }
}

void Avvio::configura() {
    if (configurato_) return;
    configurato_ = true;
    const QString motivo = apriConfigurato();
    attendere_->passo(10);
    attendere_->close();
    if (!motivo.isEmpty() && !scegliArchivio(motivo, true)) {
        // No archive to work on: the program ends, as it always did without its archive.
        terminato_ = true;
        menu_->close();
    }
    concludi();
    if (!terminato_) QTimer::singleShot(0, this, &Avvio::creaProssimaFinestra);
}

QString Avvio::apriConfigurato() {
    std::string cartellaDati;
    // On the first start there is no configuration file yet: the "Archivio" window says so, once.
    std::error_code assente;
    if (!std::filesystem::exists(storage::sistema::nativo(opzioni_.percorsoIni), assente) && !assente)
        return QStringLiteral("Non è configurato alcun archivio.");
    try {
        cartellaDati = storage::leggiCartellaDati(opzioni_.percorsoIni);
    } catch (const std::exception& e) {
        ui::errore(menu_.get(), ui::testoDaMessaggio(e.what()));
        return QStringLiteral("Non è configurato alcun archivio.");
    }
    const std::string percorsoDb = storage::percorsoDatabase(cartellaDati);
    nonAperto_ = percorsoDb;
    std::error_code ec;
    // A server address is no file: opening it says what is wrong with it.
    if (!storage::Connection::indirizzoServer(percorsoDb) &&
        !std::filesystem::exists(storage::sistema::nativo(percorsoDb), ec)) {
        ui::informa(menu_.get(), QString::fromStdString(storage::messaggioDatabaseMancante(percorsoDb)));
        return QStringLiteral("L'archivio configurato %1 non esiste.").arg(mostrato(percorsoDb));
    }
    try {
        dm_->configura(percorsoDb);
    } catch (const std::exception& e) {
        ui::errore(menu_.get(), ui::testoDaMessaggio(e.what()));
        return QStringLiteral("L'archivio configurato %1 non si può aprire.").arg(mostrato(percorsoDb));
    }
    nonAperto_.clear();
    // The recent list is a convenience: a folder that can't be written costs nothing else.
    try {
        storage::ricordaArchivio(opzioni_.percorsoIni, cartellaDati);
    } catch (const std::exception&) {
    }
    mostraArchivio();
    return {};
}

bool Avvio::scegliArchivio(const QString& motivo, bool avvio) {
    TFArchivio finestra(opzioni_.percorsoIni, menu_.get());
    finestra.prepara(motivo.isEmpty()
                         ? motivo
                         : motivo + QStringLiteral(" Scegliere l'archivio su cui lavorare: crearne uno nuovo, "
                                                   "aprirne uno esistente o sceglierlo fra quelli usati di recente."),
                     avvio, avvio ? nonAperto_ : std::string());
    if (finestra.exec() != QDialog::Accepted) return false;
    if (!ui::esegui(menu_.get(), [&] { dm_->configura(finestra.scelto()); })) return false;
    ui::esegui(menu_.get(), [&] { storage::scegliArchivio(opzioni_.percorsoIni, finestra.cartella()); });
    mostraArchivio();
    return true;
}

void Avvio::mostraArchivio() {
    std::string sostituto;
    try {
        sostituto = storage::nomeSostituto(dm_->Conn);
    } catch (const std::exception&) {
    }
    const std::string& percorso = dm_->Conn.percorso();
    // A server archive is named by its schema and server, a file by its folder.
    const QString dove = storage::Connection::indirizzoServer(percorso)
                             ? QString::fromStdString(storage::DescriviArchivio(percorso))
                             : QDir::toNativeSeparators(QFileInfo(QString::fromStdString(percorso)).absolutePath());
    menu_->mostraArchivio(QString::fromStdString(sostituto), dove);
}

void Avvio::cambiaArchivio() {
    if (!menu_->salvaPrimaDiUscire()) return;
    for (auto& w : finestreSemplici_) w->hide();
    for (auto& d : finestreDati_) d->finestra()->hide();
    const std::string prima = dm_->percorsoDb();
    TFArchivio finestra(opzioni_.percorsoIni, menu_.get());
    finestra.prepara(QString(), false);
    if (finestra.exec() != QDialog::Accepted) return;
    // The windows hold statements on the archive left: they go, and come back on the new one.
    distruggiFinestre();
    if (!ui::esegui(menu_.get(), [&] { dm_->configura(finestra.scelto()); }))
        ui::esegui(menu_.get(), [&] { dm_->configura(prima); });
    else
        ui::esegui(menu_.get(), [&] { storage::scegliArchivio(opzioni_.percorsoIni, finestra.cartella()); });
    creaFinestre();
    mostraArchivio();
}

void Avvio::distruggiFinestre() {
    finestre_ = Finestre{};
    finestreSemplici_.clear();
    finestreDati_.clear();
}

void Avvio::concludi() { emit configurazioneEseguita(); }
