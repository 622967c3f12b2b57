#include "tools/CmdArchive.h"

#include "archive/ArchiveRecorder.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "device/FileSystemNames.h"
#include "device/MessageFormat.h"
#include "editors/fields/CodeFields.h"
#include "report/ConfigDiff.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"
#include "report/ReportText.h"
#include "resources/ConstsZVX.h"
#include "settings/ProgramSettings.h"
#include "tools/CommandDocument.h"
#include "tools/ConfigFileArg.h"
#include "tools/ConsoleJson.h"
#include "tools/DiffLines.h"
#include "tools/ExitStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr const char* kHelp =
    "Użycie: zvx archive POLECENIE [OPCJE]\n"
    "Archiwum konfiguracji: każda konfiguracja odczytana z dialera, zapisana do niego,\n"
    "zweryfikowana, wczytana lub zapisana (w oknie i przez zvx) jest w nim zachowana.\n"
    "  log [--site TEKST] [--since DATA] [--json] [--codes]\n"
    "                  wpisy od najnowszego; --site szuka tekstu w rekordach opisu,\n"
    "                  numerach telefonów i odcisku, --since DATA (RRRR-MM-DD) od dnia;\n"
    "                  odcisk konfiguracji (zdradza kody dostępu) tylko z --codes\n"
    "  show [--json] [--codes] ID\n"
    "                  raport konfiguracji wpisu ID (kody dostępu jako \"****\" i bez\n"
    "                  odcisku, chyba że --codes)\n"
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

// An entry as JSON; its fingerprint only with the codes shown (see ConfigReport).
QJsonObject EntryJson(const ArchiveEntry& e, bool codes)
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
        {"fingerprint", codes ? QJsonValue(e.fingerprint) : QJsonValue()},
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
    const bool codes = args.removeAll(QStringLiteral("--codes")) > 0;
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
        context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
        return ExitStatus::FileError;
    }
    if (json) {
        QJsonArray list;
        for (const ArchiveEntry& e : *found)
            list.append(EntryJson(e, codes));
        context.out << ConsoleJson(QJsonDocument(list));
        return ExitStatus::Success;
    }
    for (const ArchiveEntry& e : *found) {
        QString line =
            QStringLiteral("%1  %2  %3  %4  %5  %6  %7@%8")
                .arg(e.id, 6)
                .arg(e.LocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     e.EventText().leftJustified(14),
                     e.succeeded ? QStringLiteral("OK") : QStringLiteral("BŁĄD"),
                     e.site.isEmpty() ? QStringLiteral("-") : e.site, Source(e), e.user, e.host);
        if (codes)
            line += QStringLiteral("  ") + e.fingerprint;
        context.out << PrintableText(line) << '\n';
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
        context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
        return ExitStatus::FileError;
    }
    ReportOptions options;
    options.fileName = entry->fileName;
    options.entryAt = entry->LocalTime();
    options.masked = !codes;
    const ConfigReport report(entry->Settings(), options);
    if (json) {
        QJsonObject object = EntryJson(*entry, codes);
        object.insert(QStringLiteral("report"), ReportJson(report).object());
        context.out << ConsoleJson(QJsonDocument(object));
        return ExitStatus::Success;
    }
    context.out << PrintableText(QStringLiteral("Wpis %1: %2, %3 %4, %5@%6")
                                     .arg(entry->id)
                                     .arg(entry->EventText(),
                                          entry->LocalTime().toString(Qt::ISODate), Source(*entry),
                                          entry->user, entry->host))
                << '\n';
    for (const QString& line : ReportTextLines(report))
        context.out << PrintableText(line) << '\n';
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
        context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
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
            context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
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
        context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
        return ExitStatus::FileError;
    }
    opened.db.reset(); // done with: the save's own entry goes in through the document
    CommandDocument document(context);
    return document.SaveCopy(entry->Settings(), output);
}

