#include "tools/CmdRestart.h"

#include "tools/CommandDocument.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"
#include "tools/PortArgument.h"

#include <QRegularExpression>
#include <QTime>

#include <algorithm>

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "restart", what);
}

// "H:MM" or "HH:MM", 0..23 and 0..59; an invalid QTime otherwise.
QTime ParseTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    return QTime(match.captured(1).toInt(), match.captured(2).toInt());
}

} // namespace

int RunRestart(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx restart --port PORT [--time GG:MM]\n"
                       "Restartuje dialer, ustawiając mu podaną godzinę (domyślnie bieżącą).\n"
                       "  --port PORT     COM1..COM16 albo ścieżka urządzenia (/dev/ttyUSB0)\n"
                       "  --log PLIK      dziennik transmisji (\"-\": standardowe wyjście błędów)\n"
                       "  --time GG:MM    godzina restartu, 0:00..23:59\n"
                       "Kod wyjścia: 0 sukces, 1 błąd wymiany, 2 złe argumenty, 4 błąd portu.\n";
        return ExitStatus::Success;
    }
    const bool timeGiven = std::any_of(args.begin(), args.end(), [](const QString& arg) {
        return arg == QLatin1String("--time") || arg == QLatin1String("-t") ||
               arg.startsWith(QLatin1String("--time="));
    });
    QString port;
    QString timeText;
    QString logTarget;
    if (!TakeLogOption(args, logTarget) ||
        !TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port) ||
        !TakeOption(args, {QStringLiteral("--time"), QStringLiteral("-t")}, timeText))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument %1").arg(Quoted(args.first())));
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return Usage(context.err, problem);
    QTime time = QTime::currentTime();
    if (timeGiven) {
        time = ParseTime(timeText);
        if (!time.isValid())
            return Usage(context.err,
                         QStringLiteral("nieprawidłowa godzina \"%1\" (GG:MM)").arg(timeText));
    }

    if (!OpenLogOption(context, logTarget))
        return ExitStatus::FileError;
    CommandDocument document(context);
    return document.Exchange(port, context.log.get(),
                             [time](ConfigDocument& restart) { restart.Restart(time); });
}
