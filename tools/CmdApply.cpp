#include "tools/CmdApply.h"

#include "device/FileNames.h"
#include "editors/fields/AreaCopy.h"
#include "editors/fields/EditorAreas.h"
#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/JsonDocArg.h"

namespace {

void PrintHelp(QTextStream& out)
{
    out << "Użycie: zvx apply PLIK DOKUMENT.json [-o WYNIK]\n"
           "       zvx apply PLIK --from WZÓR.zvx --areas OBSZAR,... [-o WYNIK]\n"
           "Pierwsza postać ustawia w pliku PLIK każde pole, które podaje dokument JSON\n"
           "(dokument \"zvx show --json\" albo jego część: tylko podane obszary i klucze;\n"
           "\"-\" lub brak dokumentu: standardowe wejście), tak jak \"zvx set\". Klucze\n"
           "tylko do odczytu (image, fingerprint, ...) są pomijane z uwagą; \"****\"\n"
           "kopii dla klienta zostawia kod bez zmian.\n"
           "Druga postać kopiuje całe obszary z pliku WZÓR (description: rekordy opisu).\n"
           "  --from WZÓR       plik konfiguracji, z którego kopiować obszary\n"
           "  --areas OBSZARY   klucze obszarów po przecinku (phones, stations, ...)\n"
           "  -o, --output WYNIK  zapisuje do pliku WYNIK zamiast PLIK (\"-\": na\n"
           "                    standardowe wyjście)\n"
           "Wszystko albo nic: przy jednej złej wartości plik zostaje bez zmian.\n"
           "Kod wyjścia: 0 sukces, 2 złe argumenty lub nieznany klucz, 3 błąd pliku,\n"
           "5 nieprawidłowa wartość.\n";
}

} // namespace

int RunApply(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        PrintHelp(context.out);
        return ExitStatus::Success;
    }
    QString output;
    QString from;
    QString areaList;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output) ||
        !TakeOption(args, {QStringLiteral("--from")}, from) ||
        !TakeOption(args, {QStringLiteral("--areas")}, areaList))
        return UsageError(context.err, "apply", QStringLiteral("brak wartości opcji"));
    for (const QString& arg : args)
        if (arg.startsWith(u'-') && arg != QLatin1String("-"))
            return UsageError(context.err, "apply",
                              QStringLiteral("nieznana opcja %1").arg(Quoted(arg)));
    const bool copy = !from.isEmpty() || !areaList.isEmpty();
    if (args.isEmpty() || args.size() > (copy ? 1 : 2) ||
        (copy && (from.isEmpty() || areaList.isEmpty())))
        return UsageError(context.err, "apply",
                          QStringLiteral("podaj plik i dokument albo --from WZÓR --areas OBSZARY"));
    std::vector<const EditorArea*> areas;
    for (const QString& key : areaList.split(u',', Qt::SkipEmptyParts)) {
        const EditorArea* area = FindEditorArea(key.trimmed().toStdString());
        if (!area) {
            QStringList keys;
            for (const EditorArea* a : EditorAreas())
                keys << QString::fromStdString(a->key);
            return UsageError(context.err, "apply",
                              QStringLiteral("nieznany obszar %1; obszary: %2")
                                  .arg(Quoted(key), keys.join(QStringLiteral(", "))));
        }
        areas.push_back(area);
    }
    const QString path = args.first();
    if (output.isEmpty())
        output = path;
    if (const int status = CheckConfigOutput(context, "apply", output))
        return status;
    CommandDocument document(context);
    if (const int status = document.Open(path))
        return status;
    TZorvexSettings templ;
    if (copy) {
        if (const QString error = ReadConfigFileArg(from, templ); !error.isEmpty()) {
            context.err << error << '\n';
            return ExitStatus::FileError;
        }
        CopyAreas(templ, document.Settings(), areas);
    } else if (const int status = ApplyJsonDocArg(
                   context, "apply", args.size() > 1 ? args[1] : QString(), document.Settings())) {
        return status;
    }
    return document.Save(output);
}
