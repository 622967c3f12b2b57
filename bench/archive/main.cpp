// The archive's speed on SQLite and, when ZVX_TEST_PG names a server, on PostgreSQL, each
// figure printed with its goal: "zvx archive import" of FILES .ZVX files (at least 1,000
// files/s); with ENTRIES entries in all, the window's first page and how many there are
// (at most 100 ms), a search as the window's search field runs it, the page and how many
// match (median and 95th percentile at most 50 ms), adding one entry as an event of the
// window does (at most 5 ms), prune of the oldest tenth (at most 10 s for 100,000), and
// the archive's size per entry with what its indexes take of it. The window shows a page
// first and how many match in all when that is known: the two are timed apart.
//   archive [FILES [ENTRIES]]     (defaults: 10000 100000)
#include "archive/ArchiveDatabase.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "model/Cp1250.h"
#include "settings/TemporaryProgramSettings.h"
#include "tools/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const char* const kWords[] = {"Apteka",  "Bank", "Sklep", "Poczta",  "Szkoła", "Biuro",
                              "Magazyn", "Hala", "Urząd", "Kościół", "Dom",    "Warsztat"};
const char* const kTowns[] = {"Łódź",  "Kraków", "Gdańsk", "Poznań", "Lublin", "Opole",
                              "Toruń", "Radom",  "Kielce", "Płock",  "Sopot",  "Zamość"};

TZorvexSettings Random(QRandomGenerator& rng, int n)
{
    TZorvexSettings s;
    s.LoadDefaults();
    const std::string site = std::string(kWords[rng.bounded(12)]) + " " + kTowns[rng.bounded(12)] +
                             " " + std::to_string(n);
    s.Comment.SetText(0, Utf8ToCp1250(site));
    s.Comment.SetText(1, Utf8ToCp1250("ul. Długa " + std::to_string(rng.bounded(200))));
    for (int k = 0; k < 3; ++k)
        s.Cfg.SetDigits(std::to_string(48600000000LL + rng.bounded(99999999)), 112 + 8 * k, 16);
    return s;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * (v.size() - 1) + 0.5))];
}

bool DropPostgres(const QString& target)
{
    const QString name = QStringLiteral("bench-drop");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(target);
        ok = db.open() &&
             QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS zvx_entries, zvx_schema"));
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// The archive's size per entry, and what its indexes take of it: SQLite's pages by owner
// (the text index's tables start with zvx_entries_text), PostgreSQL's relations.
void PrintSize(ArchiveDatabase::Kind kind, const QString& target, qint64 entries)
{
    const QString name = QStringLiteral("bench-size");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ArchiveDriverName(kind), name);
        if (kind == ArchiveDatabase::Kind::SQLite)
            db.setDatabaseName(target);
        else
            db.setConnectOptions(target);
        QSqlQuery q(db);
        const bool lite = kind == ArchiveDatabase::Kind::SQLite;
        if (!db.open() ||
            !q.exec(lite ? QStringLiteral("SELECT CASE WHEN name LIKE 'zvx_entries_text%' THEN "
                                          "'zvx_entries_text' ELSE name END, SUM(pgsize) FROM "
                                          "dbstat GROUP BY 1 ORDER BY 2 DESC")
                         : QStringLiteral("SELECT c.relname, pg_total_relation_size(c.oid) FROM "
                                          "pg_class c JOIN pg_namespace n ON n.oid = "
                                          "c.relnamespace WHERE n.nspname = current_schema() AND "
                                          "c.relname LIKE 'zvx_entries%' AND c.relkind IN "
                                          "('r', 'i') ORDER BY 2 DESC"))) {
            std::printf("size: cannot be told (%s)\n", qPrintable(q.lastError().text()));
        } else {
            QStringList parts;
            double all = 0;
            while (q.next()) {
                const double bytes = q.value(1).toDouble();
                all += bytes;
                parts << QStringLiteral("%1 %2")
                             .arg(q.value(0).toString())
                             .arg(bytes / entries, 0, 'f', 0);
            }
            if (!lite) // the table's total holds its indexes already
                all = q.first() ? q.value(1).toDouble() : all;
            std::printf("size: %.0f bytes per entry; of which (bytes per entry): %s\n",
                        all / entries, qPrintable(parts.join(QStringLiteral(", "))));
        }
    }
    QSqlDatabase::removeDatabase(name);
}

