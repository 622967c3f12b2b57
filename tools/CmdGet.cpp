#include "tools/CmdGet.h"

#include "device/FileNames.h"
#include "editors/fields/EditorField.h"
#include "model/TZorvexSettings.h"
#include "report/FieldKeys.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"

#include <vector>

int RunGet(CommandContext& context)
{
    const QStringList& args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx get PLIK KLUCZ...\n"
                       "Wypisuje wartości pól konfiguracji z pliku PLIK, jak je pokazują okna\n"
                       "programu, po jednej w wierszu, w kolejności kluczy. KLUCZ to\n"
                       "obszar.pole, jak w \"zvx show --json\" (delays.alarmEntry), albo\n"
                       "records.N dla rekordu opisu N (0..13).\n"
                       "Kod wyjścia: 0 sukces, 2 złe argumenty lub nieznany klucz (podaje\n"
                       "klucze obszaru), 3 błąd pliku.\n";
        return ExitStatus::Success;
    }
    for (const QString& arg : args)
        if (arg.startsWith(u'-'))
            return UsageError(context.err, "get",
                              QStringLiteral("nieznana opcja %1").arg(Quoted(arg)));
    if (args.size() < 2)
        return UsageError(context.err, "get",
                          QStringLiteral("podaj plik i klucze: zvx get PLIK "
                                         "KLUCZ..."));
    std::vector<const EditorField*> fields;
    for (const QString& key : args.mid(1)) {
        QString problem;
        const EditorField* field = FieldOfKey(key, problem);
        if (!field)
            return UsageError(context.err, "get", problem);
        fields.push_back(field);
    }
    TZorvexSettings settings;
    if (const QString error = ReadConfigFileArg(args.first(), settings); !error.isEmpty()) {
        context.err << error << '\n';
        return ExitStatus::FileError;
    }
    for (const EditorField* field : fields)
        context.out << PrintableText(QString::fromStdString(field->read(settings))) << '\n';
    return ExitStatus::Success;
}
