#include "tests/archive/ArchiveTestKit.h"

#include "archive/ArchiveRecorder.h"
#include "archive/ArchiveSchema.h"
#include "model/ConfigIdentity.h"
#include "model/Cp1250.h"

#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A configuration told apart by its object name (record 0) and first phone number.
TZorvexSettings Config(const char* site, const char* phone = "123456")
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(site));
    settings.Cfg.SetDigits(phone, 112, 16);
    return settings;
}

ArchiveEntry Entry(const char* event, const TZorvexSettings& settings, const QString& file,
                   const QString& port = QString(), qint64 atMs = 1700000000000)
{
    ArchiveEntry e = ArchiveEntry::Now(*ConfigEventFromName(event), settings);
    e.when = QDateTime::fromMSecsSinceEpoch(atMs, Qt::UTC);
    e.fileName = file;
    e.port = port;
    return e;
}

void AddBackends()
{
    AddBackendColumn();
}

// Whether the row holds its own image (a repeat holds none).
std::optional<bool> HoldsImage(ArchiveDatabase& db, const ArchivePlace& place, qint64 id)
{
    Q_UNUSED(db);
    std::optional<bool> holds;
    OnOwnConnection(place, [&](QSqlDatabase& peek) {
        QSqlQuery q(peek);
        q.prepare(QStringLiteral("SELECT image IS NOT NULL FROM zvx_entries WHERE id = ?"));
        q.addBindValue(id);
        if (q.exec() && q.next())
            holds = q.value(0).toBool();
        return true;
    });
    return holds;
}

// Runs statements on the test server as its administrator; the number of rows the last
// one gave (-1 when one failed).
int AdminExec(const QString& target, const QStringList& statements)
{
    const QString name = QStringLiteral("zvx-test-admin");
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(target);
        if (db.open()) {
            QSqlQuery q(db);
            rows = 0;
            for (const QString& statement : statements) {
                if (!q.exec(statement)) {
                    qWarning() << statement << q.lastError().text();
                    rows = -1;
                    break;
                }
                rows = q.isSelect() ? q.size() : 0;
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

} // namespace

class TstArchive : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        AddBackends();
        Rows();
    }
    void roundTrip();
    void repeats_data();
    void repeats();
    void search_data();
    void search();
    void searchWithoutTrigrams();
    void prune_data();
    void prune();
    void upgradeFromEveryVersion_data();
    void upgradeFromEveryVersion();
    void columnsReadByName_data()
    {
        AddBackends();
        Rows();
    }
    void columnsReadByName();
    void notAnArchive_data();
    void notAnArchive();
    void fileIsPrivate();
    void passwordRefused();
    void unreachableQueues_data()
    {
        AddBackends();
        Rows();
    }
    void unreachableQueues();
    void twoProcessesAppend_data()
    {
        AddBackends();
        Rows();
    }
    void twoProcessesAppend();

private:
    static void Rows()
    {
        QTest::newRow("sqlite") << 0;
        QTest::newRow("postgresql") << 1;
    }
    QTemporaryDir m_dir;
};

