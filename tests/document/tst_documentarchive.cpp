#include "tests/common/DocumentExchange.h"
#include "tests/common/FakeReporter.h"

#include "document/ConfigDocument.h"
#include "document/DocumentArchiver.h"
#include "emulator/DialerEmulator.h"
#include "emulator/DialerFaults.h"
#include "model/ConfigIdentity.h"
#include "model/Cp1250.h"
#include "model/ErrorSink.h"
#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<DialerEmulator> Dialer(const QStringList& faults = {})
{
    DialerEmulator::Options options;
    options.pacing = false;
    for (const QString& fault : faults)
        if (!AddFault(options.faults, fault.toStdString()))
            qFatal("bad fault %s", qPrintable(fault));
    auto dialer = std::make_unique<DialerEmulator>(options);
    dialer->Start();
    return dialer;
}

// A document that keeps its events in an archive in a folder of its own.
struct Rig
{
    explicit Rig(const QTemporaryDir& dir, const QString& file = {}, const QString& queue = {})
        : archiveFile(Options(dir, file).file),
          archiver(Options(dir, file),
                   queue.isEmpty() ? dir.filePath(QStringLiteral("kolejka.sqlite")) : queue)
    {
        document.SetObserver(&archiver);
        QObject::connect(&document, &ConfigDocument::exchangeFinished,
                         [this](const ExchangeOutcome& outcome) { ends.append(outcome); });
    }
    static ArchiveOptions Options(const QTemporaryDir& dir, const QString& archiveFile)
    {
        ArchiveOptions options;
        options.file =
            archiveFile.isEmpty() ? dir.filePath(QStringLiteral("archiwum.sqlite")) : archiveFile;
        return options;
    }
    void LeadTo(const DialerEmulator& dialer)
    {
        document.Link().SerialPort().SetPort(QString::fromStdString(dialer.SlavePath()));
        document.Link().SetReplyInterval(300);
    }
    // What the archive holds once the archiver has done all it was given.
    QList<ArchiveEntry> Entries()
    {
        archiver.Settle();
        ArchiveDatabase db(ArchiveDatabase::Kind::SQLite, archiveFile);
        if (!db.Open())
            return {};
        return db.Find({}).value_or(QList<ArchiveEntry>{});
    }

    QString archiveFile;
    FakeReporter reporter;
    DocumentArchiver archiver;
    ConfigDocument document{reporter};
    QList<ExchangeOutcome> ends;
};

} // namespace

class TstDocumentArchive : public QObject
{
    Q_OBJECT

private slots:
    void exchanges_data();
    void exchanges();
    void filesAndRepeats();
    void unreachableDuringRead();
    void statusWhenUnreachable_data();
    void statusWhenUnreachable();
    void busyArchiveHoldsNothing();
    void anotherArchiveChosen();
};

void TstDocumentArchive::exchanges_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("failure"); // empty: succeeds
    const int read = int(ConfigEvent::Read), verify = int(ConfigEvent::Verify),
              write = int(ConfigEvent::Write), restart = int(ConfigEvent::Restart);
    const QString noAnswer = QString::fromUtf8(ConstsZVX::TransferNoAnswer);
    QTest::newRow("read") << read << QStringList{} << "read"
                          << "";
    QTest::newRow("read, silent") << read << QStringList{"silent"} << "read" << noAnswer;
    QTest::newRow("verify") << verify << QStringList{} << "verify"
                            << "";
    QTest::newRow("write") << write << QStringList{} << "write"
                           << "";
    QTest::newRow("restart") << restart << QStringList{} << "restart"
                             << "";
    QTest::newRow("restart, silent") << restart << QStringList{"silent"} << "restart"
                                     << QString::fromUtf8(ConstsZVX::RestartNoAnswer);
}

