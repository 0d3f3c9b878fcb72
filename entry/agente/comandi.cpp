#include "entry/agente/comandi.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include "ui/icone.h"
#include "ui/testi.h"

namespace agente {

QToolBar* barraComandi(QWidget* finestra, const std::function<void()>& salva, const std::function<void()>& stampa,
                       const std::function<void()>& chiudi) {
    auto* barra = new QToolBar(finestra);
    barra->setObjectName(QStringLiteral("barraComandi"));
    barra->setIconSize(QSize(28, 28));
    barra->setMovable(false);
    auto aggiungi = [&](const QIcon& icona, const QString& testo, const char* nome,
                        const std::function<void()>& azione) {
        QAction* a = barra->addAction(icona, testo);
        a->setToolTip(testo);
        a->setObjectName(QLatin1String(nome));
        QObject::connect(a, &QAction::triggered, finestra, azione);
        if (auto* b = barra->widgetForAction(a)) b->setObjectName(QLatin1String(nome) + QStringLiteral("Bottone"));
    };
    aggiungi(ui::icona(ui::Icona::Salva), ui::testi::kSalva, "Salva", salva);
    aggiungi(ui::icona(ui::Icona::Stampa), ui::testi::kStampa, "Stampa", stampa);
    aggiungi(ui::icona(ui::Icona::Chiudi), ui::testi::kChiudi, "Chiudi", chiudi);
    return barra;
}

}  // namespace agente
