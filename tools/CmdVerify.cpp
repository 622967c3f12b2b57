#include "tools/CmdVerify.h"

#include "device/FileNames.h"
#include "report/ConfigDiff.h"
#include "resources/ConstsZVX.h"
#include "tools/CommandDocument.h"
#include "tools/DiffLines.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"
#include "tools/PortArgument.h"

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "verify", what);
}

} // namespace

int RunVerify(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx verify --port PORT PLIK\n"
                       "Odczytuje konfigurację z dialera i porównuje ją z plikiem PLIK, pole po\n"
                       "polu (bez opisu konfiguracji, którego dialer nie przechowuje). Plik nie\n"
                       "jest zmieniany.\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia (/dev/ttyUSB0)\n"
                       "  --log PLIK      dziennik transmisji (\"-\": standardowe wyjście błędów)\n"
                       "Kod wyjścia: 0 konfiguracje zgodne, 1 różne albo błąd wymiany,\n"
                       "2 złe argumenty, 3 błąd pliku, 4 błąd portu.\n";
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
    if (const int status = document.Exchange(port, context.log.get(),
                                             [](ConfigDocument& verify) { verify.Verify(); }))
        return status;

    TZorvexSettings dialer;
    dialer.Cfg = document.Document().DialerImage();
    const QList<ConfigDifference> differences =
        ConfigDifferences(document.Settings(), dialer, dsImage);
    if (differences.isEmpty()) {
        context.out << QString::fromUtf8(ConstsZVX::VerifyEqual) << "\n";
        return ExitStatus::Success;
    }
    context.out << QString::fromUtf8(ConstsZVX::VerifyHeading) << "\n"
                << "A: " << PrintableText(file) << "\nB: dialer, " << PrintableText(port) << "\n";
    for (const QString& line : DiffLines(differences))
        context.out << PrintableText(line) << "\n";
    return ExitStatus::ExchangeFailed;
}
