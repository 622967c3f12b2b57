#include "app/EmulatorMode.h"
#include "app/UnitMainForm.h"
#include "serial/CPort.h"
#include "widgets/ErrorGuard.h"
#include "widgets/GuardedApplication.h"
#include "widgets/ProgramSettings.h"
#include "widgets/QtTranslations.h"

#include <memory>

int main(int argc, char* argv[])
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvex"));
    InstallQtTranslations(app);
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);

    std::unique_ptr<EmulatorMode> emulator;
    if (QApplication::arguments().contains(QStringLiteral("--emulator")))
        ErrorGuard::RunGuarded([&] { emulator = std::make_unique<EmulatorMode>(); });

    TMainFormZORVEX window;
    // A configuration file named on the command line (a file manager opening it).
    for (const QString& argument : QApplication::arguments().mid(1))
        if (!argument.startsWith(QLatin1Char('-')))
            window.StartupFile = argument;
    window.show();
    const int status = QApplication::exec();
    return status;
}
