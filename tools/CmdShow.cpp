#include "tools/CmdShow.h"

#include "device/FileNames.h"
#include "model/TZorvexSettings.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"
#include "report/ReportText.h"
#include "resources/ConstsZVX.h"
#include "tools/ConfigFileArg.h"
#include "tools/ConsoleJson.h"
#include "tools/ExitStatus.h"

#include <QDateTime>

namespace {

void PrintHelp(QTextStream& out)
{
    out << "Użycie: zvx show [--json] [--masked] PLIK\n"
           "Wypisuje raport konfiguracji z pliku PLIK (1024 bajty).\n"
           "  --json    konfiguracja jako JSON (klucze opisuje docs/report-json.md)\n"
           "  --masked  kopia dla klienta: kody dostępu jako \"****\"\n";
}

} // namespace

int RunShow(CommandContext& context)
{
    QStringList args = context.args;
    if (WantsHelp(args)) {
        PrintHelp(context.out);
        return ExitStatus::Success;
    }
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool masked = args.removeAll(QStringLiteral("--masked")) > 0;
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        context.err << "zvx show: podaj jeden plik konfiguracji: zvx show [--json] [--masked] "
                       "PLIK\n";
        return ExitStatus::Usage;
    }
    const QString path = args.first();
    TZorvexSettings settings;
    if (const QString error = ReadConfigFileArg(path, settings); !error.isEmpty()) {
        context.err << error << "\n";
        return ExitStatus::FileError;
    }

    ReportOptions options;
    options.fileName = path;
    options.printedAt = QDateTime::currentDateTime();
    options.masked = masked;
    const ConfigReport report(settings, options);
    if (json) {
        context.out << ConsoleJson(ReportJson(report));
    } else {
        for (const QString& line : ReportTextLines(report))
            context.out << PrintableText(line) << '\n';
    }
    return ExitStatus::Success;
}
