#include "tests/archive/ArchiveTestKit.h"

#include "model/Cp1250.h"

#include <QtTest>

// A list of the archive in the order a column of its window sorts, a page at a time, and
// how many entries a filter matches: on SQLite and on the PostgreSQL server of the tests.
class TstArchiveOrder : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
};

namespace {

struct Made
{
    const char* site;
    const char* event;
    bool succeeded;
    const char* file;
    const char* port;
    const char* user;
    int hour; // of the entry's time; the entries are added in the order of this table
};

// Added out of time order: the number an entry gets says nothing of its time.
constexpr Made kEntries[] = {
    {"bank", "write", true, "", "/dev/ttyS1", "ola", 5},
    {"Apteka", "read", false, "", "/dev/ttyS0", "piotr", 9},
    {"Cukiernia", "save", true, "/srv/b.zvx", "", "Adam", 1},
    {"dom", "load", true, "/srv/a.zvx", "", "ola", 7},
};

} // namespace

void TstArchiveOrder::order_data()
{
    AddBackendColumn();
    QTest::addColumn<int>("order"); // ArchiveOrder
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("sites");
    const auto all = [](ArchiveOrder order, bool ascending, const QStringList& sites) {
        return std::tuple{int(order), ascending, 0, 0, sites};
    };
    const struct
    {
        const char* name;
        std::tuple<int, bool, int, int, QStringList> row;
    } rows[] = {
        {"added, newest first",
         all(ArchiveOrder::Added, false, {"dom", "Cukiernia", "Apteka", "bank"})},
        {"time, newest first",
         all(ArchiveOrder::Time, false, {"Apteka", "dom", "bank", "Cukiernia"})},
        {"time, oldest first",
         all(ArchiveOrder::Time, true, {"Cukiernia", "bank", "dom", "Apteka"})},
        // Letters in any case together.
        {"site", all(ArchiveOrder::Site, true, {"Apteka", "bank", "Cukiernia", "dom"})},
        {"site, descending",
         all(ArchiveOrder::Site, false, {"dom", "Cukiernia", "bank", "Apteka"})},
        // By the words the window shows: odczyt, wczytanie, zapis, zapis do pliku.
        {"event", all(ArchiveOrder::Event, true, {"Apteka", "dom", "bank", "Cukiernia"})},
        // A failure shows its reason ("Błąd"), a success "OK"; equal ones newest first.
        {"outcome", all(ArchiveOrder::Outcome, true, {"Apteka", "dom", "bank", "Cukiernia"})},
        // The file, else the port.
        {"source", all(ArchiveOrder::Source, true, {"Apteka", "bank", "dom", "Cukiernia"})},
        {"user", all(ArchiveOrder::User, true, {"Cukiernia", "dom", "bank", "Apteka"})},
        {"a page", {int(ArchiveOrder::Time), false, 1, 2, {"dom", "bank"}}},
        {"the last page", {int(ArchiveOrder::Time), false, 3, 0, {"Cukiernia"}}},
    };
    for (int backend : {0, 1})
        for (const auto& r : rows) {
            const auto& [order, ascending, offset, limit, sites] = r.row;
            QTest::addRow("%s %s", backend ? "postgresql" : "sqlite", r.name)
                << backend << order << ascending << offset << limit << sites;
        }
}

void TstArchiveOrder::order()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    QFETCH(int, order);
    QFETCH(bool, ascending);
    QFETCH(int, offset);
    QFETCH(int, limit);
    QFETCH(QStringList, sites);
    ArchiveDatabase db(place.kind, place.target);
    QVERIFY2(db.Open(), qPrintable(db.Error()));
    const QDateTime day(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC);
    for (const Made& m : kEntries) {
        TZorvexSettings settings;
        settings.LoadDefaults();
        settings.Comment.SetText(0, Utf8ToCp1250(m.site));
        ArchiveEntry e = ArchiveEntry::Now(*ConfigEventFromName(m.event), settings);
        e.when = day.addSecs(3600 * m.hour);
        e.succeeded = m.succeeded;
        e.outcome = m.succeeded ? QString() : QStringLiteral("Błąd");
        e.fileName = QString::fromUtf8(m.file);
        e.port = QString::fromUtf8(m.port);
        e.user = QString::fromUtf8(m.user);
        e.host = QStringLiteral("laptop");
        QVERIFY2(db.Append(e, false), qPrintable(db.Error()));
    }
    ArchiveQuery query;
    query.order = ArchiveOrder(order);
    query.ascending = ascending;
    query.offset = offset;
    query.limit = limit;
    const std::optional<QList<ArchiveEntry>> found = db.Find(query, false);
    QVERIFY2(found, qPrintable(db.Error()));
    QStringList got;
    for (const ArchiveEntry& e : *found)
        got << e.site;
    QCOMPARE(got, sites);
    // The count leaves the page aside; a filter narrows it as it narrows the list.
    QCOMPARE(db.Count(query), std::optional<qint64>(4));
    query.since = day.addSecs(3600 * 6);
    QCOMPARE(db.Count(query), std::optional<qint64>(2));
}

QTEST_MAIN(TstArchiveOrder)
#include "tst_archiveorder.moc"
