#include "tools/CmdSet.h"

#include "device/FileNames.h"
#include "editors/fields/FieldBatch.h"
#include "report/FieldKeys.h"
#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/ExitStatus.h"
#include "tools/JsonDocArg.h"

int RunSet(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        context.out << "Użycie: zvx set PLIK KLUCZ=WARTOŚĆ... [-o WYNIK]\n"
                       "Ustawia pola konfiguracji w pliku PLIK tak, jak ich okna po OK: te same\n"
                       "postaci (pozycje list tekstem albo numerem od 0, \"TAK\"/\"NIE\", godziny\n"
                       "GG:MM, w polach cyfr tylko cyfry), te same komunikaty i reguły. KLUCZ jak\n"
                       "w \"zvx get\". Wszystko albo nic: przy jednej złej wartości plik zostaje\n"
                       "bez zmian. Zapis przez plik tymczasowy.\n"
                       "  -o, --output WYNIK  zapisuje do pliku WYNIK zamiast PLIK (\"-\": na\n"
                       "                      standardowe wyjście)\n"
                       "Kod wyjścia: 0 sukces, 2 złe argumenty lub nieznany klucz, 3 błąd pliku,\n"
                       "5 nieprawidłowa wartość.\n";
        return ExitStatus::Success;
    }
    QString output;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output))
        return UsageError(context.err, "set", QStringLiteral("brak pliku po -o"));
    for (const QString& arg : args)
        if (arg.startsWith(u'-'))
            return UsageError(context.err, "set",
                              QStringLiteral("nieznana opcja %1").arg(Quoted(arg)));
    if (args.size() < 2)
        return UsageError(context.err, "set",
                          QStringLiteral("podaj plik i wartości: zvx set PLIK KLUCZ=WARTOŚĆ..."));
    std::vector<FieldEntry> entries;
    for (const QString& pair : args.mid(1)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals <= 0)
            return UsageError(context.err, "set",
                              QStringLiteral("%1 nie ma postaci KLUCZ=WARTOŚĆ").arg(Quoted(pair)));
        const QString key = pair.left(equals);
        QString problem;
        const EditorField* field = FieldOfKey(key, problem);
        if (!field)
            return UsageError(context.err, "set", problem);
        entries.push_back({field, key.toStdString(), FieldValueUtf8(pair.mid(equals + 1)), {}});
    }
    const QString path = args.first();
    if (output.isEmpty())
        output = path;
    if (const int status = CheckConfigOutput(context, "set", output))
        return status;
    CommandDocument document(context);
    if (const int status = document.Open(path))
        return status;
    const std::vector<FieldFailure> failures = WriteFields(document.Settings(), entries);
    if (!failures.empty())
        return ReportFieldFailures(context, "set", failures);
    return document.Save(output);
}
