#include "tools/PortArgument.h"

#include "tools/CommandLine.h"

#include <QRegularExpression>

QString TakePortAndFile(QStringList args, QString& port, QString& file)
{
    if (!TakeOption(args, {QStringLiteral("--port"), QStringLiteral("-p")}, port))
        return QStringLiteral("brak wartości opcji");
    for (const QString& arg : args)
        if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-"))
            return QStringLiteral("nieznana opcja %1").arg(Quoted(arg));
    if (const QString problem = PortProblem(port); !problem.isEmpty())
        return problem;
    if (args.size() != 1)
        return args.isEmpty() ? QStringLiteral("podaj plik konfiguracji")
                              : QStringLiteral("podaj jeden plik");
    file = args.first();
    return {};
}

QString PortProblem(const QString& port)
{
    if (port.isEmpty())
        return QStringLiteral("podaj port: --port PORT");
    if (!IsPortArgument(port))
        return QStringLiteral("nieprawidłowy port %1").arg(Quoted(port));
    return {};
}

bool IsPortArgument(const QString& port)
{
    if (port.startsWith(QLatin1Char('/')))
        return port.size() > 1;
    static const QRegularExpression com(QStringLiteral("^COM([1-9]|1[0-6])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    return com.match(port).hasMatch();
}
