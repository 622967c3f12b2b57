#include "tools/CmdEmulate.h"

#include "device/ConfigFileIO.h"
#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "emulator/DialerEmulator.h"
#include "emulator/DialerFaults.h"
#include "emulator/EEmulator.h"
#include "model/TZorvexSettings.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/InterruptWait.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void PrintHelp(QTextStream& out)
{
    out << "Użycie: zvx emulate [--link ŚCIEŻKA] [--image PLIK] [--save PLIK] [--no-pacing]\n"
           "                    [--fault USTERKA]...\n"
           "Emulowany dialer na pseudoterminalu. Pierwszy wiersz wyjścia to ścieżka urządzenia;\n"
           "działa do przerwania (Ctrl+C), a każdą ramkę opisuje na standardowym wyjściu błędów.\n"
           "  --link ŚCIEŻKA    tworzy też dowiązanie symboliczne do urządzenia (ścieżka nie\n"
           "                    może istnieć; dowiązanie znika po zakończeniu)\n"
           "  --image PLIK      konfiguracja dialera z pliku (domyślnie fabryczna)\n"
           "  --save PLIK       zapisuje konfigurację do pliku po każdym pełnym zapisie\n"
           "  --no-pacing       odpowiada bez odwzorowania szybkości linii 1339 bit/s\n"
           "  --fault USTERKA   wstrzykiwana usterka, można powtarzać:\n"
        << FaultUsage();
}

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "emulate", what);
}

// Takes "NAME PATH" or "NAME=PATH" out of args; false when NAME is there without a path.
bool TakePath(QStringList& args, const QString& name, QString& path)
{
    const bool present = std::any_of(args.begin(), args.end(), [&name](const QString& arg) {
        return arg == name || arg.startsWith(name + QLatin1Char('='));
    });
    return TakeOption(args, {name}, path) && (!present || !path.isEmpty());
}

// Takes every "--fault F" and "--fault=F" out of args; false (with the culprit in bad)
// for a fault that does not parse or a missing value.
bool TakeFaults(QStringList& args, DialerFaults& faults, QString& bad)
{
    static const QString name = QStringLiteral("--fault");
    for (int i = 0; i < args.size();) {
        QString text;
        if (args[i] == name) {
            if (i + 1 >= args.size()) {
                bad = name;
                return false;
            }
            text = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(name + QLatin1Char('='))) {
            text = args[i].mid(name.size() + 1);
            args.remove(i);
        } else {
            ++i;
            continue;
        }
        if (!AddFault(faults, text.toStdString())) {
            bad = text;
            return false;
        }
    }
    return true;
}

// Makes the link; a path that exists already (a file, a link left by an earlier run,
// anything) is refused with EEXIST, as it may be someone else's.
int MakeLink(const std::string& target, const std::string& link, struct stat& made)
{
    if (symlink(target.c_str(), link.c_str()) != 0)
        return errno;
    return lstat(link.c_str(), &made) == 0 ? 0 : errno;
}

// Removes the link when the command ends, however it ends, but only the very link this
// run made: another program may have replaced it since.
struct LinkRemover
{
    std::string link;
    struct stat made = {};

    ~LinkRemover()
    {
        if (link.empty())
            return;
        struct stat now;
        if (lstat(link.c_str(), &now) == 0 && S_ISLNK(now.st_mode) && now.st_dev == made.st_dev &&
            now.st_ino == made.st_ino)
            unlink(link.c_str());
    }
};

} // namespace

int RunEmulate(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        PrintHelp(context.out);
        return ExitStatus::Success;
    }
    QString link, imageFile, saveFile, bad;
    DialerEmulator::Options options;
    if (!TakePath(args, QStringLiteral("--link"), link) ||
        !TakePath(args, QStringLiteral("--image"), imageFile) ||
        !TakePath(args, QStringLiteral("--save"), saveFile))
        return Usage(context.err, QStringLiteral("brak ścieżki po opcji"));
    if (args.removeAll(QStringLiteral("--no-pacing")) > 0)
        options.pacing = false;
    if (!TakeFaults(args, options.faults, bad))
        return Usage(context.err, "nieprawidłowa usterka " + Quoted(bad));
    if (!args.isEmpty())
        return Usage(context.err, "nieznany argument " + Quoted(args.first()));

    // The records go into the saved file along with the image the dialer was given.
    TZorvexSettings settings;
    settings.LoadDefaults();
    bool haveImage = false;
    if (!imageFile.isEmpty()) {
        if (const QString error = ReadConfigFileArg(imageFile, settings); !error.isEmpty()) {
            context.err << error << "\n";
            return ExitStatus::FileError;
        }
        haveImage = true;
    }
    // A target the save would refuse is found out now, not at the first full write.
    if (!saveFile.isEmpty()) {
        const ConfigFile::Result result = ConfigFile::CheckSave(FileNameBytes(saveFile));
        if (!result.Ok()) {
            context.err << ConfigFile::Message(result, ConfigFile::Action::Save, saveFile) << "\n";
            return ExitStatus::FileError;
        }
    }

    InterruptWait interrupt;
    try {
        DialerEmulator emulator(options);
        if (haveImage)
            emulator.SetImage(settings.Cfg);
        const std::string device = emulator.SlavePath();
        QTextStream& err = context.err;
        emulator.SetLogHandler([&err](const std::string& line) {
            err << QString::fromStdString(line) << "\n";
            err.flush();
        });
        if (!saveFile.isEmpty()) {
            emulator.SetWriteHandler([&err, &settings, saveFile](const TCfg& image) {
                settings.Cfg = image;
                const ConfigFile::Result result =
                    ConfigFile::Save(settings, FileNameBytes(saveFile));
                if (!result.Ok())
                    err << ConfigFile::Message(result, ConfigFile::Action::Save, saveFile) << "\n";
                else
                    err << "zapisano " << PrintableText(saveFile) << "\n";
                err.flush();
            });
        }
        LinkRemover remover;
        if (!link.isEmpty()) {
            if (const int status = MakeLink(device, FileNameBytes(link), remover.made)) {
                context.err << "zvx emulate: " << PrintableText(link) << ": "
                            << QString::fromLocal8Bit(std::strerror(status)) << "\n";
                return ExitStatus::FileError;
            }
            remover.link = FileNameBytes(link);
        }
        context.out << QString::fromStdString(device) << "\n";
        context.out.flush();
        // Nobody could find the line without its path; main() reports the failure.
        if (context.out.status() != QTextStream::Ok)
            return ExitStatus::FileError;
        emulator.Start();
        interrupt.Wait();
        emulator.Stop();
    } catch (const EEmulator& e) {
        context.err << "zvx emulate: " << QString::fromStdString(e.Message()) << "\n";
        return ExitStatus::PortError;
    }
    return ExitStatus::Success;
}
