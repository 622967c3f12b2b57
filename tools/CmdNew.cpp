#include "tools/CmdNew.h"

#include "device/ConfigFileIO.h"
#include "device/MessageFormat.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"
#include "tools/ExitStatus.h"

#include <cstring>

int RunNew(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx new -o PLIK\n"
                       "Zapisuje konfigurację fabryczną dialera do pliku PLIK (1024 bajty).\n";
        return ExitStatus::Success;
    }
    QString output;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output) ||
        output.isEmpty() || !args.isEmpty()) {
        context.err << "zvx new: podaj plik wynikowy: zvx new -o PLIK\n";
        return ExitStatus::Usage;
    }
    TZorvexSettings settings;
    settings.LoadDefaults();
    if (const int status = ConfigFile::Save(settings, output.toStdString())) {
        context.err << QString::fromUtf8(ConstsZVX::FileSaveError) << ": " << output << " ("
                    << QString::fromLocal8Bit(std::strerror(status)) << ")\n";
        return ExitStatus::FileError;
    }
    context.out << FormatMessage(ConstsZVX::FileSaved, {output}) << "\n";
    return ExitStatus::Success;
}
