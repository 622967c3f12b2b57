// The program's own start-up, as its main() does it, up to the main window on the screen.
#include "app/UnitMainForm.h"
#include "app/archive/ArchiveListModel.h"
#include "app/help/HelpFiles.h"
#include "bench/startup/FirstPaint.h"
#include "serial/CPort.h"
#include "settings/ProgramLocale.h"
#include "settings/ProgramSettings.h"
#include "widgets/GuardedApplication.h"
#include "widgets/HelpKey.h"
#include "widgets/QtTranslations.h"

int main(int argc, char* argv[])
{
    ProgramLocale::Install();
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvex"));
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);
    HelpKey::InstallOpener(HelpFiles::Open);
    ArchiveListModel::ReadOffThread = true;
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {}; // the about box waits for the user; not start-up work
    window.AfterFirstPaint = [&app] { InstallQtTranslations(app); };
    FirstPaint done(&window);
    window.show();
    return QApplication::exec();
}
