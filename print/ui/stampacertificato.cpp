#include "print/ui/stampacertificato.h"

#include "print/certificato.h"
#include "print/pdfcertificati.h"
#include "print/selezione.h"
#include "print/ui/stampasostituto.h"
#include "storage/error.h"
#include "ui/dialoghi.h"

namespace print {

namespace {

const QString kNessunCertificato = QStringLiteral("Nessun certificato da stampare.");

QString nonTrovato(std::int64_t id) { return QStringLiteral("Certificato %1 non trovato.").arg(id); }

}  // namespace

void StampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent) {
    StampaCertificato(conn, id, anteprima, parent, UscitaPredefinita());
}

void StampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent, Uscita& uscita) {
    // A new row not yet saved has no number: there is nothing stored to print.
    if (id <= 0) return ui::informa(parent, kNessunCertificato);
    try {
        storage::LettoreCertificati lettore(conn);
        auto dati = lettore.certificato(id);
        if (!dati) return ui::errore(parent, nonTrovato(id));
        // The dialogs propose the archive's PDF folder, not wherever the program was started.
        InfoAnteprima info;
        info.pdf = PdfProposto(conn, NomeFilePdf(dati->zefo1.text("B01"), dati->zefo1.text("B02"), id));
        const QString& proposto = info.pdf;
        const Lavoro lavoro = LavoroCertificato(std::move(*dati), Variante::Editor);
        if (anteprima)
            uscita.anteprima(lavoro, parent, info);
        else if (StampaOppurePdf(uscita, lavoro, parent, proposto))
            ui::informa(parent, QString::fromUtf8(kOperazioneEseguita));
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
    }
}

void StampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent) {
    StampaProfessionista(conn, id, anteprima, parent, UscitaPredefinita());
}

void StampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent, Uscita& uscita) {
    if (id <= 0) return ui::informa(parent, kNessunCertificato);
    try {
        storage::LettoreCertificati lettore(conn);
        auto riga = lettore.professionista(id);
        if (!riga) return ui::errore(parent, nonTrovato(id));
        InfoAnteprima info;
        info.pdf = PdfProposto(conn, NomeFilePdf(riga->text("B01"), riga->text("B02"), id));
        const QString& proposto = info.pdf;
        const Lavoro lavoro = LavoroProfessionista(std::move(*riga), Variante::Editor);
        if (anteprima)
            uscita.anteprima(lavoro, parent, info);
        else
            StampaOppurePdf(uscita, lavoro, parent, proposto);
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
    }
}

void StampaSostituto(storage::Connection& conn, QWidget* parent) { StampaSostituto(conn, parent, UscitaPredefinita()); }

void StampaSostituto(storage::Connection& conn, QWidget* parent, Uscita& uscita) {
    try {
        InfoAnteprima info;
        info.pdf = PdfProposto(conn, QStringLiteral("DatiGenerali.pdf"));
        uscita.anteprima(LavoroSostituto(conn), parent, info);
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
    }
}

void StampaQuadroCT(storage::Connection& conn, QWidget* parent) { StampaQuadroCT(conn, parent, UscitaPredefinita()); }

void StampaQuadroCT(storage::Connection& conn, QWidget* parent, Uscita& uscita) {
    try {
        InfoAnteprima info;
        info.pdf = PdfProposto(conn, QStringLiteral("QuadroCT.pdf"));
        uscita.anteprima(LavoroQuadroCT(conn), parent, info);
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
    }
}

}  // namespace print
