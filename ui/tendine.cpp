#include "ui/tendine.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace ui {

namespace {

class FiltroRotella : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        return rotellaSullaTendina(oggetto, evento) || QObject::eventFilter(oggetto, evento);
    }
};

}  // namespace

bool rotellaSullaTendina(QObject* oggetto, QEvent* evento) {
    if (evento->type() != QEvent::Wheel) return false;
    auto* c = qobject_cast<QComboBox*>(oggetto);
    if (!c) return false;
    for (QWidget* w = c->parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            QCoreApplication::sendEvent(area->verticalScrollBar(), evento);
            break;
        }
    return true;
}

void tendinaSenzaRotella(QComboBox* tendina) {
    static auto* filtro = new FiltroRotella(QCoreApplication::instance());
    tendina->setFocusPolicy(Qt::StrongFocus);
    tendina->installEventFilter(filtro);
}

}  // namespace ui