void TstArchive::roundTrip()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));

    TZorvexSettings settings = Config("Sklep Łódź", "48601234567");
    settings.Comment.SetText(13, Utf8ToCp1250("ostatni rekord"));
    ArchiveEntry written = Entry("read", settings, {}, QStringLiteral("/dev/ttyUSB0"));
    written.succeeded = false;
    written.outcome = QStringLiteral("Błędy w transmisji RS lub Dialer nie odpowiada");
    written.utcOffset = 3600;
    QVERIFY2(db.Append(written), qPrintable(db.Error()));
    QVERIFY(written.id > 0);

    const std::optional<ArchiveEntry> read = db.Get(written.id);
    QVERIFY2(read, qPrintable(db.Error()));
    QCOMPARE(read->when, written.when);
    QCOMPARE(read->utcOffset, 3600);
    QCOMPARE(read->LocalTime().time(), written.when.toOffsetFromUtc(3600).time());
    QCOMPARE(read->event, QStringLiteral("read"));
    QCOMPARE(read->succeeded, false);
    QCOMPARE(read->outcome, written.outcome);
    QCOMPARE(read->port, QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(read->user, written.user);
    QCOMPARE(read->host, written.host);
    QCOMPARE(read->version, written.version);
    QCOMPARE(read->site, QStringLiteral("Sklep Łódź"));
    QCOMPARE(read->fingerprint.toStdString(), ImageFingerprint(settings.Cfg));
    // The configuration comes back whole; byte 0 as the dialer holds it.
    const TZorvexSettings back = read->Settings();
    QVERIFY(SameConfiguration(back, settings));
    QCOMPARE(ImageFingerprint(back.Cfg), read->fingerprint.toStdString());
    QVERIFY(!db.Get(written.id + 1000));
}

void TstArchive::repeats_data()
{
    AddBackendColumn();
    QTest::addColumn<QStringList>("steps");   // "site file port" per entry
    QTest::addColumn<QList<int>>("repeatOf"); // 1-based index of the holder; 0: none
    auto row = [](const char* name, int backend, QStringList steps, QList<int> repeatOf) {
        QTest::addRow("%s %s", backend ? "postgresql" : "sqlite", name)
            << backend << steps << repeatOf;
    };
    for (int b : {0, 1}) {
        row("same file twice", b, {"A f -", "A f -"}, {0, 1});
        row("three times point at the first", b, {"A f -", "A f -", "A f -"}, {0, 1, 1});
        row("changed and back", b, {"A f -", "B f -", "A f -"}, {0, 0, 0});
        row("other file", b, {"A f -", "A g -"}, {0, 0});
        row("same port", b, {"A - p", "A - p"}, {0, 1});
        row("other port", b, {"A - p", "A - q"}, {0, 0});
        row("file then port", b, {"A f -", "A - p"}, {0, 0});
        row("another file between", b, {"A f -", "B g -", "A f -"}, {0, 0, 1});
    }
}

void TstArchive::repeats()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, repeatOf);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    QList<qint64> ids;
    for (int i = 0; i < steps.size(); ++i) {
        const QStringList parts = steps[i].split(QLatin1Char(' '));
        auto field = [&](int k) { return parts[k] == QLatin1String("-") ? QString() : parts[k]; };
        ArchiveEntry e = Entry("save", Config(qPrintable(parts[0])), field(1), field(2));
        QVERIFY2(db.Append(e), qPrintable(db.Error()));
        ids.append(e.id);
        const qint64 expected = repeatOf[i] ? ids[repeatOf[i] - 1] : 0;
        QCOMPARE(e.repeatOf, expected);
        QCOMPARE(HoldsImage(db, place, e.id), std::optional<bool>(expected == 0));
        const std::optional<ArchiveEntry> got = db.Get(e.id);
        QVERIFY(got);
        QCOMPARE(got->site, parts[0]);
        QCOMPARE(got->Settings().Comment.GetText(0), parts[0].toStdString());
    }
}

void TstArchive::search_data()
{
    AddBackendColumn();
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("sinceDays");     // from the first entry's day; -1: none
    QTest::addColumn<QStringList>("sites"); // newest first
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s all", n) << b << ""
                                   << "" << -1 << QStringList{"Apteka", "Sklep ŁÓDŹ", "Bank 50%"};
        QTest::addRow("%s record, any case", n) << b << "łódź"
                                                << "" << -1 << QStringList{"Sklep ŁÓDŹ"};
        QTest::addRow("%s other record", n) << b << "zaplecz"
                                            << "" << -1 << QStringList{"Apteka"};
        QTest::addRow("%s phone", n) << b << "4860111"
                                     << "" << -1 << QStringList{"Sklep ŁÓDŹ"};
        QTest::addRow("%s percent literal", n) << b << "50%"
                                               << "" << -1 << QStringList{"Bank 50%"};
        QTest::addRow("%s underscore literal", n) << b << "_"
                                                  << "" << -1 << QStringList{};
        QTest::addRow("%s event", n) << b << ""
                                     << "write" << -1 << QStringList{"Apteka"};
        QTest::addRow("%s since", n) << b << ""
                                     << "" << 1 << QStringList{"Apteka", "Sklep ŁÓDŹ"};
        QTest::addRow("%s nothing", n) << b << "warszawa"
                                       << "" << -1 << QStringList{};
    }
}

