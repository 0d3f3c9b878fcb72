#include "forms/caratteri.h"

#include <QFont>
#include <QStringList>

namespace forms {

void sostituisciCaratteriMancanti() {
    // Qt reads a substitute only when the named family is not found, so Windows' own fonts come
    // first: they are what Windows itself maps the dialog font to. Then DejaVu Sans, which draws
    // every letter at the dialog font's 11 pixels under Wine (Liberation Sans loses I and l there).
    const QStringList dialogo = {
        QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),          QStringLiteral("Segoe UI"),
        QStringLiteral("DejaVu Sans"),          QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"), dialogo);
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg 2"), dialogo);
    // The pages and prints are laid out on Arial's widths: its metric twins first.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                                         QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
}

}  // namespace forms
