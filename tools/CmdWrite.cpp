#include "tools/CmdWrite.h"

#include "device/FileNames.h"
#include "model/Cp1250.h"
#include "tools/CommandDocument.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"
#include "tools/PortArgument.h"

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "write", what);
}

} // namespace

int RunWrite(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx write --port PORT PLIK\n"
                       "Wczytuje konfigurację z pliku PLIK (wypisuje jej opis) i zapisuje ją\n"
                       "do dialera.\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia (/dev/ttyUSB0)\n"
                       "  --log PLIK      dziennik transmisji (\"-\": standardowe wyjście błędów)\n"
                       "Kod wyjścia: 0 sukces, 1 błąd wymiany, 2 złe argumenty, 3 błąd pliku,\n"
                       "4 błąd portu.\n";
        return ExitStatus::Success;
    }
    QString logTarget;
    if (!TakeLogOption(args, logTarget))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    QString port;
    QString file;
    if (const QString problem = TakePortAndFile(args, port, file); !problem.isEmpty())
        return Usage(context.err, problem);

    if (!OpenLogOption(context, logTarget, {file}))
        return ExitStatus::FileError;
    // The file is opened before the line: a wrong file needs no dialer.
    CommandDocument document(context);
    if (const int status = document.Open(file))
        return status;
    // Its description, as the window's question before a load shows it: one line, also
    // when the record holds a line break.
    context.out << PrintableText(
                       QString::fromStdString(Cp1250ToUtf8(document.Settings().Comment.GetText(0))))
                << '\n';
    context.out.flush(); // before the exchange, not with its outcome
    return document.Exchange(port, context.log.get(), [](ConfigDocument& write) { write.Write(); });
}