void TstArchive::search()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QString, text);
    QFETCH(QString, event);
    QFETCH(int, sinceDays);
    QFETCH(QStringList, sites);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    const qint64 day = 86400000;
    const qint64 t0 = 1700000000000;
    ArchiveEntry a = Entry("read", Config("Bank 50%", "999"), {}, QStringLiteral("COM1"), t0);
    ArchiveEntry b =
        Entry("read", Config("Sklep ŁÓDŹ", "48601112233"), {}, QStringLiteral("COM1"), t0 + day);
    TZorvexSettings third = Config("Apteka", "777");
    third.Comment.SetText(5, Utf8ToCp1250("Czujka na ZAPLECZU"));
    ArchiveEntry c = Entry("write", third, {}, QStringLiteral("COM1"), t0 + 2 * day);
    QVERIFY2(db.Append(a) && db.Append(b) && db.Append(c), qPrintable(db.Error()));

    ArchiveQuery query;
    query.text = text;
    query.event = ConfigEventFromName(event.toStdString());
    if (sinceDays >= 0)
        query.since = QDateTime::fromMSecsSinceEpoch(t0 + sinceDays * day, Qt::UTC);
    const std::optional<QList<ArchiveEntry>> found = db.Find(query);
    QVERIFY2(found, qPrintable(db.Error()));
    QStringList got;
    for (const ArchiveEntry& e : *found)
        got << e.site;
    QCOMPARE(got, sites);

    // The fingerprint finds its entry too.
    query = {};
    query.text = b.fingerprint.toLower();
    const std::optional<QList<ArchiveEntry>> byPrint = db.Find(query);
    QVERIFY(byPrint);
    QVERIFY(!byPrint->isEmpty());
    QCOMPARE(byPrint->first().id, b.id);
}

// A user who may not create the trigram extension still searches (by a full scan, with
// the same results); once an administrator has created the extension, the user's next
// opening builds the index.
void TstArchive::searchWithoutTrigrams()
{
    const QString admin = PostgresTarget();
    if (admin.isEmpty())
        QSKIP("no PostgreSQL server: set ZVX_TEST_PG to a libpq connection string");
    const QStringList dropPlain{QStringLiteral("DROP SCHEMA IF EXISTS zvx_plain CASCADE"),
                                QStringLiteral("DROP ROLE IF EXISTS zvx_plain")};
    const auto cleanup = qScopeGuard([&] { AdminExec(admin, dropPlain); });
    QVERIFY(EmptyPostgres(admin));
    QCOMPARE(
        AdminExec(admin, dropPlain +
                             QStringList{
                                 QStringLiteral("DROP EXTENSION IF EXISTS pg_trgm CASCADE"),
                                 QStringLiteral("CREATE ROLE zvx_plain LOGIN"),
                                 QStringLiteral("CREATE SCHEMA zvx_plain AUTHORIZATION zvx_plain"),
                             }),
        0);
    const QString indexes = QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = "
                                           "'zvx_plain' AND indexname LIKE '%trgm%'");
    // libpq takes the last of a repeated keyword.
    ArchiveDatabase db(ArchiveDatabase::Kind::PostgreSQL,
                       admin + QStringLiteral(" user=zvx_plain"));
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    ArchiveEntry shop = Entry("read", Config("Sklep Łódź"), {}, QStringLiteral("COM1"));
    ArchiveEntry bank = Entry("read", Config("Bank"), {}, QStringLiteral("COM2"));
    QVERIFY2(db.Append(shop) && db.Append(bank), qPrintable(db.Error()));
    QCOMPARE(AdminExec(admin, {indexes}), 0);

    ArchiveQuery query;
    query.text = QStringLiteral("łódź");
    for (int indexed : {0, 1}) {
        const std::optional<QList<ArchiveEntry>> found = db.Find(query);
        QVERIFY2(found, qPrintable(db.Error()));
        QCOMPARE(found->size(), 1);
        QCOMPARE(found->first().id, shop.id);
        if (indexed)
            break;
        db.Close();
        QCOMPARE(AdminExec(admin, {QStringLiteral("CREATE EXTENSION pg_trgm")}), 0);
        QVERIFY2(db.Open(), qPrintable(db.Error()));
        QCOMPARE(AdminExec(admin, {indexes}), 1);
    }
}

