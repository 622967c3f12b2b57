#include "tests/archive/ArchiveTestKit.h"

#include "model/Cp1250.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QtTest>

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
    ArchiveEntry e = ArchiveEntry::Now(i % 2 ? ConfigEvent::Read : ConfigEvent::Write, settings);
    e.when = QDateTime::fromMSecsSinceEpoch(kStart + i * kMinute, Qt::UTC);
    return e;
}

// The plan the database makes for a statement, one line per step.
QStringList Plan(QSqlDatabase& db, bool lite, QString sql, const QVariantList& values)
{
    QSqlQuery q(db);
    if (lite) {
        q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
    } else {
        // A test table is small enough to read whole; an EXPLAIN is never prepared, so
        // the values stand in the text.
        q.exec(QStringLiteral("SET enable_seqscan = off"));
        for (const QVariant& v : values) { // no test value holds a question mark
            QSqlField field(QStringLiteral("v"), v.metaType());
            field.setValue(v);
            sql.replace(sql.indexOf(u'?'), 1, db.driver()->formatValue(field));
        }
    }
    QStringList lines;
    if (lite ? !q.exec() : !q.exec(QStringLiteral("EXPLAIN ") + sql))
        return {QStringLiteral("failed: ") + q.lastError().text()};
    while (q.next())
        lines << q.value(lite ? 3 : 0).toString();
    return lines;
}

// Whether a plan line is wrong for its statement. One with no condition reads every entry
// by design (the whole log, how many in all), but in an index's order, never sorted; one
// that walks in its order up to a limit stops there; any other never reads every entry
// (nor every entry of an index).
bool Wrong(const QString& sql, const QString& line)
{
    static const QRegularExpression sorts(QStringLiteral("TEMP B-TREE FOR ORDER BY|\\bSort\\b"));
    static const QRegularExpression scans(QStringLiteral("\\b(SCAN|Seq Scan on) zvx_entries\\b"));
    if (line.startsWith(QStringLiteral("failed")))
        return true;
    if (!sql.contains(QStringLiteral(" WHERE ")))
        return sorts.match(line).hasMatch();
    return !sql.contains(QStringLiteral(" LIMIT ")) && scans.match(line).hasMatch();
}

} // namespace

class TstArchiveIndex : public QObject
{
    Q_OBJECT

private slots:
    void queries_data();
    void queries();
};

// Every list, count, check and deletion of the window and of "zvx archive": a search
// finds the same whether a page of its entries is among the newest (walked to), only
// among the oldest (through the text index), or its text is too short for the index (read
// entry by entry), what a plain substring test of each entry, newest first, finds; and
// none reads every entry to find the few it wants: each statement is planned from an
// index, but for a text shorter than three letters, which no index serves.
void TstArchiveIndex::queries_data()
{
    // list: with a limit, a page and how many as the window lists; without, everything
    // as the log does. repeat: the check of an append, of the file saved or without one
    // of a port's read. prune: by age, or without a date by count.
    AddBackendColumn();
    QTest::addColumn<QString>("act");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("since"); // minutes after the first entry; -1: none
    QTest::addColumn<QString>("event");
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s newest first", n) << b << "list" << 0 << 5 << "" << -1 << "";
        QTest::addRow("%s event", n) << b << "list" << 0 << 5 << "" << -1 << "read";
        QTest::addRow("%s dates", n) << b << "list" << 0 << 5 << "" << 30 << "";
        QTest::addRow("%s common text", n) << b << "list" << 0 << 5 << "łódź" << -1 << "";
        QTest::addRow("%s upper case, later page", n)
            << b << "list" << 3 << 5 << "ŁÓDŹ" << -1 << "";
        QTest::addRow("%s oldest only", n) << b << "list" << 0 << 3 << "żuraw" << -1 << "";
        QTest::addRow("%s oldest only, event", n)
            << b << "list" << 0 << 2 << "żuraw" << -1 << "read";
        QTest::addRow("%s text, dates", n) << b << "list" << 0 << 5 << "kraków" << 30 << "";
        QTest::addRow("%s quote", n) << b << "list" << 0 << 4 << "\"pod r" << -1 << "";
        QTest::addRow("%s one letter", n) << b << "list" << 0 << 5 << "ł" << -1 << "";
        QTest::addRow("%s nowhere", n) << b << "list" << 0 << 5 << "gdańsk" << -1 << "";
        QTest::addRow("%s log", n) << b << "list" << 0 << 0 << "" << -1 << "";
        QTest::addRow("%s log since", n) << b << "list" << 0 << 0 << "" << 30 << "";
        QTest::addRow("%s log text", n) << b << "list" << 0 << 0 << "bank" << -1 << "";
        QTest::addRow("%s repeat of a file", n) << b << "repeat" << 0 << 0 << "a.zvx" << -1 << "";
        QTest::addRow("%s repeat of a read", n) << b << "repeat" << 0 << 0 << "" << -1 << "";
        QTest::addRow("%s prune by age", n) << b << "prune" << 0 << 0 << "" << 30 << "";
        QTest::addRow("%s prune by count", n) << b << "prune" << 0 << 0 << "" << -1 << "";
    }
}

