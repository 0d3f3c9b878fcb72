#pragma once

class QComboBox;
class QEvent;
class QObject;

namespace ui {

// The wheel over a closed drop-down scrolls the page around it: a value changes only when the
// operator opens the list or types. True when the event was such a wheel, now dealt with.
bool rotellaSullaTendina(QObject* oggetto, QEvent* evento);

// Puts that rule on a drop-down (and lets it take the focus by Tab and click).
void tendinaSenzaRotella(QComboBox* tendina);

}  // namespace ui
