// Program entry of the desktop program.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow menu;
    menu.setWindowTitle(QStringLiteral("Palio 2015"));
    menu.setCentralWidget(new QLabel(QStringLiteral("Palio 2015")));
    menu.move(0, 0);
    menu.show();
    return app.exec();
}
