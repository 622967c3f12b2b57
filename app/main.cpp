#include "app/UnitMainForm.h"
#include "app/WindowCheck.h"
#include "app/archive/ArchiveListModel.h"
#include "app/help/HelpFiles.h"
#include "app/ports/EmulatorMode.h"
#include "device/FileSystemNames.h"
#include "resources/ConstsZVX.h"
#include "resources/Version.h"
#include "serial/CPort.h"
#include "settings/ProgramLocale.h"
#include "settings/ProgramSettings.h"
#include "widgets/ErrorGuard.h"
#include "widgets/GuardedApplication.h"
#include "widgets/HelpKey.h"
#include "widgets/QtTranslations.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
// "--version" and "--help" are answered before the application object exists, so that
// they work without a display (a package check, a terminal over ssh).
bool AnsweredOnTerminal(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zorvex (%s) %s\n", ConstsZVX::ProgramCaption, ProgramVersion::Number);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Użycie: zorvex [--emulator] [PLIK.zvx]\n"
                        "%s: okno programu dla dialera Zorvex ZVX-A.\n"
                        "  --emulator   z emulowanym dialerem zamiast portu szeregowego\n"
                        "  --version    wypisuje wersję programu\n"
                        "  --help       wypisuje ten opis\n"
                        "Bez okna: zvx --help. Więcej: man zorvex.\n",
                        ConstsZVX::ProgramCaption);
            return true;
        }
    }
    return false;
}
} // namespace

int main(int argc, char* argv[])
{
    if (AnsweredOnTerminal(argc, argv))
        return 0;
    ProgramLocale::Install(); // before anything reads a locale
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvex"));
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);

    std::unique_ptr<EmulatorMode> emulator;
    if (QApplication::arguments().contains(QStringLiteral("--emulator")))
        ErrorGuard::RunGuarded([&] { emulator = std::make_unique<EmulatorMode>(); });

    // F1 in a dialog shows the dialog's page of the manual.
    HelpKey::InstallOpener(HelpFiles::Open);
    // The archive window's searches run beside it, never in its way.
    ArchiveListModel::ReadOffThread = true;
    TMainFormZORVEX window;
    // Qt's own texts first show in a dialog or a menu the user opens: the translations
    // are read once the window is on the screen.
    window.AfterFirstPaint = [&app] { InstallQtTranslations(app); };
    // A configuration file named on the command line (a file manager opening it).
    for (const QString& argument : ArgumentNames(argc, argv))
        if (!argument.startsWith(u'-'))
            window.StartupFile = argument;
    StartWindowCheck(window);
    window.show();
    const int status = QApplication::exec();
    return status;
}
