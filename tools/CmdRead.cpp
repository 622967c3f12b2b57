#include "tools/CmdRead.h"

#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"
#include "tools/PortArgument.h"

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "read", what);
}

} // namespace

int RunRead(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx read --port PORT -o PLIK\n"
                       "Odczytuje konfigurację z dialera i zapisuje ją do pliku PLIK.\n"
                       "Gdy odczyt się nie powiedzie, plik nie jest zapisywany; \"-o -\"\n"
                       "wypisuje plik na standardowe wyjście (komunikaty idą wtedy na\n"
                       "standardowe wyjście błędów).\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia (/dev/ttyUSB0)\n"
                       "  --log PLIK      dziennik transmisji (\"-\": standardowe wyjście błędów)\n"
                       "  -o, --output PLIK\n"
                       "Kod wyjścia: 0 sukces, 1 błąd wymiany, 2 złe argumenty, 3 błąd pliku,\n"
                       "4 błąd portu.\n";
        return ExitStatus::Success;
    }
    QString port;
    QString output;
    QString logTarget;
    if (!TakeLogOption(args, logTarget) ||
        !TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port) ||
        !TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument %1").arg(Quoted(args.first())));
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return Usage(context.err, problem);
    if (output.isEmpty())
        return Usage(context.err, QStringLiteral("podaj plik wynikowy: -o PLIK"));
    // A target the save would refuse is found out before the first frame, not after
    // the whole exchange.
    if (const int status = CheckConfigOutput(context, "read", output))
        return status;

    if (!OpenLogOption(context, logTarget, {output}))
        return ExitStatus::FileError;
    // With the file on standard output, the link's own lines go to standard error.
    CommandDocument document(context, IsStandardOutput(output) ? &context.err : nullptr);
    const int status =
        document.Exchange(port, context.log.get(), [](ConfigDocument& read) { read.Read(); });
    if (status != ExitStatus::Success)
        return status;
    return document.Save(output);
}
