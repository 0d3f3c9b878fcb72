#include "ui/icone.h"

#include <QToolButton>
#include <iterator>

#include "ui/testi.h"

namespace ui {

namespace {
// In the order of Icona: the files of ui/icone/ without ".svg".
const char* const kFile[] = {"salva",  "aggiungi", "modifica",   "annulla",    "cancella",
                             "stampa", "anteprima", "primo",     "precedente", "successivo",
                             "ultimo", "chiudi",    "copia",     "controlla"};
static_assert(std::size(kFile) == static_cast<std::size_t>(Icona::Controlla) + 1);
}  // namespace

QIcon icona(Icona i) {
    return QIcon(QStringLiteral(":/icone/%1.svg").arg(QLatin1String(kFile[static_cast<int>(i)])));
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
