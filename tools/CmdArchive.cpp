#include "tools/CmdArchive.h"

#include "archive/ArchiveRecorder.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "editors/fields/CodeFields.h"
#include "report/ConfigDiff.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"
#include "report/ReportText.h"
#include "resources/ConstsZVX.h"
#include "settings/ProgramSettings.h"
#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/DiffLines.h"
#include "tools/ExitStatus.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

constexpr const char* kHelp =
    "Użycie: zvx archive POLECENIE [OPCJE]\n"
    "Archiwum konfiguracji: każda konfiguracja odczytana z dialera, zapisana do niego,\n"
    "zweryfikowana, wczytana lub zapisana (w oknie i przez zvx) jest w nim zachowana.\n"
    "  log [--site TEKST] [--since DATA] [--json]\n"
    "                  wpisy od najnowszego; --site szuka tekstu w rekordach opisu,\n"
    "                  numerach telefonów i odcisku, --since DATA (RRRR-MM-DD) od dnia\n"
    "  show [--json] [--codes] ID\n"
    "                  raport konfiguracji wpisu ID (kody dostępu jako \"****\",\n"
    "                  chyba że --codes)\n"
    "  diff [--codes] ID [ID2|PLIK]\n"
    "                  różnice między wpisem ID a wpisem ID2, plikiem PLIK albo\n"
    "                  poprzednim wpisem tego samego pliku lub portu\n"
    "  restore ID -o PLIK\n"
    "                  zapisuje konfigurację wpisu ID do pliku PLIK\n"
    "  import FOLDER   każdy plik .ZVX w folderze FOLDER (i głębiej) jako wpis \"load\"\n"
    "                  z czasem pliku\n"
    "  prune           usuwa wpisy starsze niż ustawiony czas przechowywania\n"
    "Archiwum wskazuje sekcja [Archive] pliku ustawień (domyślnie plik SQLite\n"
    "w ~/.local/share/zorvex).\n"
    "Kod wyjścia: 0 sukces, 1 konfiguracje różne (diff), 2 złe argumenty, 3 błąd\n"
    "archiwum lub pliku.\n";

int Usage(QTextStream& err, const QString& what)
{
    return UsageError(err, "archive", what);
}

struct Opened
{
    std::unique_ptr<ArchiveDatabase> db;
    int status = ExitStatus::Success;
};

// The archive of the program settings, opened; a failure printed on err.
Opened OpenArchive(CommandContext& context)
{
    Opened opened;
    QString problem;
    opened.db = ArchiveRecorder::Make(ProgramSettings().Archive(), &problem);
    if (opened.db && opened.db->Open()) {
        // What waited in the queue belongs in the list.
        ArchiveRecorder recorder(ProgramSettings().Archive());
        recorder.Flush();
        return opened;
    }
    context.err << "zvx archive: " << PrintableText(opened.db ? opened.db->Error() : problem)
                << '\n';
    opened.db.reset();
    opened.status = ExitStatus::FileError;
    return opened;
}

bool ParseId(const QString& text, qint64& id)
{
    bool ok = false;
    id = text.toLongLong(&ok);
    return ok && id > 0;
}

QString Source(const ArchiveEntry& e)
{
    return e.fileName.isEmpty() ? e.port : e.fileName;
}

QJsonObject EntryJson(const ArchiveEntry& e)
{
    return QJsonObject{
        {"id", e.id},
        {"time", e.when.toString(Qt::ISODate)},
        {"localTime", e.LocalTime().toString(Qt::ISODate)},
        {"event", e.event},
        {"succeeded", e.succeeded},
        {"outcome", e.outcome},
        {"site", e.site},
        {"address", e.address},
        {"fingerprint", e.fingerprint},
        {"file", e.fileName},
        {"port", e.port},
        {"user", e.user},
        {"host", e.host},
        {"version", e.version},
        {"repeatOf", e.repeatOf == 0 ? QJsonValue() : QJsonValue(e.repeatOf)},
    };
}

