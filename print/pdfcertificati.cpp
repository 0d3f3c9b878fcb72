#include "print/pdfcertificati.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

#include "storage/error.h"

namespace print {

EsitoPdf SalvaPdf(const Lavoro& lavoro, const QString& percorso) {
    const QString nativo = QDir::toNativeSeparators(percorso);
    if (percorso.isEmpty()) throw storage::Error("Indicare il file PDF da scrivere.");
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly))
        throw storage::Error(("Impossibile scrivere il file " + nativo + ": " + file.errorString()).toStdString());
    EsitoPdf esito;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(kTitoloLavoro);
        pdf.setCreator(QStringLiteral("Palio 2015"));
        pdf.setResolution(1200);
        ImpostaPagina(pdf);
        Pittore pittore(pdf);
        if (!pittore.inizia()) throw storage::Error(("Impossibile scrivere il file " + nativo).toStdString());
        esito.completo = lavoro(pittore);
        esito.fogli = pittore.fogli();
        pittore.fine();
    }
    if (!file.commit())
        throw storage::Error(("Impossibile scrivere il file " + nativo + ": " + file.errorString()).toStdString());
    return esito;
}

Lavoro LavoroSelezione(storage::Connection& conn, Famiglia famiglia, std::vector<std::int64_t> ids, Variante variante,
                       storage::Reporter* reporter) {
    return famiglia == Famiglia::Dipendenti ? LavoroCertificati(conn, std::move(ids), variante, reporter)
                                            : LavoroProfessionisti(conn, std::move(ids), variante, reporter);
}

EsitoPdf PdfCertificati(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                        Variante variante, const QString& percorso, storage::Reporter* reporter) {
    return SalvaPdf(LavoroSelezione(conn, famiglia, ids, variante, reporter), percorso);
}

QString NomeFilePdf(const std::string& codiceFiscale, const std::string& cognome, std::int64_t id) {
    auto pulito = [](const std::string& s) {
        QString t = QString::fromStdString(s).trimmed().toUpper();
        QString r;
        for (QChar c : t) {
            if (c.isLetterOrNumber() || c == '-')
                r += c;
            else if (!r.endsWith('_'))
                r += '_';
        }
        while (r.endsWith('_')) r.chop(1);
        while (r.startsWith('_')) r.remove(0, 1);
        return r;
    };
    QStringList parti;
    for (const QString& p : {pulito(codiceFiscale), pulito(cognome)})
        if (!p.isEmpty()) parti << p;
    parti << QString::number(id);
    return parti.join('_') + QStringLiteral(".pdf");
}

EsitoCartella PdfPerCertificato(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                                Variante variante, const QString& cartella, storage::Reporter* reporter) {
    if (cartella.trimmed().isEmpty()) throw storage::Error(kIndicareCartella);
    QDir dir(cartella);
    if (!dir.mkpath(QStringLiteral(".")))
        throw storage::Error("Impossibile creare la cartella " + QDir::toNativeSeparators(cartella).toStdString());
    EsitoCartella esito;
    storage::LettoreCertificati lettore(conn);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (reporter && !reporter->progress(i, ids.size())) {
            esito.completo = false;
            return esito;
        }
        Lavoro lavoro;
        QString nome;
        if (famiglia == Famiglia::Dipendenti) {
            auto dati = lettore.certificato(ids[i]);
            if (!dati) continue;
            nome = NomeFilePdf(dati->zefo1.text("B01"), dati->zefo1.text("B02"), ids[i]);
            lavoro = LavoroCertificato(std::move(*dati), variante);
        } else {
            auto riga = lettore.professionista(ids[i]);
            if (!riga) continue;
            nome = NomeFilePdf(riga->text("B01"), riga->text("B02"), ids[i]);
            lavoro = LavoroProfessionista(std::move(*riga), variante);
        }
        const QString percorso = dir.filePath(nome);
        SalvaPdf(lavoro, percorso);
        esito.file.push_back(percorso);
    }
    if (reporter) reporter->progress(ids.size(), ids.size());
    return esito;
}

}  // namespace print