// Every .ZVX file under root (any case, at any depth; links to folders are not followed),
// in name order, each named by the bytes the system gave (FileNameFromBytes), so that a
// name that is not UTF-8 reaches its own file and never a twin. A folder that cannot be
// read is told on err and makes *failed true.
QStringList ConfigFilesUnder(CommandContext& context, const QString& root, bool& failed)
{
    namespace fs = std::filesystem;
    QStringList files;
    std::vector<fs::path> folders{fs::absolute(PathFromFileName(root)).lexically_normal()};
    while (!folders.empty()) {
        const fs::path folder = folders.back();
        folders.pop_back();
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            const QString name = FileNameFromPath(it->path());
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                folders.push_back(it->path());
            } else if (name.size() > 4 &&
                       name.endsWith(QLatin1String(".zvx"), Qt::CaseInsensitive)) {
                files << name;
            }
        }
        if (error) {
            context.err << "zvx archive: "
                        << FormatMessage(ConstsZVX::FolderUnreadable,
                                         {PrintableText(FileNameFromPath(folder)),
                                          QString::fromLocal8Bit(std::strerror(error.value()))})
                        << '\n';
            failed = true;
        }
    }
    files.sort(); // the same order on every run: repeats are found the same way
    return files;
}

// When the file at name (FileNameFromBytes) was last changed; invalid when it cannot be
// told.
QDateTime ModifiedAt(const QString& name)
{
    std::error_code error;
    const auto changed =
        std::filesystem::last_write_time(std::filesystem::path(FileNameBytes(name)), error);
    if (error)
        return {};
    const auto since = std::chrono::file_clock::to_sys(changed).time_since_epoch();
    return QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

int Import(CommandContext& context, QStringList args)
{
    if (args.size() != 1 || args.first().startsWith(u'-'))
        return Usage(context.err, QStringLiteral("podaj folder: zvx archive import FOLDER"));
    const QString folder = args.first();
    if (!std::filesystem::is_directory(std::filesystem::path(FileNameBytes(folder)))) {
        context.err << "zvx archive: brak folderu: " << PrintableText(folder) << '\n';
        return ExitStatus::FileError;
    }
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    // A file or a folder that is skipped is an error: the archive lacks it.
    bool skipped = false;
    const QStringList files = ConfigFilesUnder(context, folder, skipped);
    int imported = 0;
    QList<ArchiveEntry> batch;
    auto flush = [&]() {
        if (batch.isEmpty())
            return true;
        if (!opened.db->AppendAll(batch)) {
            context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
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
            skipped = true;
            continue;
        }
        ArchiveEntry entry = ArchiveEntry::Now(ConfigEvent::Load, settings);
        if (const QDateTime modified = ModifiedAt(path); modified.isValid()) {
            entry.when = modified.toUTC();
            entry.utcOffset = modified.offsetFromUtc();
        }
        entry.fileName = path;
        batch.append(entry);
        if (batch.size() >= 500 && !flush())
            return ExitStatus::FileError;
    }
    if (!flush())
        return ExitStatus::FileError;
    context.out << "Zaimportowano plików: " << imported << '\n';
    return skipped ? ExitStatus::FileError : ExitStatus::Success;
}

int Prune(CommandContext& context, const QStringList& args)
{
    if (!args.isEmpty())
        return Usage(context.err, QStringLiteral("nieznany argument \"%1\"").arg(args.first()));
    const ArchiveOptions options = ProgramSettings().Archive();
    // A prune on a value it cannot read would delete what the user meant to keep.
    if (!options.keepProblem.isEmpty()) {
        context.err << "zvx archive: "
                    << FormatMessage(ConstsZVX::ArchivePruneRefused, {options.keepProblem}) << '\n';
        return ExitStatus::FileError;
    }
    Opened opened = OpenArchive(context);
    if (!opened.db)
        return opened.status;
    const QDateTime before = options.keepYears > 0
                                 ? QDateTime::currentDateTimeUtc().addYears(-options.keepYears)
                                 : QDateTime();
    const std::optional<int> gone = opened.db->Prune(before, options.keepCount);
    if (!gone) {
        context.err << "zvx archive: " << PrintableText(opened.db->Error()) << '\n';
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
