#include "app/EmulatorMode.h"
#include "app/UnitMainForm.h"
#include "device/FileNames.h"
#include "serial/CPort.h"
#include "widgets/ErrorGuard.h"
#include "widgets/GuardedApplication.h"
#include "widgets/ProgramSettings.h"

#include <memory>

int main(int argc, char* argv[])
{
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvex"));
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);

    std::unique_ptr<EmulatorMode> emulator;
    if (QApplication::arguments().contains(QStringLiteral("--emulator")))
        ErrorGuard::RunGuarded([&] { emulator = std::make_unique<EmulatorMode>(); });

    TMainFormZORVEX window;
    // A configuration file named on the command line (a file manager opening it), from
    // argv's own bytes: arguments() would turn a name that is not UTF-8 into another.
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            window.StartupFile = FileNameFromBytes(argv[i]);
    window.show();
    const int status = QApplication::exec();
    return status;
}
