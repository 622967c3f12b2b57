#include "tools/CmdWrite.h"

#include "device/ConfigFileFormat.h"
#include "resources/ConstsZVX.h"
#include "tools/DialerSession.h"
#include "tools/ExitStatus.h"

#include <QFileInfo>

#include <cstring>

namespace {

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "write", what);
}

// The window's words for a load that failed.
QString LoadError(int status)
{
    if (status == ConfigFile::FileFormatError)
        return QString::fromUtf8(ConstsZVX::FileFormatError);
    if (status == ConfigFile::FileSizeError)
        return QString::fromUtf8(ConstsZVX::FileSizeError);
    return QString::fromUtf8(ConstsZVX::FileReadError) + QStringLiteral(" (") +
           QString::fromLocal8Bit(std::strerror(status)) + QLatin1Char(')');
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
                       "Kod wyjścia: 0 sukces, 1 błąd wymiany, 2 złe argumenty, 3 błąd pliku,\n"
                       "4 błąd portu.\n";
        return ExitStatus::Success;
    }
    QString port;
    QString file;
    if (const QString problem = TakePortAndFile(args, port, file); !problem.isEmpty())
        return Usage(context.err, problem);
    if (!QFileInfo::exists(file))
        return Usage(context.err, QStringLiteral("nie ma pliku \"%1\"").arg(file));

    DialerSession session(context, port);
    if (const int status = session.Link().LoadFromFile(file)) {
        context.err << LoadError(status) << ": " << file << '\n';
        return ExitStatus::FileError;
    }
    return session.Run([](TZorvexSettingsControl& link) { link.WriteToDevice(); });
}
