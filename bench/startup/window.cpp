// The program's own start-up, as its main() does it, up to the main window on the screen.
#include "app/UnitMainForm.h"
#include "bench/startup/FirstPaint.h"
#include "serial/CPort.h"
#include "widgets/GuardedApplication.h"
#include "settings/ProgramSettings.h"

int main(int argc, char* argv[])
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvex"));
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {}; // the about box waits for the user; not start-up work
    FirstPaint done(&window);
    window.show();
    return QApplication::exec();
}