void TstDocumentArchive::exchanges()
{
    QFETCH(int, kind);
    QFETCH(QStringList, faults);
    QFETCH(QString, event);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    const auto dialer = Dialer(faults);
    Rig rig(dir);
    rig.LeadTo(*dialer);
    ConfigDocument& document = rig.document;
    document.Settings().Comment.SetText(0, Utf8ToCp1250("Obiekt Żółw"));
    QVERIFY(StartExchange(document, ConfigEvent(kind)));
    QTRY_COMPARE_WITH_TIMEOUT(rig.ends.size(), 1, 20000);
    const QList<ArchiveEntry> entries = rig.Entries();
    QCOMPARE(entries.size(), 1);
    const ArchiveEntry& e = entries.first();
    QCOMPARE(e.event, event);
    QCOMPARE(e.succeeded, failure.isEmpty());
    QCOMPARE(e.outcome, failure);
    QCOMPARE(e.port, QString::fromStdString(dialer->SlavePath()));
    QVERIFY(e.fileName.isEmpty());
    QVERIFY(qAbs(e.when.secsTo(QDateTime::currentDateTimeUtc())) < 600);
    // What passed through: after a good read or check read the dialer's image.
    const bool fromDialer = failure.isEmpty() && (event == "read" || event == "verify");
    const TCfg expected = fromDialer ? dialer->Image() : document.Settings().Cfg;
    QCOMPARE(e.fingerprint.toStdString(), ImageFingerprint(expected));
    // Record 0 as the document holds it after the event (a read brings the dialer's).
    QCOMPARE(e.site, QString::fromStdString(Cp1250ToUtf8(document.Settings().Comment.GetText(0))));
    QCOMPARE(e.site == QStringLiteral("Obiekt Żółw"), !(event == "read" && failure.isEmpty()));
    QVERIFY(rig.archiver.Problem().isEmpty());
}

void TstDocumentArchive::filesAndRepeats()
{
    QTemporaryDir dir;
    Rig rig(dir);
    ConfigDocument& document = rig.document;
    document.LoadDefaults();
    const QString path = dir.filePath(QStringLiteral("sklep.zvx"));
    QCOMPARE(document.Save(path).outcome, FileOutcome::Done);
    QCOMPARE(document.Load(path).outcome, FileOutcome::Done);
    rig.reporter.confirmAnswer = false;
    QCOMPARE(document.Load(path).outcome, FileOutcome::Declined); // kept nothing
    QCOMPARE(document.Save(dir.filePath(QStringLiteral("brak/x.zvx"))).outcome,
             FileOutcome::Failed);
    QCOMPARE(document.Open(path).outcome, FileOutcome::Done); // a command's input: kept nowhere
    // Another configuration (an archive entry's) saved as a file: kept, the document untouched.
    TZorvexSettings other = document.Settings();
    other.Comment.SetText(0, Utf8ToCp1250("Kopia z archiwum"));
    const TZorvexSettings before = document.Settings();
    const QString copy = dir.filePath(QStringLiteral("kopia.zvx"));
    QCOMPARE(document.SaveCopy(other, copy).outcome, FileOutcome::Done);
    QVERIFY(document.Settings() == before);
    QCOMPARE(document.FileName(), path);
    QList<ArchiveEntry> entries = rig.Entries();
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries[0].event, QStringLiteral("save"));
    QCOMPARE(entries[0].fileName, copy);
    QCOMPARE(entries[0].site, QStringLiteral("Kopia z archiwum"));
    entries.removeFirst();
    QCOMPARE(entries[2].event, QStringLiteral("save"));
    QCOMPARE(entries[2].fileName, path);
    QVERIFY(entries[2].port.isEmpty());
    QCOMPARE(entries[1].event, QStringLiteral("load"));
    QCOMPARE(entries[1].repeatOf, entries[2].id); // the same configuration of the same file
    QCOMPARE(entries[0].event, QStringLiteral("save"));
    QCOMPARE(entries[0].succeeded, false);
    QVERIFY(!entries[0].outcome.isEmpty());
}

void TstDocumentArchive::unreachableDuringRead()
{
    QTemporaryDir dir;
    // The archive's folder is a plain file: the archive cannot be reached.
    const QString blocker = dir.filePath(QStringLiteral("zajete"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const auto dialer = Dialer();
    Rig rig(dir, blocker + QStringLiteral("/archiwum.sqlite"));
    rig.LeadTo(*dialer);
    QSignalSpy problems(&rig.archiver, &DocumentArchiver::problemChanged);
    rig.document.Read();
    QTRY_COMPARE_WITH_TIMEOUT(rig.ends.size(), 1, 20000);
    QVERIFY(rig.ends.first().succeeded);    // the read went on and ended as it would
    QCOMPARE(rig.reporter.shown.size(), 1); // its own message, nothing about the archive
    QCOMPARE(rig.archiver.Waiting(), 1);
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().first().toString().startsWith(QStringLiteral("Archiwum")));

    // Back again: the entry arrives, and the status bar's line goes.
    QVERIFY(QFile::remove(blocker));
    rig.archiver.Flush();
    const QList<ArchiveEntry> entries = rig.Entries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().event, QStringLiteral("read"));
    QCOMPARE(entries.first().fingerprint.toStdString(), ImageFingerprint(dialer->Image()));
    QCOMPARE(rig.archiver.Waiting(), 0);
    QCOMPARE(problems.size(), 2);
    QVERIFY(rig.archiver.Problem().isEmpty());
}

