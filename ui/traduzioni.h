#pragma once

class QCoreApplication;

namespace ui {

// Qt's own Italian catalogue (buttons of the questions, file, print and preview dialogs) and the
// Italian locale, with the few texts that catalogue lacks. False when no catalogue was found: most
// of Qt's texts then stay in English.
bool installaItaliano(QCoreApplication& app);

}  // namespace ui
