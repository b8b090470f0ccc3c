// The yardstick for the desktop program's start-up: a minimal Qt Widgets
// program that shows a main window and ends once it is shown.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    // Japanese text, as every window of the program shows: the yardstick pays
    // for loading a CJK font too.
    window.setCentralWidget(new QLabel(QStringLiteral("Fenwir Lite 交通費精算書"), &window));
    window.resize(900, 560);
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
