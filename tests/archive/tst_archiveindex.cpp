#include "tests/archive/ArchiveTestKit.h"

#include "model/Cp1250.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QtTest>

#include <algorithm>

namespace {

constexpr qint64 kStart = 1700000000000;
constexpr qint64 kMinute = 60000;
constexpr int kEntries = 60;

// Entry i, one minute after entry i - 1: three kinds of object in turn, the oldest ten
// with a second record no newer one has.
ArchiveEntry Numbered(int i)
{
    static const char* const sites[] = {"Sklep Łódź %1", "Bank Kraków %1", "Dom \"Pod Różą\" %1"};
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(QString::fromUtf8(sites[i % 3]).arg(i).toStdString()));
    if (i < 10)
        settings.Comment.SetText(1, Utf8ToCp1250("Stary Żuraw"));
    settings.Cfg.SetDigits(std::to_string(48600000 + i), 112, 16);
    ArchiveEntry e = ArchiveEntry::Now(i % 2 ? ConfigEvent::Read : ConfigEvent::Write, settings);
    e.when = QDateTime::fromMSecsSinceEpoch(kStart + i * kMinute, Qt::UTC);
    e.port = QStringLiteral("COM%1").arg(i % 4 + 1);
    return e;
}

// The statements a call runs, with their values.
struct Seen
{
    QString sql;
    QVariantList values;
};

// Whether a plan line says the statement reads every entry (or every entry of an index).
bool FullScan(ArchiveDatabase::Kind kind, const QString& line)
{
    static const QRegularExpression lite(QStringLiteral("^\\s*[-|`]*\\s*SCAN zvx_entries( |$)"));
    static const QRegularExpression pg(QStringLiteral("Seq Scan on zvx_entries"));
    return (kind == ArchiveDatabase::Kind::SQLite ? lite : pg).match(line).hasMatch();
}

// Whether a plan line sorts the rows it has read.
bool Sorts(ArchiveDatabase::Kind kind, const QString& line)
{
    return kind == ArchiveDatabase::Kind::SQLite
               ? line.contains(QStringLiteral("TEMP B-TREE FOR ORDER BY"))
               : line.contains(QStringLiteral("Sort"));
}

// The plan the database makes for a statement, one line per step.
QStringList Plan(QSqlDatabase& db, ArchiveDatabase::Kind kind, const Seen& seen)
{
    QSqlQuery q(db);
    const bool lite = kind == ArchiveDatabase::Kind::SQLite;
    if (lite) {
        q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + seen.sql);
        for (const QVariant& v : seen.values)
            q.addBindValue(v);
    } else {
        // A test table is small enough to read whole; an EXPLAIN is never prepared, so
        // the values stand in the text.
        q.exec(QStringLiteral("SET enable_seqscan = off"));
        QString sql = seen.sql;
        qsizetype at = 0;
        for (const QVariant& v : seen.values) {
            QSqlField field(QStringLiteral("v"), v.metaType());
            field.setValue(v);
            const QString literal = db.driver()->formatValue(field);
            at = sql.indexOf(u'?', at);
            sql.replace(at, 1, literal);
            at += literal.size();
        }
        q.exec(QStringLiteral("EXPLAIN ") + sql);
    }
    QStringList lines;
    if (lite ? !q.exec() : !q.isActive())
        return {QStringLiteral("failed: ") + q.lastError().text()};
    while (q.next())
        lines << q.value(lite ? 3 : 0).toString();
    return lines;
}

} // namespace

class TstArchiveIndex : public QObject
{
    Q_OBJECT

private slots:
    void searchesAgree_data();
    void searchesAgree();
    void everyQueryIndexed_data();
    void everyQueryIndexed();

private:
    // An archive at place holding entries 0..kEntries-1.
    static bool Fill(ArchiveDatabase& db);
};

bool TstArchiveIndex::Fill(ArchiveDatabase& db)
{
    QList<ArchiveEntry> entries;
    for (int i = 0; i < kEntries; ++i)
        entries.append(Numbered(i));
    return db.AppendAll(entries, false);
}

// A search finds the same whether a page of its entries is among the newest, only among
// the oldest, or its text is too short for the text index: what a plain substring test of
// each entry's text, newest first, finds.
void TstArchiveIndex::searchesAgree_data()
{
    AddBackendColumn();
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("limit");
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s common, first page", n) << b << "łódź"
                                                  << "" << 0 << 5;
        QTest::addRow("%s common, upper case, later page", n) << b << "ŁÓDŹ"
                                                              << "" << 3 << 5;
        QTest::addRow("%s oldest only", n) << b << "żuraw"
                                           << "" << 0 << 3;
        QTest::addRow("%s oldest only, one event", n) << b << "żuraw"
                                                      << "read" << 0 << 2;
        QTest::addRow("%s quote", n) << b << "\"pod r"
                                     << "" << 0 << 4;
        QTest::addRow("%s across a blank", n) << b << "w 1"
                                              << "" << 0 << 0;
        QTest::addRow("%s one letter", n) << b << "ł"
                                          << "" << 0 << 5;
        QTest::addRow("%s two letters, all", n) << b << "óż"
                                                << "" << 0 << 0;
        QTest::addRow("%s phone, all", n) << b << "4860001"
                                          << "" << 0 << 0;
        QTest::addRow("%s nowhere", n) << b << "gdańsk"
                                       << "" << 0 << 5;
    }
}