void TstArchive::prune_data()
{
    AddBackendColumn();
    QTest::addColumn<QStringList>("sites"); // oldest first, one day apart, same file
    QTest::addColumn<int>("beforeDay");     // prune what is older than this day; -1: none
    QTest::addColumn<int>("keepCount");
    QTest::addColumn<QStringList>("left"); // newest first
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s by count", n)
            << b << QStringList{"A", "B", "C", "D"} << -1 << 2 << QStringList{"D", "C"};
        QTest::addRow("%s by age", n)
            << b << QStringList{"A", "B", "C"} << 1 << 0 << QStringList{"C", "B"};
        QTest::addRow("%s repeat inherits the image", n)
            << b << QStringList{"A", "A", "A"} << 1 << 0 << QStringList{"A", "A"};
        QTest::addRow("%s all repeats but the last go", n)
            << b << QStringList{"A", "A", "A", "A"} << 3 << 0 << QStringList{"A"};
        QTest::addRow("%s a thousand repeats go", n)
            << b << QStringList(1201, QStringLiteral("A")) << -1 << 1 << QStringList{"A"};
        QTest::addRow("%s nothing to do", n)
            << b << QStringList{"A", "B"} << -1 << 0 << QStringList{"B", "A"};
    }
}

void TstArchive::prune()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QStringList, sites);
    QFETCH(int, beforeDay);
    QFETCH(int, keepCount);
    QFETCH(QStringList, left);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    const qint64 day = 86400000;
    const qint64 t0 = 1700000000000;
    for (int i = 0; i < sites.size(); ++i) {
        ArchiveEntry e =
            Entry("save", Config(qPrintable(sites[i])), QStringLiteral("a.zvx"), {}, t0 + i * day);
        QVERIFY2(db.Append(e), qPrintable(db.Error()));
    }
    const QDateTime before =
        beforeDay < 0 ? QDateTime() : QDateTime::fromMSecsSinceEpoch(t0 + beforeDay * day, Qt::UTC);
    const std::optional<int> gone = db.Prune(before, keepCount);
    QVERIFY2(gone, qPrintable(db.Error()));
    QCOMPARE(*gone, sites.size() - left.size());
    ArchiveQuery all;
    const std::optional<QList<ArchiveEntry>> found = db.Find(all);
    QVERIFY2(found, qPrintable(db.Error()));
    QStringList got;
    for (const ArchiveEntry& e : *found) {
        got << e.site;
        // Every kept entry still brings its configuration back.
        QCOMPARE(e.Settings().Comment.GetText(0), e.site.toStdString());
        QCOMPARE(e.image.size(), TCfg::Size);
    }
    QCOMPARE(got, left);
    // And the repeat check goes on against what was kept.
    ArchiveEntry next = Entry("save", Config(qPrintable(left.first())), QStringLiteral("a.zvx"));
    QVERIFY(db.Append(next));
    QCOMPARE(next.repeatOf, found->first().repeatOf ? found->first().repeatOf : found->first().id);
}

