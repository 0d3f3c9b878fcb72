#include "print/ui/stampabatch.h"

#include <QDir>
#include <optional>

#include "storage/error.h"
#include "storage/reporter.h"
#include "ui/dialoghi.h"
#include "ui/reporterfinestra.h"
#include "ui/testi.h"

namespace print {

namespace {

EsitoBatch pdfPerCertificato(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                             const QString& cartella, QWidget* parent) {
    ui::ReporterFinestra reporter(parent, QStringLiteral("Creazione dei PDF in corso..."));
    const auto esito = PdfPerCertificato(conn, famiglia, ids, Variante::Batch, cartella, &reporter);
    const QString dove = QDir::toNativeSeparators(cartella);
    if (!esito.completo) {
        ui::informa(parent, kStampaInterrotta + QStringLiteral("\nCreati %1 file PDF nella cartella %2.")
                                                    .arg(ui::testi::conteggio(esito.file.size()))
                                                    .arg(dove));
        return EsitoBatch::Interrotto;
    }
    ui::informa(
        parent,
        QStringLiteral("Creati %1 file PDF nella cartella %2.").arg(ui::testi::conteggio(esito.file.size()), dove));
    return EsitoBatch::Eseguito;
}

// One job per certificate, as each certificate is its own print or preview.
EsitoBatch unoPerUno(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids, bool anteprima,
                     const QString& cartellaPdf, Uscita& uscita, QWidget* parent) {
    // Previews follow one another, each waiting for the operator: a progress box would stand
    // over them and block them, so it goes with printing only.
    std::optional<ui::ReporterFinestra> reporter;
    if (!anteprima) reporter.emplace(parent, QStringLiteral("Stampa in corso..."));
    const QString totale = QString::fromStdString(storage::Conteggio(ids.size()));
    // One window per certificate, each waiting for the operator: a wide range is asked first.
    if (anteprima && ids.size() > 1 &&
        !ui::chiedi(parent, QStringLiteral("Mostrare l'anteprima di %1 certificati?").arg(totale)))
        return EsitoBatch::Interrotto;
    storage::LettoreCertificati lettore(conn);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (reporter && !reporter->progress(i, ids.size())) {
            ui::informa(parent, kStampaInterrotta);
            return EsitoBatch::Interrotto;
        }
        Lavoro lavoro;
        QString persona, pdf;
        auto nome = [](const storage::Row& r) {
            return QString::fromStdString(r.text("B02") + " " + r.text("B03")).trimmed();
        };
        if (famiglia == Famiglia::Dipendenti) {
            auto dati = lettore.certificato(ids[i]);
            if (!dati) continue;
            persona = nome(dati->zefo1);
            pdf = NomeFilePdf(dati->zefo1.text("B01"), dati->zefo1.text("B02"), ids[i]);
            lavoro = LavoroCertificato(std::move(*dati), Variante::Batch);
        } else {
            auto riga = lettore.professionista(ids[i]);
            if (!riga) continue;
            persona = nome(*riga);
            pdf = NomeFilePdf(riga->text("B01"), riga->text("B02"), ids[i]);
            lavoro = LavoroProfessionista(std::move(*riga), Variante::Batch);
        }
        if (anteprima) {
            InfoAnteprima info;
            info.titolo = QStringLiteral("%1 di %2").arg(QString::fromStdString(storage::Conteggio(i + 1)), totale);
            if (!persona.isEmpty()) info.titolo += QStringLiteral(" - ") + persona;
            info.interrompibile = i + 1 < ids.size();
            info.pdf = PdfProposto(conn, pdf, cartellaPdf);
            if (!uscita.anteprima(lavoro, parent, info)) return EsitoBatch::Interrotto;
        } else if (!uscita.stampa(lavoro, parent))
            return EsitoBatch::Fallito;
    }
    if (reporter) reporter->progress(ids.size(), ids.size());
    return EsitoBatch::Eseguito;
}

}  // namespace

EsitoBatch StampaBatch(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                       const OpzioniBatch& opzioni, Uscita& uscita, QWidget* parent) {
    try {
        if (opzioni.pdfPerCertificato) return pdfPerCertificato(conn, famiglia, ids, opzioni.cartella, parent);
        if (opzioni.anteprima || uscita.stampantePresente())
            return unoPerUno(conn, famiglia, ids, opzioni.anteprima, opzioni.cartella, uscita, parent);

        // No printer: the whole batch may go to one PDF instead.
        ui::errore(parent, kNessunaStampante);
        if (!ui::chiedi(parent, kOffertaPdf)) return EsitoBatch::Fallito;
        const QString file =
            uscita.chiediFilePdf(parent, PdfProposto(conn, QStringLiteral("Zf2015.pdf"), opzioni.cartella));
        if (file.isEmpty()) return EsitoBatch::Fallito;
        ui::ReporterFinestra reporter(parent, QStringLiteral("Stampa in corso..."));
        const auto esito = PdfCertificati(conn, famiglia, ids, Variante::Batch, file, &reporter);
        if (esito.completo) return EsitoBatch::Eseguito;
        ui::informa(parent, kStampaInterrotta);
        return EsitoBatch::Interrotto;
    } catch (const storage::Error& e) {
        ui::errore(parent, ui::testoDaMessaggio(e.what()));
        return EsitoBatch::Fallito;
    }
}

}  // namespace print