void TstDocumentArchive::statusWhenUnreachable_data()
{
    QTest::addColumn<bool>("queueBlocked");
    QTest::addColumn<qint64>("waiting");
    QTest::addColumn<bool>("lost");
    QTest::newRow("the queue keeps the entries") << false << qint64(2) << false;
    QTest::newRow("the queue out of reach too: lost") << true << qint64(0) << true;
}

// Two saves while the archive is out of reach: the status counts what waits in the
// queue, or says the entries were lost when the queue could not keep them either.
void TstDocumentArchive::statusWhenUnreachable()
{
    QFETCH(bool, queueBlocked);
    QFETCH(qint64, waiting);
    QFETCH(bool, lost);
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("zajete")); // a file, not a folder
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // A queue under a file cannot be made, nor set aside as a broken one could.
    Rig rig(dir, blocker + QStringLiteral("/archiwum.sqlite"),
            queueBlocked ? blocker + QStringLiteral("/kolejka.sqlite") : QString());
    rig.document.LoadDefaults();
    for (const char* name : {"pierwszy.zvx", "drugi.zvx"})
        QCOMPARE(rig.document.Save(dir.filePath(QLatin1String(name))).outcome, FileOutcome::Done);
    rig.archiver.Settle();
    QTRY_COMPARE(rig.archiver.Status().waiting, waiting);
    QCOMPARE(rig.archiver.Status().lost, lost);
    QVERIFY(!rig.archiver.Status().problem.isEmpty());
}

// Another program holds the archive for a while: the events return at once, their
// entries wait their turn on the archive's thread and arrive in order (were they written
// on this thread, the lock below could not be let go until the busy timeout had passed
// and the entries had gone to the queue).
void TstDocumentArchive::busyArchiveHoldsNothing()
{
    QTemporaryDir dir;
    Rig rig(dir);
    ConfigDocument& document = rig.document;
    document.LoadDefaults();
    const QString first = dir.filePath(QStringLiteral("pierwszy.zvx"));
    const QString second = dir.filePath(QStringLiteral("drugi.zvx"));
    QCOMPARE(document.Save(first).outcome, FileOutcome::Done);
    QCOMPARE(rig.Entries().size(), 1);
    {
        const QString name = QStringLiteral("zvx-test-holder");
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        holder.setDatabaseName(rig.archiveFile);
        QVERIFY(holder.open());
        QSqlQuery hold(holder);
        QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QCOMPARE(document.Save(second).outcome, FileOutcome::Done);
        QCOMPARE(document.Load(first).outcome, FileOutcome::Done);
        QVERIFY(hold.exec(QStringLiteral("COMMIT")));
        hold = QSqlQuery();
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    const QList<ArchiveEntry> entries = rig.Entries();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[1].fileName, second);
    QCOMPARE(entries[0].event, QStringLiteral("load"));
    QCOMPARE(rig.archiver.Waiting(), 0);
    QVERIFY(rig.archiver.Problem().isEmpty());
}

// The options name another archive: the next entries go there, the first stays put.
void TstDocumentArchive::anotherArchiveChosen()
{
    QTemporaryDir dir;
    Rig rig(dir);
    rig.document.LoadDefaults();
    QCOMPARE(rig.document.Save(dir.filePath(QStringLiteral("a.zvx"))).outcome, FileOutcome::Done);
    const QString first = rig.archiveFile;
    rig.archiveFile = dir.filePath(QStringLiteral("firma.sqlite"));
    ArchiveOptions options;
    options.file = rig.archiveFile;
    rig.archiver.SetOptions(options);
    QCOMPARE(rig.document.Save(dir.filePath(QStringLiteral("b.zvx"))).outcome, FileOutcome::Done);
    const QList<ArchiveEntry> now = rig.Entries();
    QCOMPARE(now.size(), 1);
    QVERIFY(now.first().fileName.endsWith(QStringLiteral("b.zvx")));
    rig.archiveFile = first;
    QCOMPARE(rig.Entries().size(), 1);
}

QTEST_GUILESS_MAIN(TstDocumentArchive)
#include "tst_documentarchive.moc"
