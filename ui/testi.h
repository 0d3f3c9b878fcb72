#pragma once

// The texts that more than one window shows: questions, messages and the words of the buttons
// the windows share.

#include <QString>
#include <cstdint>

#include "storage/reporter.h"

namespace ui::testi {

// Asked before closing or printing a window whose rows hold changes, and before the program ends.
inline const QString kDomandaSalva = QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?");
// Before leaving the program or the archive: the question names the window that holds the typing.
inline QString domandaSalvaFinestra(QString finestra) {
    finestra.remove(QStringLiteral("[*]"));
    while (finestra.endsWith(QLatin1Char('*')) || finestra.endsWith(QLatin1Char('.')) ||
           finestra.endsWith(QLatin1Char(' ')))
        finestra.chop(1);
    return QStringLiteral("Attenzione: Hai effettuato delle modifiche nella finestra «%1». Vuoi salvarle ?")
        .arg(finestra.trimmed());
}
// The certificate editors: a command that needs a stored certificate, and the delete question.
inline const QString kNessunCertificato = QStringLiteral("Nessun certificato selezionato.");
inline const QString kDomandaCancellazione =
    QStringLiteral("Attenzione: Confermi la cancellazione del seguente dipendente?");
inline const QString kDomandaCancellazioneProfessionista =
    QStringLiteral("Attenzione: Confermi la cancellazione del seguente professionista?");
// The person the delete question is about, on the line under it: "ROSSI MARIO (RSSMRA…) n. 12";
// the parts the row does not have are left out.
inline QString persona(const QString& cognome, const QString& nome, const QString& codiceFiscale, qint64 id) {
    QString r = (cognome.trimmed() + QLatin1Char(' ') + nome.trimmed()).trimmed();
    if (!codiceFiscale.trimmed().isEmpty()) r += QStringLiteral(" (%1)").arg(codiceFiscale.trimmed());
    if (id > 0) r += QStringLiteral(" n. %1").arg(id);
    return r.trimmed();
}

// A count as the messages write it, with the thousands separator: "20.000".
inline QString conteggio(std::uint64_t n) { return QString::fromStdString(storage::Conteggio(n)); }

// The words of the shared image buttons (their tooltips).
inline const QString kSalva = QStringLiteral("Salva");
inline const QString kStampa = QStringLiteral("Stampa");
inline const QString kChiudi = QStringLiteral("Chiudi");

}  // namespace ui::testi
