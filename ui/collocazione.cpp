#include "ui/collocazione.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {

QRect postoFinestra(Posto posto, const QRect& menu, const QRect& area, QSize dimensione, QMargins bordi) {
    const QSize dentro = dimensione.boundedTo(area.size().shrunkBy(bordi));
    QRect fuori(QPoint(0, 0), dentro.grownBy(bordi));
    const int destraDelMenu = menu.isValid() ? menu.right() + 1 + 10 : area.left() + 10;
    if (posto == Posto::AccantoAlMenu) {
        fuori.moveTopLeft(QPoint(destraDelMenu, area.top() + 10));
    } else {
        fuori.moveCenter(area.center());
        if (menu.isValid() && fuori.intersects(menu)) fuori.moveLeft(destraDelMenu);
    }
    fuori.moveRight(std::min(fuori.right(), area.right()));
    fuori.moveBottom(std::min(fuori.bottom(), area.bottom()));
    fuori.moveLeft(std::max(fuori.left(), area.left()));
    fuori.moveTop(std::max(fuori.top(), area.top()));
    return fuori.marginsRemoved(bordi);
}

namespace {

QWidget* menuPrincipale() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TFmenu") && w->isVisible()) return w;
    return nullptr;
}

}  // namespace

void colloca(QWidget* finestra, Posto posto) {
    QWidget* menu = menuPrincipale();
    QScreen* schermo = menu ? menu->screen() : finestra->screen();
    if (!schermo) schermo = QGuiApplication::primaryScreen();
    if (!schermo) return;
    finestra->ensurePolished();
    // A window not shown yet has its final size hint only once its layout has been set up.
    if (!finestra->isVisible() && finestra->layout()) finestra->layout()->activate();
    // Before the first show the window manager's frame is not known: a usual title bar and border
    // (none where there is no window manager at all).
    const bool cornice = finestra->frameGeometry().size() != finestra->size();
    const QMargins solita =
        QGuiApplication::platformName() == QLatin1String("offscreen") ? QMargins() : QMargins(2, 30, 2, 2);
    const QRect dentro = finestra->geometry(), fuori = finestra->frameGeometry();
    const QMargins bordi = cornice ? QMargins(dentro.left() - fuori.left(), dentro.top() - fuori.top(),
                                              fuori.right() - dentro.right(), fuori.bottom() - dentro.bottom())
                                   : solita;
    const QSize dimensione = finestra->isVisible() || finestra->testAttribute(Qt::WA_Resized)
                                 ? finestra->size()
                                 : finestra->sizeHint().expandedTo(finestra->minimumSize());
    const QRect posto_ =
        postoFinestra(posto, menu ? menu->frameGeometry() : QRect(), schermo->availableGeometry(), dimensione, bordi);
    if (posto_.size() != finestra->size()) finestra->resize(posto_.size());
    // move() places the frame's corner, as frameGeometry() reads it.
    finestra->move(posto_.topLeft() - QPoint(bordi.left(), bordi.top()));
}

}  // namespace ui
