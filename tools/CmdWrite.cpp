#include "tools/CmdWrite.h"

#include "device/ConfigFileMessage.h"
#include "tools/ArchiveRecord.h"
#include "tools/DialerSession.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"

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

    std::unique_ptr<TextTransferLog> log;
    if (!OpenLogOption(logTarget, log, context.err))
        return ExitStatus::FileError;
    DialerSession session(context, port);
    session.Link().SetTransferLog(log.get());

    // The file is loaded before the line is opened: a wrong file needs no dialer.
    if (const ConfigFile::Result result = session.Link().LoadFromFile(file); !result.Ok()) {
        context.err << ConfigFile::Message(result, ConfigFile::Action::Load, file) << '\n';
        return ExitStatus::FileError;
    }
    const int status = session.Run([](TZorvexSettingsControl& link) { link.WriteToDevice(); });
    RecordCommandEvent(context, ConfigEvent::Write, session.Link().Settings(), status,
                       session.Reporter().LastError(), {}, port);
    return status;
}