namespace {

// The tables and indexes of the archive at place, each with how it is made.
QStringList SchemaObjects(const ArchivePlace& place)
{
    QStringList objects;
    OnOwnConnection(place, [&](QSqlDatabase& peek) {
        QSqlQuery q(peek);
        const bool read = q.exec(
            place.kind == ArchiveDatabase::Kind::SQLite
                ? QStringLiteral("SELECT name || ': ' || COALESCE(sql, '') FROM sqlite_master "
                                 "ORDER BY name")
                : QStringLiteral("SELECT indexname || ': ' || indexdef FROM pg_indexes WHERE "
                                 "schemaname = current_schema() UNION ALL SELECT table_name || "
                                 "'.' || column_name FROM information_schema.columns WHERE "
                                 "table_schema = current_schema() ORDER BY 1"));
        while (read && q.next())
            objects << q.value(0).toString();
        return read;
    });
    return objects;
}

} // namespace

void TstArchive::upgradeFromEveryVersion_data()
{
    AddBackendColumn();
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("interrupted"); // the last step fails
    for (int b : {0, 1})
        for (int version = 1; version < ArchiveSchema::Version; ++version)
            for (bool interrupted : {false, true})
                QTest::addRow("%s from %d%s", b ? "postgresql" : "sqlite", version,
                              interrupted ? ", interrupted" : "")
                    << b << version << interrupted;
}

// An archive of every earlier version is brought to this one with its entries found as
// before; an upgrade that fails half way leaves it as it was, to be upgraded once the
// obstacle has gone.
void TstArchive::upgradeFromEveryVersion()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(int, version);
    QFETCH(bool, interrupted);
    const TZorvexSettings settings = Config("Stara Poczta", "5550001");
    ArchiveEntry old = Entry("load", settings, QStringLiteral("stara.zvx"));
    // An object under a name the last step gives.
    const QString obstacle = place.kind == ArchiveDatabase::Kind::SQLite
                                 ? QStringLiteral("zvx_entries_text")
                                 : QStringLiteral("zvx_entries_time");
    // The tables as that version left them, with one entry as it wrote it.
    QVERIFY(OnOwnConnection(place, [&](QSqlDatabase& before) {
        QStringList steps;
        for (int step = 1; step <= version; ++step)
            steps += ArchiveSchema::Migration(place.kind, step);
        steps << QStringLiteral("UPDATE zvx_schema SET version = %1").arg(version);
        if (interrupted)
            steps << QStringLiteral("CREATE TABLE %1 (x INTEGER)").arg(obstacle);
        if (!ExecAll(before, steps))
            return false;
        const bool searchColumn = version >= 2;
        QSqlQuery q(before);
        q.prepare(
            QStringLiteral(
                "INSERT INTO zvx_entries (at_ms, utc_offset, event, succeeded, outcome, image, "
                "records, fingerprint, file_name, port, user_name, host, version, repeat_of, site, "
                "address%1) VALUES (?, 0, 'load', 1, '', ?, ?, ?, 'stara.zvx', '', 'jan', "
                "'laptop', '1.0', NULL, 'Stara Poczta', ''%2)")
                .arg(searchColumn ? ", search" : "", searchColumn ? ", ?" : ""));
        q.addBindValue(old.when.toMSecsSinceEpoch());
        q.addBindValue(old.image);
        q.addBindValue(old.records);
        q.addBindValue(old.fingerprint);
        if (searchColumn)
            q.addBindValue(old.SearchText());
        return q.exec();
    }));

    ArchiveDatabase db(place.kind, place.target);
    if (interrupted) {
        const QStringList before = SchemaObjects(place);
        QVERIFY(!db.Open());
        QCOMPARE(SchemaObjects(place), before);
        QVERIFY(OnOwnConnection(place, [&](QSqlDatabase& raw) {
            return ExecAll(raw, {QStringLiteral("DROP TABLE %1").arg(obstacle)});
        }));
    }
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    ArchiveQuery query;
    qint64 oldId = 0;
    for (const char* text : {"poczta", "5550001", "po", "STARA P"}) {
        query.text = QString::fromUtf8(text);
        std::optional<QList<ArchiveEntry>> found = db.Find(query);
        QVERIFY2(found && found->size() == 1, qPrintable(db.Error()));
        QCOMPARE(found->first().user, QStringLiteral("jan"));
        QCOMPARE(db.Count(query), std::optional<qint64>(1));
        oldId = found->first().id;
    }
    // The old entry is the one a new save of the same file repeats.
    ArchiveEntry again = Entry("save", settings, QStringLiteral("stara.zvx"));
    QVERIFY(db.Append(again));
    QCOMPARE(again.repeatOf, oldId);
    db.Close();
    // Opening again finds nothing left to do.
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    query.text = QStringLiteral("poczta");
    QCOMPARE(db.Count(query), std::optional<qint64>(2));
}