int Log(CommandContext& context, QStringList args)
{
    QString site;
    QString since;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (!TakeOption(args, {QStringLiteral("--site")}, site) ||
        !TakeOption(args, {QStringLiteral("--since")}, since))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument \"%1\"").arg(args.first()));
    ArchiveQuery query;
    query.text = site;
    query.limit = 0;
    if (!since.isEmpty()) {
        const QDate day = QDate::fromString(since, Qt::ISODate);
        if (!day.isValid())
            return Usage(context.err,
                         QStringLiteral("nieprawidłowa data \"%1\" (RRRR-MM-DD)").arg(since));
        query.since = day.startOfDay();
    }
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const std::optional<QList<ArchiveEntry>> found = opened.db->Find(query, false);
    if (!found) {
        context.err << "zvx archive: " << opened.db->Error() << '\n';
        return ExitStatus::FileError;
    }
    if (json) {
        QJsonArray list;
        for (const ArchiveEntry& e : *found)
            list.append(EntryJson(e));
        context.out << QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented));
        return ExitStatus::Success;
    }
    for (const ArchiveEntry& e : *found) {
        context.out << PrintableText(
                           QStringLiteral("%1  %2  %3  %4  %5  %6  %7@%8  %9")
                               .arg(e.id, 6)
                               .arg(e.LocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                    e.EventText().leftJustified(14),
                                    e.succeeded ? QStringLiteral("OK") : QStringLiteral("BŁĄD"),
                                    e.site.isEmpty() ? QStringLiteral("-") : e.site, Source(e),
                                    e.user, e.host, e.fingerprint))
                    << '\n';
    }
    return ExitStatus::Success;
}

int Show(CommandContext& context, QStringList args)
{
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool codes = args.removeAll(QStringLiteral("--codes")) > 0;
    qint64 id = 0;
    if (args.size() != 1 || !ParseId(args.first(), id))
        return Usage(context.err, QStringLiteral("podaj numer wpisu: zvx archive show ID"));
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const std::optional<ArchiveEntry> entry = opened.db->Get(id);
    if (!entry) {
        context.err << "zvx archive: " << opened.db->Error() << '\n';
        return ExitStatus::FileError;
    }
    ReportOptions options;
    options.fileName = entry->fileName;
    options.entryAt = entry->LocalTime();
    options.masked = !codes;
    const ConfigReport report(entry->Settings(), options);
    if (json) {
        QJsonObject object = EntryJson(*entry);
        object.insert(QStringLiteral("report"), ReportJson(report).object());
        context.out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
        return ExitStatus::Success;
    }
    context.out << PrintableText(QStringLiteral("Wpis %1: %2, %3 %4, %5@%6")
                                     .arg(entry->id)
                                     .arg(entry->EventText(),
                                          entry->LocalTime().toString(Qt::ISODate), Source(*entry),
                                          entry->user, entry->host))
                << '\n'
                << PrintableText(ReportTextLines(report).join(u'\n')) << '\n';
    return ExitStatus::Success;
}

int Diff(CommandContext& context, QStringList args)
{
    const bool codes = args.removeAll(QStringLiteral("--codes")) > 0;
    qint64 id = 0;
    if (args.isEmpty() || args.size() > 2 || !ParseId(args.first(), id))
        return Usage(context.err,
                     QStringLiteral("podaj numer wpisu: zvx archive diff ID [ID2|PLIK]"));
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const std::optional<ArchiveEntry> a = opened.db->Get(id);
    if (!a) {
        context.err << "zvx archive: " << opened.db->Error() << '\n';
        return ExitStatus::FileError;
    }
    TZorvexSettings other;
    QString otherName;
    qint64 otherId = 0;
    if (args.size() == 2 && !ParseId(args[1], otherId)) {
        if (const QString error = ReadConfigFileArg(args[1], other); !error.isEmpty()) {
            context.err << error << '\n';
            return ExitStatus::FileError;
        }
        otherName = args[1];
    } else {
        std::optional<ArchiveEntry> b;
        if (otherId != 0)
            b = opened.db->Get(otherId);
        else
            b = opened.db->Previous(*a);
        if (!b) {
            context.err << "zvx archive: " << opened.db->Error() << '\n';
            return ExitStatus::FileError;
        }
        other = b->Settings();
        otherName = QStringLiteral("wpis %1").arg(b->id);
    }
    QList<ConfigDifference> differences = ConfigDifferences(a->Settings(), other);
    if (differences.isEmpty()) {
        context.out << QString::fromUtf8(ConstsZVX::DiffEqual) << "\n";
        return ExitStatus::Success;
    }
    if (!codes) {
        for (ConfigDifference& d : differences) {
            if (d.area == QString::fromUtf8(CodeFields::Caption)) {
                d.a = QStringLiteral("****");
                d.b = QStringLiteral("****");
            }
        }
    }
    context.out << "A: wpis " << a->id << "\nB: " << PrintableText(otherName) << "\n";
    for (const QString& line : DiffLines(differences))
        context.out << PrintableText(line) << "\n";
    return ExitStatus::ExchangeFailed;
}

