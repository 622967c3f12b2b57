#include "tools/CommandLine.h"

#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "report/FieldKeys.h"
#include "resources/ConstsZVX.h"
#include "resources/Version.h"

#include "tools/CmdApply.h"
#include "tools/CmdArchive.h"
#include "tools/CmdDiff.h"
#include "tools/CmdEmulate.h"
#include "tools/CmdGet.h"
#include "tools/CmdNew.h"
#include "tools/CmdPorts.h"
#include "tools/CmdRead.h"
#include "tools/CmdRestart.h"
#include "tools/CmdSet.h"
#include "tools/CmdShow.h"
#include "tools/CmdVerify.h"
#include "tools/CmdWrite.h"
#include "tools/ExitStatus.h"

#include <span>

namespace {

const Command kCommands[] = {
    {"new", "zapisuje konfigurację fabryczną do pliku", RunNew},
    {"read", "odczytuje konfigurację z dialera do pliku", RunRead},
    {"write", "zapisuje konfigurację z pliku do dialera", RunWrite},
    {"restart", "restartuje dialer z podaną godziną", RunRestart},
    {"emulate", "emulowany dialer na pseudoterminalu", RunEmulate},
    {"show", "wypisuje raport konfiguracji z pliku (tekst lub JSON)", RunShow},
    {"diff", "wypisuje różnice między dwoma plikami konfiguracji", RunDiff},
    {"verify", "porównuje konfigurację dialera z plikiem", RunVerify},
    {"get", "wypisuje wartości pól konfiguracji z pliku", RunGet},
    {"set", "ustawia pola konfiguracji w pliku (KLUCZ=WARTOŚĆ)", RunSet},
    {"apply", "ustawia pola z dokumentu JSON lub kopiuje obszary z pliku", RunApply},
    {"ports", "wypisuje porty szeregowe komputera i nazwy COMn", RunPorts},
    {"probe", "szuka portu, do którego dołączony jest dialer", RunProbe},
    {"archive", "archiwum konfiguracji: log, show, diff, restore, import, prune", RunArchive},
};

void PrintUsage(QTextStream& out)
{
    out << "Użycie: zvx POLECENIE [OPCJE]\n"
           "Programator dialera Zorvex ZVX-A z wiersza poleceń.\n\n"
           "Polecenia:\n";
    for (const Command& c : kCommands)
        out << "  " << QString::fromLatin1(c.name).leftJustified(10) << QString::fromUtf8(c.summary)
            << "\n";
    out << "\n\"zvx POLECENIE --help\" opisuje opcje polecenia, \"zvx --version\" podaje "
           "wersję.\n"
           "Kody wyjścia: 0 sukces, 1 błąd wymiany z dialerem lub różne konfiguracje,\n"
           "2 złe argumenty, 3 błąd pliku, 4 błąd portu, 5 nieprawidłowa wartość pola\n"
           "(set, apply, new --from), 128+N przerwanie sygnałem N.\n";
}

} // namespace

int UsageError(QTextStream& err, const char* command, const QString& what)
{
    err << "zvx " << command << ": " << PrintableText(what) << " (zob. zvx " << command
        << " --help)\n";
    return ExitStatus::Usage;
}

QString Quoted(const QString& arg)
{
    return u'"' + MessageValue(arg) + u'"';
}

bool WantsHelp(const QStringList& args)
{
    return args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"));
}

bool TakeOption(QStringList& args, const QStringList& names, QString& value)
{
    for (int i = 0; i < args.size(); ++i) {
        for (const QString& name : names) {
            if (args[i] == name) {
                if (i + 1 >= args.size())
                    return false;
                value = args[i + 1];
                args.remove(i, 2);
                return true;
            }
            if (name.startsWith(QLatin1String("--")) &&
                args[i].startsWith(name + QLatin1Char('='))) {
                value = args[i].mid(name.size() + 1);
                args.remove(i);
                return true;
            }
        }
    }
    return true;
}

int RunCommandLine(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        PrintUsage(err);
        return ExitStatus::Usage;
    }
    const QString name = args.first();
    if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
        PrintUsage(out);
        return ExitStatus::Success;
    }
    if (name == QLatin1String("--version")) {
        out << "zvx (" << QString::fromUtf8(ConstsZVX::ProgramCaption) << ") "
            << ProgramVersion::Number << "\n";
        return ExitStatus::Success;
    }
    for (const Command& c : kCommands) {
        if (name == QLatin1String(c.name)) {
            CommandContext context{args.mid(1), out, err, 0, {}, {}};
            int status = c.run(context);
            if (context.log) {
                if (const QString failure = context.log->Failure(); !failure.isEmpty()) {
                    err << FormatMessage(ConstsZVX::LogWriteError,
                                         {PrintableText(context.logName), failure})
                        << '\n';
                    if (status < ExitStatus::Interrupted)
                        status = ExitStatus::FileError; // what happened is not all told
                }
                context.log.reset();
            }
            return context.interrupted ? ExitStatus::Interrupted + context.interrupted : status;
        }
    }
    err << "zvx: nieznane polecenie " << PrintableText(Quoted(name)) << " (zob. zvx --help)\n";
    return ExitStatus::Usage;
}