// An archive whose table has its columns in another order (rebuilt by an administrator's
// dump and restore, say) reads and writes the same: nothing goes by position.
void TstArchive::columnsReadByName()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    const bool lite = place.kind == ArchiveDatabase::Kind::SQLite;
    const QString blob = lite ? QStringLiteral("BLOB") : QStringLiteral("BYTEA");
    QVERIFY(OnOwnConnection(place, [&](QSqlDatabase& raw) {
        return ExecAll(
            raw,
            QStringList{
                QStringLiteral("CREATE TABLE zvx_schema (version INTEGER NOT NULL)"),
                QStringLiteral("INSERT INTO zvx_schema (version) VALUES (%1)")
                    .arg(ArchiveSchema::Version),
                QStringLiteral(
                    "CREATE TABLE zvx_entries (search TEXT NOT NULL DEFAULT '', address TEXT NOT "
                    "NULL, site TEXT NOT NULL, repeat_of BIGINT, version TEXT NOT NULL, host "
                    "TEXT NOT NULL, user_name TEXT NOT NULL, port TEXT NOT NULL, file_name TEXT "
                    "NOT NULL, fingerprint TEXT NOT NULL, records %1, image %1, outcome TEXT NOT "
                    "NULL, succeeded INTEGER NOT NULL, event TEXT NOT NULL, utc_offset INTEGER "
                    "NOT NULL, at_ms BIGINT NOT NULL, id %2)")
                    .arg(blob, lite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                                    : QStringLiteral("BIGSERIAL PRIMARY KEY")),
                QStringLiteral("CREATE INDEX zvx_entries_search ON zvx_entries (search)"),
            } + (lite ? ArchiveSchema::Migration(place.kind, 4) : QStringList{}));
    }));

    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    ArchiveEntry first = Entry("write", Config("Hurtownia", "221234"), QStringLiteral("h.zvx"),
                               QStringLiteral("COM3"));
    first.succeeded = false;
    first.outcome = QStringLiteral("Dialer nie odpowiada na komendę");
    first.utcOffset = -7200;
    ArchiveEntry repeat = Entry("save", Config("Hurtownia", "221234"), QStringLiteral("h.zvx"));
    QVERIFY2(db.Append(first) && db.Append(repeat), qPrintable(db.Error()));
    QCOMPARE(repeat.repeatOf, first.id);
    ArchiveQuery query;
    query.text = QStringLiteral("hurtownia");
    const std::optional<QList<ArchiveEntry>> found = db.Find(query);
    QVERIFY2(found && found->size() == 2, qPrintable(db.Error()));
    const ArchiveEntry& back = found->last();
    QCOMPARE(back.id, first.id);
    QCOMPARE(back.when, first.when);
    QCOMPARE(back.utcOffset, -7200);
    QCOMPARE(back.event, QStringLiteral("write"));
    QCOMPARE(back.succeeded, false);
    QCOMPARE(back.outcome, first.outcome);
    QCOMPARE(back.image, first.image);
    QCOMPARE(back.records, first.records);
    QCOMPARE(back.fingerprint, first.fingerprint);
    QCOMPARE(back.fileName, QStringLiteral("h.zvx"));
    QCOMPARE(back.port, QStringLiteral("COM3"));
    QCOMPARE(back.user, first.user);
    QCOMPARE(back.site, QStringLiteral("Hurtownia"));
    QCOMPARE(found->first().repeatOf, first.id);
    QCOMPARE(found->first().image, first.image); // a repeat's configuration from its holder
}