int Restore(CommandContext& context, QStringList args)
{
    QString output;
    if (!TakeOption(args, {QStringLiteral("-o"), QStringLiteral("--output")}, output))
        return Usage(context.err, QStringLiteral("brak wartości opcji"));
    qint64 id = 0;
    if (args.size() != 1 || !ParseId(args.first(), id) || output.isEmpty())
        return Usage(context.err,
                     QStringLiteral("podaj numer wpisu i plik: zvx archive restore ID -o PLIK"));
    if (const int status = CheckConfigOutput(context, "archive", output))
        return status;
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const std::optional<ArchiveEntry> entry = opened.db->Get(id);
    if (!entry) {
        context.err << "zvx archive: " << opened.db->Error() << '\n';
        return ExitStatus::FileError;
    }
    opened.db.reset(); // done with: the save's own entry goes in through the document
    CommandDocument document(context);
    return document.SaveCopy(entry->Settings(), output);
}

int Import(CommandContext& context, QStringList args)
{
    if (args.size() != 1 || args.first().startsWith(u'-'))
        return Usage(context.err, QStringLiteral("podaj folder: zvx archive import FOLDER"));
    const QString folder = args.first();
    if (!QFileInfo(folder).isDir()) {
        context.err << "zvx archive: brak folderu: " << PrintableText(folder) << '\n';
        return ExitStatus::FileError;
    }
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".zvx"), Qt::CaseInsensitive))
            files << path;
    }
    files.sort(); // the same order on every run: repeats are found the same way
    int imported = 0;
    int status = ExitStatus::Success;
    QList<ArchiveEntry> batch;
    auto flush = [&]() {
        if (batch.isEmpty())
            return true;
        if (!opened.db->AppendAll(batch)) {
            context.err << "zvx archive: " << opened.db->Error() << '\n';
            return false;
        }
        imported += static_cast<int>(batch.size());
        batch.clear();
        return true;
    };
    for (const QString& path : files) {
        TZorvexSettings settings;
        if (const QString error = ReadConfigFileArg(path, settings); !error.isEmpty()) {
            context.err << error << '\n';
            status = ExitStatus::FileError;
            continue;
        }
        const QFileInfo info(path);
        ArchiveEntry entry = ArchiveEntry::Now(ConfigEvent::Load, settings);
        const QDateTime modified = info.lastModified();
        entry.when = modified.toUTC();
        entry.utcOffset = modified.offsetFromUtc();
        entry.fileName = info.absoluteFilePath();
        batch.append(entry);
        if (batch.size() >= 500 && !flush())
            return ExitStatus::FileError;
    }
    if (!flush())
        return ExitStatus::FileError;
    context.out << "Zaimportowano plików: " << imported << '\n';
    return status;
}

int Prune(CommandContext& context, const QStringList& args)
{
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument \"%1\"").arg(args.first()));
    const ArchiveOptions options = ProgramSettings().Archive();
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const QDateTime before = options.keepYears > 0
                                 ? QDateTime::currentDateTimeUtc().addYears(-options.keepYears)
                                 : QDateTime();
    const std::optional<int> gone = opened.db->Prune(before, options.keepCount);
    if (!gone) {
        context.err << "zvx archive: " << opened.db->Error() << '\n';
        return ExitStatus::FileError;
    }
    context.out << "Usunięto wpisów: " << *gone << '\n';
    return ExitStatus::Success;
}

} // namespace

int RunArchive(CommandContext& context)
{
    QStringList args = context.args;
    if (args.isEmpty() || args.first() == QLatin1String("-h") ||
        args.first() == QLatin1String("--help")) {
        (args.isEmpty() ? context.err : context.out) << kHelp;
        return args.isEmpty() ? ExitStatus::Usage : ExitStatus::Success;
    }
    const QString action = args.takeFirst();
    if (WantsHelp(args)) {
        context.out << kHelp;
        return ExitStatus::Success;
    }
    if (action == QLatin1String("log"))
        return Log(context, args);
    if (action == QLatin1String("show"))
        return Show(context, args);
    if (action == QLatin1String("diff"))
        return Diff(context, args);
    if (action == QLatin1String("restore"))
        return Restore(context, args);
    if (action == QLatin1String("import"))
        return Import(context, args);
    if (action == QLatin1String("prune"))
        return Prune(context, args);
    return Usage(context.err, QStringLiteral("nieznane polecenie \"%1\"").arg(action));
}
