#include "tools/CmdVerify.h"

#include "device/FileNames.h"
#include "report/ConfigDiff.h"
#include "resources/ConstsZVX.h"
#include "tools/ArchiveRecord.h"
#include "tools/ConfigFileArg.h"
#include "tools/DialerSession.h"
#include "tools/DiffLines.h"
#include "tools/ExitStatus.h"
#include "tools/LogOption.h"

#include <optional>

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

    std::unique_ptr<TextTransferLog> log;
    if (!OpenLogOption(logTarget, log, context.err))
        return ExitStatus::FileError;
    DialerSession session(context, port);
    session.Link().SetTransferLog(log.get());

    // The file is checked before the line is opened: a wrong file needs no dialer.
    if (const QString error = ReadConfigFileArg(file, session.Link().Settings());
        !error.isEmpty()) {
        context.err << error << "\n";
        return ExitStatus::FileError;
    }
    std::optional<TZorvexSettings> dialer;
    const int status = session.Run([&dialer](TZorvexSettingsControl& link) {
        link.VerifyDevice([&dialer](const TCfg& image) {
            dialer.emplace();
            dialer->Cfg = image;
        });
    });
    // A good check read ends without an information of the link's, which the session
    // takes for a failure; only the image tells.
    TZorvexSettings passed = session.Link().Settings();
    if (dialer)
        passed.Cfg = dialer->Cfg; // what the dialer holds, with the file's records
    const int readStatus =
        dialer ? ExitStatus::Success
               : (status == ExitStatus::Success ? ExitStatus::ExchangeFailed : status);
    RecordCommandEvent(context, ConfigEvent::Verify, passed, readStatus,
                       session.Reporter().LastError(), {}, port);
    if (!dialer)
        return readStatus;

    const QList<ConfigDifference> differences =
        ConfigDifferences(session.Link().Settings(), *dialer, dsImage);
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