void TstArchiveIndex::searchesAgree()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QString, text);
    QFETCH(QString, event);
    QFETCH(int, offset);
    QFETCH(int, limit);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open() && Fill(db), qPrintable(db.Error()));

    QList<qint64> matching; // newest first
    for (int i = kEntries - 1; i >= 0; --i) {
        const ArchiveEntry e = Numbered(i);
        if (e.SearchText().contains(text.toLower()) && (event.isEmpty() || e.event == event))
            matching.append(i + 1);
    }
    ArchiveQuery query;
    query.text = text;
    query.event = ConfigEventFromName(event.toStdString());
    query.order = ArchiveOrder::Time;
    query.offset = offset;
    query.limit = limit;
    const std::optional<QList<ArchiveEntry>> found = db.Find(query, false);
    QVERIFY2(found, qPrintable(db.Error()));
    QList<qint64> ids;
    for (const ArchiveEntry& e : *found)
        ids.append(e.id);
    QCOMPARE(ids, matching.mid(offset, limit > 0 ? limit : -1));
    QCOMPARE(db.Count(query), std::optional<qint64>(matching.size()));
}

// No list, count, check or deletion of the window or of "zvx archive" reads every entry
// to find the few it wants: each statement they run is planned from an index. (A search
// text shorter than three letters is the one case no index serves.)
void TstArchiveIndex::everyQueryIndexed_data()
{
    AddBackendColumn();
    QTest::addColumn<QString>("act"); // window, log, repeat, prune
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("event"); // ConfigEvent; -1: any
    QTest::addColumn<int>("since"); // minutes after the first entry; also of prune; -1: none
    QTest::addColumn<QString>("file");
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s newest first", n) << b << "window"
                                            << "" << -1 << -1 << "";
        QTest::addRow("%s event", n) << b << "window"
                                     << "" << int(ConfigEvent::Read) << -1 << "";
        QTest::addRow("%s dates", n) << b << "window"
                                     << "" << -1 << 30 << "";
        QTest::addRow("%s search", n) << b << "window"
                                      << "kraków" << -1 << -1 << "";
        QTest::addRow("%s search, event", n) << b << "window"
                                             << "kraków" << int(ConfigEvent::Read) << -1 << "";
        QTest::addRow("%s search, dates", n) << b << "window"
                                             << "kraków" << -1 << 30 << "";
        QTest::addRow("%s log", n) << b << "log"
                                   << "" << -1 << -1 << "";
        QTest::addRow("%s log since", n) << b << "log"
                                         << "" << -1 << 30 << "";
        QTest::addRow("%s log search", n) << b << "log"
                                          << "bank" << -1 << -1 << "";
        QTest::addRow("%s repeat check, file", n) << b << "repeat"
                                                  << "" << -1 << -1 << "a.zvx";
        QTest::addRow("%s repeat check, port", n) << b << "repeat"
                                                  << "" << -1 << -1 << "";
        QTest::addRow("%s prune by age", n) << b << "prune"
                                            << "" << -1 << 30 << "";
        QTest::addRow("%s prune by count", n) << b << "prune"
                                              << "" << -1 << -1 << "";
    }
}

void TstArchiveIndex::everyQueryIndexed()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QString, act);
    QFETCH(QString, text);
    QFETCH(int, event);
    QFETCH(int, since);
    QFETCH(QString, file);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open() && Fill(db), qPrintable(db.Error()));
    QList<Seen> seen;
    db.WatchStatements([&](const QString& sql, const QVariantList& values) {
        seen.append({sql, values});
    });
    // As the window lists (a page and how many), as "zvx archive log" lists (everything).
    ArchiveQuery query;
    query.text = text;
    if (event >= 0)
        query.event = ConfigEvent(event);
    if (since >= 0)
        query.since = QDateTime::fromMSecsSinceEpoch(kStart + since * kMinute, Qt::UTC);
    query.order = act == QLatin1String("window") ? ArchiveOrder::Time : ArchiveOrder::Added;
    query.limit = act == QLatin1String("window") ? 500 : 0;
    ArchiveEntry again = Numbered(kEntries - 1);
    again.fileName = file;
    bool done = false;
    if (act == QLatin1String("repeat"))
        done = db.Append(again);
    else if (act == QLatin1String("prune"))
        done = db.Prune(query.since, since < 0 ? 20 : 0).has_value();
    else
        done = db.Find(query, false) && (query.limit == 0 || db.Count(query));
    QVERIFY2(done, qPrintable(db.Error()));
    QVERIFY(!seen.isEmpty());
    db.WatchStatements(nullptr);
    QVERIFY(OnOwnConnection(place, [&](QSqlDatabase& peek) {
        for (const Seen& s : seen) {
            const QStringList plan = Plan(peek, place.kind, s);
            // A statement with no condition reads every entry by design (the whole log, how
            // many in all), but in an index's order, never sorted; one that walks in its
            // order up to a limit stops there.
            const bool everything = !s.sql.contains(QStringLiteral(" WHERE "));
            const bool walk = s.sql.contains(QStringLiteral(" LIMIT "));
            const bool bad = std::any_of(plan.begin(), plan.end(), [&](const QString& line) {
                return line.startsWith(QStringLiteral("failed")) ||
                       (everything ? Sorts(place.kind, line) : !walk && FullScan(place.kind, line));
            });
            if (bad) {
                qWarning().noquote() << s.sql << '\n' << plan.join(u'\n');
                return false;
            }
        }
        return true;
    }));
}

QTEST_GUILESS_MAIN(TstArchiveIndex)
#include "tst_archiveindex.moc"