void TstArchive::notAnArchive_data()
{
    QTest::addColumn<QByteArray>("sql");   // statements for a SQLite file, ';'-separated
    QTest::addColumn<QByteArray>("bytes"); // or raw contents
    QTest::addColumn<QString>("message");
    QTest::newRow("text file") << QByteArray() << QByteArray(4096, 'x')
                               << QStringLiteral("To nie jest plik archiwum");
    QTest::newRow("configuration file")
        << QByteArray() << QByteArray(1024, '\0') << QStringLiteral("To nie jest plik archiwum");
    QTest::newRow("other database") << QByteArray("CREATE TABLE other (x INTEGER)") << QByteArray()
                                    << QStringLiteral("To nie jest archiwum konfiguracji");
    QTest::newRow("newer program") << QByteArray("CREATE TABLE zvx_schema (version INTEGER);"
                                                 "INSERT INTO zvx_schema VALUES (99)")
                                   << QByteArray() << QStringLiteral("nowszej wersji programu");
}

void TstArchive::notAnArchive()
{
    QFETCH(QByteArray, sql);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cos.sqlite"));
    if (sql.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (bytes.startsWith('\0'))
            bytes = QByteArray(1024, '\x5a'); // a .ZVX-sized file of other bytes
        file.write(bytes);
    } else {
        const QString name = QStringLiteral("zvx-test-other");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery q(other);
            for (const QByteArray& statement : sql.split(';'))
                QVERIFY(q.exec(QString::fromLatin1(statement)));
        }
        QSqlDatabase::removeDatabase(name);
    }
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray contents = before.readAll();
    before.close();

    ArchiveDatabase db(ArchiveDatabase::Kind::SQLite, path);
    QVERIFY(!db.Open());
    QVERIFY2(db.Error().contains(message), qPrintable(db.Error()));
    QVERIFY(!db.Append(*std::make_unique<ArchiveEntry>(Entry("load", Config("X"), "x.zvx"))));
    // Nothing of it was touched.
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), contents);

    // The recorder keeps the entry in its queue instead.
    ArchiveOptions options;
    options.file = path;
    ArchiveRecorder recorder(options, dir.filePath(QStringLiteral("kolejka.sqlite")));
    ArchiveEntry e = Entry("load", Config("X"), QStringLiteral("x.zvx"));
    QVERIFY(!recorder.Record(e));
    QCOMPARE(recorder.Waiting(), 1);
    QVERIFY(recorder.Problem().contains(message));
}

void TstArchive::fileIsPrivate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nowy/folder/archiwum.sqlite"));
    ArchiveDatabase db(ArchiveDatabase::Kind::SQLite, path);
    const mode_t old = umask(022);
    const bool opened = db.Open();
    umask(old);
    QVERIFY2(opened, qPrintable(db.Error()));
    ArchiveEntry e = Entry("read", Config("A"), {}, QStringLiteral("COM1"));
    QVERIFY(db.Append(e));
    for (const char* suffix : {"", "-wal", "-shm"}) {
        struct stat st
        {
        };
        const QByteArray name = QFile::encodeName(path + QLatin1String(suffix));
        QVERIFY2(stat(name.constData(), &st) == 0, name.constData());
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }
}

