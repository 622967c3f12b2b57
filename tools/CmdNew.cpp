#include "tools/CmdNew.h"

#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/JsonDocArg.h"

int RunNew(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out
            << "Użycie: zvx new [--from DOKUMENT.json] -o PLIK\n"
               "Zapisuje konfigurację fabryczną dialera do pliku PLIK (1024 bajty);\n"
               "\"-o -\" wypisuje plik na standardowe wyjście.\n"
               "  --from DOKUMENT  ustawia w niej pola z dokumentu JSON, jak \"zvx apply\"\n"
               "Kod wyjścia: 0 sukces, 2 złe argumenty lub nieznany klucz, 3 błąd pliku,\n"
               "5 nieprawidłowa wartość.\n";
        return ExitStatus::Success;
    }
    QString output;
    QString from;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output) ||
        !TakeOption(args, {QStringLiteral("--from")}, from) || output.isEmpty() ||
        !args.isEmpty()) {
        context.err << "zvx new: podaj plik wynikowy: zvx new [--from DOKUMENT.json] -o PLIK\n";
        return ExitStatus::Usage;
    }
    if (const int status = CheckConfigOutput(context, "new", output))
        return status;
    CommandDocument document(context);
    document.Document().LoadDefaults();
    if (!from.isEmpty())
        if (const int status = ApplyJsonDocArg(context, "new", from, document.Settings()))
            return status;
    return document.Save(output);
}