void TstArchiveIndex::queries()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(QString, act);
    QFETCH(int, offset);
    QFETCH(int, limit);
    QFETCH(QString, text);
    QFETCH(int, since);
    QFETCH(QString, event);
    ArchiveDatabase db(place.kind, place.target);
    QList<ArchiveEntry> entries;
    for (int i = 0; i < kEntries; ++i)
        entries.append(Numbered(i));
    QVERIFY2(db.Open() && db.AppendAll(entries, false), qPrintable(db.Error()));
    QList<std::pair<QString, QVariantList>> seen;
    db.WatchStatements([&](const QString& sql, const QVariantList& v) { seen.append({sql, v}); });
    ArchiveQuery query;
    query.text = text;
    query.event = ConfigEventFromName(event.toStdString());
    if (since >= 0)
        query.since = QDateTime::fromMSecsSinceEpoch(kStart + since * kMinute, Qt::UTC);
    query.order = limit ? ArchiveOrder::Time : ArchiveOrder::Added;
    query.offset = offset;
    query.limit = limit;
    ArchiveEntry again = Numbered(kEntries - 1);
    again.fileName = text;
    if (act == QLatin1String("repeat")) {
        QVERIFY2(db.Append(again), qPrintable(db.Error()));
    } else if (act == QLatin1String("prune")) {
        QVERIFY2(db.Prune(query.since, since < 0 ? 20 : 0), qPrintable(db.Error()));
    } else {
        QList<qint64> matching; // newest first
        for (int i = kEntries - 1; i >= std::max(since, 0); --i) {
            const ArchiveEntry e = Numbered(i);
            if (e.SearchText().contains(text.toLower()) && (event.isEmpty() || e.event == event))
                matching.append(i + 1);
        }
        const std::optional<QList<ArchiveEntry>> found = db.Find(query, false);
        QVERIFY2(found, qPrintable(db.Error()));
        QList<qint64> ids;
        for (const ArchiveEntry& e : *found)
            ids.append(e.id);
        QCOMPARE(ids, matching.mid(offset, limit > 0 ? limit : -1));
        if (limit)
            QCOMPARE(db.Count(query), std::optional<qint64>(matching.size()));
    }
    db.WatchStatements(nullptr);
    QVERIFY(!seen.isEmpty());
    if (!text.isEmpty() && text.size() < 3)
        return;
    const bool lite = place.kind == ArchiveDatabase::Kind::SQLite;
    QVERIFY(OnOwnConnection(place, [&](QSqlDatabase& peek) {
        for (const auto& [sql, values] : seen) {
            const QStringList plan = Plan(peek, lite, sql, values);
            for (const QString& line : plan)
                if (Wrong(sql, line)) {
                    qWarning().noquote() << sql << '\n' << plan.join(u'\n');
                    return false;
                }
        }
        return true;
    }));
}

QTEST_GUILESS_MAIN(TstArchiveIndex)
#include "tst_archiveindex.moc"
