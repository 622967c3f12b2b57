#include "tools/CmdRead.h"

#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"
#include "tools/DialerSession.h"
#include "tools/ExitStatus.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "read", what);
}

int SaveFailed(QTextStream& err, const QString& file, int error)
{
    err << QString::fromUtf8(ConstsZVX::FileSaveError) << ": " << file << " ("
        << QString::fromLocal8Bit(std::strerror(error)) << ")\n";
    return ExitStatus::FileError;
}

} // namespace

int RunRead(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx read --port PORT -o PLIK\n"
                       "Odczytuje konfigurację z dialera i zapisuje ją do pliku PLIK.\n"
                       "Gdy odczyt się nie powiedzie, plik nie jest zapisywany.\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia (/dev/ttyUSB0)\n"
                       "  -o, --output PLIK\n"
                       "Kod wyjścia: 0 sukces, 1 błąd wymiany, 2 złe argumenty, 3 błąd pliku,\n"
                       "4 błąd portu.\n";
        return ExitStatus::Success;
    }
    QString port;
    QString output;
    if (!TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port) ||
        !TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument \"%1\"").arg(args.first()));
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return Usage(context.err, problem);
    if (output.isEmpty())
        return Usage(context.err, QStringLiteral("podaj plik wynikowy: -o PLIK"));
    // A folder that is not there would only be found out after the whole exchange.
    if (!QFileInfo(QFileInfo(output).absolutePath()).isDir())
        return SaveFailed(context.err, output, ENOENT);

    DialerSession session(context, port);
    const int status = session.Run([](TZorvexSettingsControl& link) { link.ReadFromDevice(); });
    if (status != ExitStatus::Success)
        return status;
    if (const int error = session.Link().SaveToFile(output))
        return SaveFailed(context.err, output, error);
    context.out << FormatMessage(ConstsZVX::FileSaved, {output}) << '\n';
    return ExitStatus::Success;
}
