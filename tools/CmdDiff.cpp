#include "tools/CmdDiff.h"

#include "device/FileNames.h"
#include "model/TZorvexSettings.h"
#include "report/ConfigDiff.h"
#include "resources/ConstsZVX.h"
#include "tools/ConfigFileArg.h"
#include "tools/DiffLines.h"
#include "tools/ExitStatus.h"

int RunDiff(CommandContext& context)
{
    const QStringList& args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx diff A B\n"
                       "Wypisuje różnice między plikami konfiguracji A i B, pole po polu:\n"
                       "obszar | pole | wartość w A | wartość w B, jak je pokazują okna\n"
                       "programu; bajty, których nie pokazuje żadne okno, szesnastkowo.\n"
                       "Kod wyjścia: 0 pliki zgodne, 1 pliki różne, 2 złe argumenty,\n"
                       "3 błąd pliku.\n";
        return ExitStatus::Success;
    }
    for (const QString& arg : args)
        if (arg.startsWith(u'-')) {
            context.err << "zvx diff: nieznana opcja " << PrintableText(Quoted(arg))
                        << " (zob. zvx diff --help)\n";
            return ExitStatus::Usage;
        }
    if (args.size() != 2) {
        context.err << "zvx diff: podaj dwa pliki konfiguracji: zvx diff A B\n";
        return ExitStatus::Usage;
    }
    TZorvexSettings a;
    TZorvexSettings b;
    QString error = ReadConfigFileArg(args[0], a);
    if (error.isEmpty())
        error = ReadConfigFileArg(args[1], b);
    if (!error.isEmpty()) {
        context.err << error << "\n";
        return ExitStatus::FileError;
    }

    const QList<ConfigDifference> differences = ConfigDifferences(a, b);
    if (differences.isEmpty()) {
        context.out << QString::fromUtf8(ConstsZVX::DiffEqual) << "\n";
        return ExitStatus::Success;
    }
    context.out << "A: " << PrintableText(args[0]) << "\nB: " << PrintableText(args[1]) << "\n";
    for (const QString& line : DiffLines(differences))
        context.out << PrintableText(line) << "\n";
    return ExitStatus::ExchangeFailed;
}
