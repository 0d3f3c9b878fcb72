#include "ui/icone.h"

#include <QToolButton>
#include <iterator>

#include "ui/testi.h"

namespace ui {

namespace {
// In the order of Icona: the files of ui/icone/ without ".svg".
const char* const kFile[] = {"salva", "aggiungi",   "modifica",   "annulla", "cancella", "stampa", "anteprima",
                             "primo", "precedente", "successivo", "ultimo",  "chiudi",   "copia",  "controlla"};
static_assert(std::size(kFile) == static_cast<std::size_t>(Icona::Controlla) + 1);

// The sizes scripts/icone-png.sh renders: QIcon picks the nearest for each button.
const int kLati[] = {14, 24, 28, 48, 56};
}  // namespace

QIcon icona(Icona i) {
    QIcon ic;
    for (int lato : kLati)
        ic.addFile(QStringLiteral(":/icone/png/%1-%2.png").arg(QLatin1String(kFile[static_cast<int>(i)])).arg(lato),
                   QSize(lato, lato));
    return ic;
}

QToolButton* bottoneChiudi(QWidget* finestra, const char* nome) {
    auto* b = new QToolButton(finestra);
    b->setObjectName(QLatin1String(nome));
    b->setToolTip(testi::kChiudi);
    b->setIcon(icona(Icona::Chiudi));
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    QObject::connect(b, &QToolButton::clicked, finestra, &QWidget::close);
    return b;
}

}  // namespace ui
