#include <QApplication>
#include <QTest>

#include "tests/gui/entry/suite.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int esito = 0;
    esito |= eseguiEditorTest(argc, argv);
    esito |= eseguiProfessionistiTest(argc, argv);
    esito |= eseguiRicercaTest(argc, argv);
    esito |= eseguiAspettoTest(argc, argv);
    esito |= eseguiControlliTest(argc, argv);
    esito |= eseguiCasellaTest(argc, argv);
    esito |= eseguiInvioTest(argc, argv);
    return esito;
}
