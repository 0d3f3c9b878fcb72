#include "entry/agente/comandi.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "ui/icone.h"

namespace agente {


QToolBar* barraComandi(QWidget* finestra, const std::function<void()>& salva,
                       const std::function<void()>& stampa, const std::function<void()>& chiudi) {
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
    QStyle* s = finestra->style();
    aggiungi(s->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Salva"), "Salva", salva);
    aggiungi(ui::iconaStampa(), QStringLiteral("Stampa"), "Stampa", stampa);
    aggiungi(ui::iconaChiudi(), QStringLiteral("Chiudi"), "Chiudi", chiudi);
    return barra;
}

}  // namespace agente
