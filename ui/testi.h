#pragma once

// The texts that more than one window shows: questions, messages and the words of the buttons
// the windows share.

#include <QString>

namespace ui::testi {

// Asked before closing or printing a window whose rows hold changes, and before the program ends.
inline const QString kDomandaSalva =
    QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?");
// The certificate editors: a command that needs a stored certificate, and the delete question.
inline const QString kNessunCertificato = QStringLiteral("Nessun certificato selezionato.");
inline const QString kDomandaCancellazione =
    QStringLiteral("Attenzione: Confermi la cancellazione del seguente dipendente?");

// The words of the shared image buttons (their tooltips).
inline const QString kSalva = QStringLiteral("Salva");
inline const QString kStampa = QStringLiteral("Stampa");
inline const QString kChiudi = QStringLiteral("Chiudi");

}  // namespace ui::testi
