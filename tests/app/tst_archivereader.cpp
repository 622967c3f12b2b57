#include "app/archive/ArchiveListModel.h"
#include "app/archive/ArchiveListReader.h"
#include "archive/ArchiveDatabase.h"
#include "model/Cp1250.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// An archive of n entries "Obiekt i" (i from 0, newest last) in folder.
bool Filled(ArchiveDatabase& db, int n)
{
    QList<ArchiveEntry> entries;
    for (int i = 0; i < n; ++i) {
        TZorvexSettings settings;
        settings.LoadDefaults();
        settings.Comment.SetText(0, Utf8ToCp1250("Obiekt " + std::to_string(i)));
        ArchiveEntry e = ArchiveEntry::Now(ConfigEvent::Read, settings);
        e.when = QDateTime::fromMSecsSinceEpoch(1700000000000 + i * 1000LL, Qt::UTC);
        entries.append(e);
    }
    return db.Open() && db.AppendAll(entries, false);
}

} // namespace

// The archive window's reads: a newer list supersedes an older one, and the page comes
// before how many match.
class TstArchiveReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Filled(m_db, ArchiveListModel::PageSize + 20)); }
    void supersede_data();
    void supersede();
    void offThread();

private:
    QTemporaryDir m_dir;
    ArchiveDatabase m_db{ArchiveDatabase::Kind::SQLite, m_dir.filePath("archiwum.sqlite")};
};

void TstArchiveReader::supersede_data()
{
    QTest::addColumn<int>("announced");  // the newest generation announced before the read
    QTest::addColumn<int>("newerAfter"); // announced once the page is read; 0: none
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pages"); // pageRead signals
    QTest::addColumn<int>("counts");
    QTest::addRow("current, full page") << 1 << 0 << "" << 1 << 1;
    QTest::addRow("current, short page") << 1 << 0 << "obiekt 51" << 1 << 0;
    QTest::addRow("older than announced") << 2 << 0 << "" << 0 << 0;
    QTest::addRow("superseded after its page") << 1 << 2 << "" << 1 << 0;
}

// Driven on this thread, through the window's own connection.
void TstArchiveReader::supersede()
{
    QFETCH(int, announced);
    QFETCH(int, newerAfter);
    QFETCH(QString, text);
    QFETCH(int, pages);
    QFETCH(int, counts);
    ArchiveListReader reader(m_db);
    reader.Supersede(announced);
    if (newerAfter)
        connect(&reader, &ArchiveListReader::pageRead, &reader,
                [&] { reader.Supersede(newerAfter); });
    QSignalSpy paged(&reader, &ArchiveListReader::pageRead);
    QSignalSpy counted(&reader, &ArchiveListReader::counted);
    ArchiveQuery page;
    page.text = text;
    page.order = ArchiveOrder::Time;
    page.limit = ArchiveListModel::PageSize;
    reader.Read(1, page, true);
    QCOMPARE(paged.size(), pages);
    QCOMPARE(counted.size(), counts);
    if (counts)
        QCOMPARE(counted.first().at(1).toLongLong(), qint64(ArchiveListModel::PageSize + 20));
}

// On a thread of its own: a filter changed while the first is read lists only the newer
// one's entries, a page first, then how many in all.
void TstArchiveReader::offThread()
{
    ArchiveListModel::ReadOffThread = true;
    const auto reset = qScopeGuard([] { ArchiveListModel::ReadOffThread = false; });
    ArchiveListModel model(m_db);
    QSignalSpy loaded(&model, &ArchiveListModel::loaded);
    ArchiveQuery filter;
    filter.text = QStringLiteral("obiekt 1");
    model.SetFilter(filter);
    filter.text = QStringLiteral("obiekt");
    model.SetFilter(filter);
    // Every read answers within its bounds; the loop waits for the answers, not for time.
    const QDeadlineTimer deadline(30000);
    while (model.Reading() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1000);
    QVERIFY(!model.Reading());
    QCOMPARE(model.Error(), QString());
    QCOMPARE(model.Entries().size(), ArchiveListModel::PageSize);
    QCOMPARE(model.Entries().first().site, QStringLiteral("Obiekt 519"));
    QCOMPARE(model.Total(), std::optional<qint64>(ArchiveListModel::PageSize + 20));
    // The page, then the count; nothing of the superseded filter.
    QCOMPARE(loaded.size(), 2);
}

QTEST_GUILESS_MAIN(TstArchiveReader)
#include "tst_archivereader.moc"