int RunOne(const char* label, ArchiveDatabase::Kind kind, const QString& target,
           const QString& folder, int files, int entries)
{
    std::printf("== %s\n", label);
    TemporaryProgramSettings settings;
    const QByteArray ini =
        kind == ArchiveDatabase::Kind::SQLite
            ? "[Archive]\r\nFile=" + target.toUtf8() + "\r\n"
            : "[Archive]\r\nDatabase=postgresql\r\nConnection=" + target.toUtf8() + "\r\n";
    settings.Write(ini);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QElapsedTimer timer;
    timer.start();
    const int status = RunCommandLine({"archive", "import", folder}, outStream, errStream);
    const double importSeconds = timer.nsecsElapsed() / 1e9;
    if (status != 0) {
        std::fprintf(stderr, "import: %s\n", qPrintable(err));
        return 1;
    }
    const double rate = files / importSeconds;
    std::printf("import of %d files: %.2f s, %.0f files/s (goal >= 1000) %s\n", files,
                importSeconds, rate, rate >= 1000 ? "OK" : "MISSED");

    ArchiveDatabase db(kind, target);
    if (!db.Open()) {
        std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
        return 1;
    }
    QRandomGenerator rng(7);
    QStringList fingerprints;
    // The oldest tenth from years ago, for prune.
    const int old = entries / 10;
    const QDateTime longAgo = QDateTime::currentDateTimeUtc().addYears(-6);
    for (int n = files; n < entries; n += 1000) {
        QList<ArchiveEntry> batch;
        for (int k = 0; k < 1000 && n + k < entries; ++k) {
            ArchiveEntry e = ArchiveEntry::Now(k % 2 ? ConfigEvent::Read : ConfigEvent::Write,
                                               Random(rng, n + k));
            e.port = QStringLiteral("COM%1").arg(1 + rng.bounded(4));
            if (n + k - files < old)
                e.when = longAgo.addSecs(n + k);
            batch.append(e);
        }
        fingerprints << batch.first().fingerprint;
        if (!db.AppendAll(batch)) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
    }
    std::printf("entries: %lld\n", static_cast<long long>(db.Count().value_or(0)));

    // As the window lists: the page at once, how many in all after it (the line under the
    // list). Each figure for itself, and a search's also by the kind of text.
    std::vector<double> firstPages;
    std::vector<double> counts;
    for (int i = 0; i < 30; ++i) {
        ArchiveQuery query;
        query.order = ArchiveOrder::Time;
        query.limit = 500;
        if (i % 3 == 1)
            query.event = ConfigEvent::Write;
        timer.restart();
        if (!db.Find(query, false)) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
        firstPages.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        if (!db.Count(query)) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
        counts.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double pageP95 = Percentile(firstPages, 0.95);
    std::printf("first page: median %.1f ms, 95th percentile %.1f ms (goal <= 100) %s\n",
                Percentile(firstPages, 0.5), pageP95, pageP95 <= 100 ? "OK" : "MISSED");
    std::printf("  then how many in all: median %.1f ms, 95th percentile %.1f ms\n",
                Percentile(counts, 0.5), Percentile(counts, 0.95));

    const char* const kinds[] = {"town", "phone", "fingerprint", "word and town"};
    std::vector<double> searches;
    std::vector<double> searchCounts;
    std::vector<double> byKind[4];
    for (int i = 0; i < 200; ++i) {
        ArchiveQuery query;
        query.order = ArchiveOrder::Time;
        query.limit = 500;
        switch (i % 4) {
        case 0:
            query.text = QString::fromUtf8(kTowns[rng.bounded(12)]).toLower();
            break;
        case 1:
            query.text = QString::number(4860000 + rng.bounded(9999));
            break;
        case 2:
            query.text = fingerprints[rng.bounded(fingerprints.size())];
            break;
        default:
            query.text = QStringLiteral("%1 %2").arg(QString::fromUtf8(kWords[rng.bounded(12)]),
                                                     QString::fromUtf8(kTowns[rng.bounded(12)]));
        }
        timer.restart();
        const std::optional<QList<ArchiveEntry>> page = db.Find(query, false);
        if (!page) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
        searches.push_back(timer.nsecsElapsed() / 1e6);
        byKind[i % 4].push_back(searches.back());
        timer.restart();
        // A short page is all there is: the window asks for no count then.
        if (page->size() == query.limit && !db.Count(query)) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
        searchCounts.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double p95 = Percentile(searches, 0.95);
    std::printf("search: median %.1f ms, 95th percentile %.1f ms (goal <= 50) %s\n",
                Percentile(searches, 0.5), p95, p95 <= 50 ? "OK" : "MISSED");
    for (int k = 0; k < 4; ++k)
        std::printf("  %s: median %.1f ms, 95th percentile %.1f ms\n", kinds[k],
                    Percentile(byKind[k], 0.5), Percentile(byKind[k], 0.95));
    std::printf("  then how many match: median %.1f ms, 95th percentile %.1f ms\n",
                Percentile(searchCounts, 0.5), Percentile(searchCounts, 0.95));

    std::vector<double> adds;
    for (int i = 0; i < 300; ++i) {
        ArchiveEntry e = ArchiveEntry::Now(ConfigEvent::Save, Random(rng, entries + i));
        e.fileName = QStringLiteral("/home/jan/obiekt%1.zvx").arg(i % 20);
        timer.restart();
        if (!db.Append(e)) {
            std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
            return 1;
        }
        adds.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double addP95 = Percentile(adds, 0.95);
    std::printf("add one entry: median %.2f ms, 95th percentile %.2f ms (goal <= 5) %s\n",
                Percentile(adds, 0.5), addP95, addP95 <= 5 ? "OK" : "MISSED");

    timer.restart();
    const std::optional<int> pruned = db.Prune(longAgo.addSecs(entries), 0);
    const double pruneSeconds = timer.nsecsElapsed() / 1e9;
    if (!pruned) {
        std::fprintf(stderr, "%s\n", qPrintable(db.Error()));
        return 1;
    }
    const double perHundredThousand = pruneSeconds * 100000 / std::max(1, *pruned);
    std::printf("prune of %d old entries: %.2f s, %.1f s per 100,000 (goal <= 10) %s\n", *pruned,
                pruneSeconds, perHundredThousand, perHundredThousand <= 10 ? "OK" : "MISSED");
    PrintSize(kind, target, db.Count().value_or(1));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("pliki"));
    QRandomGenerator rng(1);
    for (int i = 0; i < files; ++i) {
        const QString sub = QStringLiteral("%1/%2").arg(folder).arg(i / 500);
        QDir().mkpath(sub);
        const QString path = QStringLiteral("%1/obiekt%2.ZVX").arg(sub).arg(i);
        if (!ConfigFile::Save(Random(rng, i), FileNameBytes(path)).Ok()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    int status = RunOne("SQLite", ArchiveDatabase::Kind::SQLite,
                        dir.filePath(QStringLiteral("archiwum.sqlite")), folder, files, entries);
    const QString pg = qEnvironmentVariable("ZVX_TEST_PG");
    if (pg.isEmpty()) {
        std::printf("== PostgreSQL: skipped (set ZVX_TEST_PG to a libpq connection string)\n");
    } else if (!DropPostgres(pg)) {
        std::fprintf(stderr, "PostgreSQL: cannot reach %s\n", qPrintable(pg));
        status = 1;
    } else {
        status |=
            RunOne("PostgreSQL", ArchiveDatabase::Kind::PostgreSQL, pg, folder, files, entries);
    }
    return status;
}
