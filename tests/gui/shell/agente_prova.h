#pragma once

// What the tests of the agent's and Quadro CT windows share: the save question and typing into
// a box of the page as the operator types.

#include <QLineEdit>
#include <QTest>

#include "forms/vistapagina.h"

inline const QString kDomanda = QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?");

inline void scrivi(forms::VistaPagina& p, const char* tabella, const char* colonna, const char* testo) {
    auto* e = qobject_cast<QLineEdit*>(p.box(QLatin1String(tabella), QLatin1String(colonna)));
    QVERIFY2(e, colonna);
    e->selectAll();
    QTest::keyClicks(e, QLatin1String(testo));
}
