#include "tools/CmdNew.h"

#include "model/TZorvexSettings.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"

int RunNew(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx new -o PLIK\n"
                       "Zapisuje konfigurację fabryczną dialera do pliku PLIK (1024 bajty);\n"
                       "\"-o -\" wypisuje plik na standardowe wyjście.\n"
                       "Kod wyjścia: 0 sukces, 2 złe argumenty, 3 błąd pliku.\n";
        return ExitStatus::Success;
    }
    QString output;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output) ||
        output.isEmpty() || !args.isEmpty()) {
        context.err << "zvx new: podaj plik wynikowy: zvx new -o PLIK\n";
        return ExitStatus::Usage;
    }
    if (const int status = CheckConfigOutput(context, "new", output))
        return status;
    TZorvexSettings settings;
    settings.LoadDefaults();
    return SaveConfigOutput(context, settings, output);
}