void TstArchive::passwordRefused()
{
    ArchiveOptions options;
    options.postgres = true;
    options.connection = QStringLiteral("host=db.example dbname=zvx password=tajne");
    QString problem;
    QVERIFY(!ArchiveRecorder::Make(options, &problem));
    QVERIFY(problem.contains(QStringLiteral(".pgpass")));
    options.connection = QStringLiteral("service=zorvex");
    QVERIFY(ArchiveRecorder::Make(options));
}

void TstArchive::unreachableQueues()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    ArchiveOptions options;
    // Out of reach: a SQLite file under a plain file; a server on a socket folder that
    // does not exist.
    QFile blocker(dir.filePath(QStringLiteral("zajete")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    options.postgres = place.kind == ArchiveDatabase::Kind::PostgreSQL;
    if (options.postgres)
        options.connection = place.target + QStringLiteral(" host=") + dir.filePath("brak");
    else
        options.file = dir.filePath(QStringLiteral("zajete/archiwum.sqlite"));
    const QString queue = dir.filePath(QStringLiteral("kolejka.sqlite"));
    {
        ArchiveRecorder recorder(options, queue);
        ArchiveEntry first = Entry("read", Config("Pierwszy"), {}, QStringLiteral("COM1"));
        ArchiveEntry second = Entry("read", Config("Drugi"), {}, QStringLiteral("COM1"));
        QVERIFY(!recorder.Record(first));
        QVERIFY(!recorder.Record(second)); // within the pause: straight to the queue
        QCOMPARE(recorder.Waiting(), 2);
        QVERIFY(recorder.Problem().startsWith(QStringLiteral("Archiwum niedostępne")));
        QVERIFY(!recorder.Problem().contains(QLatin1Char('\n')));
        QVERIFY(!recorder.Flush());
    }
    // The archive is back: a new recorder (the next program) sends the queue first.
    if (options.postgres) {
        options.connection = place.target;
    } else {
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("zajete"))));
    }
    ArchiveRecorder recorder(options, queue);
    ArchiveEntry third = Entry("read", Config("Drugi"), {}, QStringLiteral("COM1"));
    QVERIFY2(recorder.Record(third), qPrintable(recorder.Problem()));
    QVERIFY(recorder.Problem().isEmpty());
    QCOMPARE(recorder.Waiting(), 0);
    ArchiveDatabase* db = recorder.Database();
    QVERIFY(db);
    const std::optional<QList<ArchiveEntry>> all = db->Find({});
    QVERIFY(all);
    QStringList sites;
    for (const ArchiveEntry& e : *all)
        sites << e.site;
    QCOMPARE(sites, (QStringList{"Drugi", "Drugi", "Pierwszy"}));
    // In order, and the repeat check ran as they arrived.
    QCOMPARE(all->first().repeatOf, (*all)[1].id);
}

void TstArchive::twoProcessesAppend()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    const int count = 1000;
    const QString helper = QStringLiteral(ZVX_ARCHIVE_APPEND);
    QProcess a;
    QProcess b;
    const QString kind = place.kind == ArchiveDatabase::Kind::SQLite ? "sqlite" : "postgresql";
    a.start(helper, {kind, place.target, QString::number(count), QStringLiteral("A")});
    b.start(helper, {kind, place.target, QString::number(count), QStringLiteral("B")});
    QVERIFY(a.waitForFinished(100000));
    QVERIFY(b.waitForFinished(100000));
    QVERIFY2(a.exitCode() == 0, a.readAllStandardError().constData());
    QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
    QCOMPARE(db.Count(), std::optional<qint64>(2 * count));
    for (const char* tag : {"proces a", "proces b"}) {
        ArchiveQuery query;
        query.text = QString::fromLatin1(tag);
        query.limit = 0;
        const std::optional<QList<ArchiveEntry>> found = db.Find(query, false);
        QVERIFY(found);
        QCOMPARE(found->size(), count);
    }
}

QTEST_GUILESS_MAIN(TstArchive)
#include "tst_archive.moc"
