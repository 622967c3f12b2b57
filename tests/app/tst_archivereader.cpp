#include "app/archive/ArchiveListModel.h"
#include "app/archive/ArchiveListReader.h"
#include "archive/ArchiveDatabase.h"
#include "model/Cp1250.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The archive window's reads: a newer filter supersedes an older read, and the page comes
// before how many match.
class TstArchiveReader : public QObject
{
    Q_OBJECT

private slots:
    void supersede_data();
    void supersede();
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

// Driven on this thread, through the window's own connection, over a page and twenty
// entries "Obiekt i".
void TstArchiveReader::supersede()
{
    QFETCH(int, announced);
    QFETCH(int, newerAfter);
    QFETCH(QString, text);
    QFETCH(int, pages);
    QFETCH(int, counts);
    QTemporaryDir dir;
    ArchiveDatabase db(ArchiveDatabase::Kind::SQLite, dir.filePath("archiwum.sqlite"));
    QList<ArchiveEntry> entries;
    TZorvexSettings settings;
    settings.LoadDefaults();
    for (int i = 0; i < ArchiveListModel::PageSize + 20; ++i) {
        settings.Comment.SetText(0, Utf8ToCp1250("Obiekt " + std::to_string(i)));
        entries.append(ArchiveEntry::Now(ConfigEvent::Read, settings));
    }
    QVERIFY(db.Open() && db.AppendAll(entries, false));
    ArchiveListReader reader(db);
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

QTEST_GUILESS_MAIN(TstArchiveReader)
#include "tst_archivereader.moc"
