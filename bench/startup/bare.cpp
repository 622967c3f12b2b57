// The yardstick: a bare Qt window with a menu bar, a tool bar and a status bar.
#include "bench/startup/FirstPaint.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Plik"));
    window.addToolBar(QStringLiteral("Pasek"));
    window.statusBar();
    window.resize(455, 360);
    FirstPaint done(&window);
    window.show();
    return QApplication::exec();
}
