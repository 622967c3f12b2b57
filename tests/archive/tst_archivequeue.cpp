// The archive never holds up the work and never loses or doubles an entry: every wait on
// it ends (a lock another program holds, a server that has stopped answering), a broken
// local queue is set aside, and programs sending one queue at once send each entry once.

#include "tests/archive/ArchiveTestKit.h"
#include "tests/archive/SilentServer.h"

#include "archive/ArchiveRecorder.h"
#include "archive/ArchiveSql.h"
#include "model/Cp1250.h"
#include "resources/ConstsZVX.h"
#include "settings/TemporaryProgramSettings.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

ArchiveEntry Entry(const char* site)
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(site));
    ArchiveEntry e = ArchiveEntry::Now(ConfigEvent::Save, settings);
    e.fileName = QStringLiteral("/obiekty/%1.zvx").arg(QString::fromUtf8(site));
    return e;
}

ArchiveOptions OptionsFor(const ArchivePlace& place)
{
    ArchiveOptions options;
    options.postgres = place.kind == ArchiveDatabase::Kind::PostgreSQL;
    (options.postgres ? options.connection : options.file) = place.target;
    return options;
}

// Another program's connection that holds the archive's table locked while it lives.
class LockHolder
{
public:
    explicit LockHolder(const ArchivePlace& place) : m_name(QStringLiteral("zvx-test-holder"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ArchiveDriverName(place.kind), m_name);
        const bool lite = place.kind == ArchiveDatabase::Kind::SQLite;
        if (lite)
            db.setDatabaseName(place.target);
        else
            db.setConnectOptions(place.target);
        m_held = db.open() &&
                 ExecAll(db, lite ? QStringList{QStringLiteral("BEGIN IMMEDIATE")}
                                  : QStringList{QStringLiteral("BEGIN"),
                                                QStringLiteral("LOCK TABLE zvx_entries IN ACCESS "
                                                               "EXCLUSIVE MODE")});
    }
    ~LockHolder()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool Held() const { return m_held; }

private:
    QString m_name;
    bool m_held = false;
};

// The archive as it stands: sites newest first.
QStringList Sites(const ArchivePlace& place)
{
    ArchiveDatabase db(place.kind, place.target);
    QStringList sites;
    ArchiveQuery all;
    all.limit = 0;
    if (db.Open())
        for (const ArchiveEntry& e : db.Find(all, false).value_or(QList<ArchiveEntry>{}))
            sites << e.site;
    return sites;
}

} // namespace

class TstArchiveQueue : public QObject
{
    Q_OBJECT

private slots:
    void boundedWaits_data();
    void boundedWaits();
    void brokenQueueSetAside_data();
    void brokenQueueSetAside();
    void fourFlushersSendOnce_data();
    void fourFlushersSendOnce();
    void unknownDatabaseQueues();
    void reasons_data();
    void reasons();
    void fileAccess_data();
    void fileAccess();
};

void TstArchiveQueue::boundedWaits_data()
{
    QTest::addColumn<int>("backend"); // 0 SQLite, 1 the test server, 2 a silent one
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("reason");
    const QString locked = QString::fromUtf8(ConstsZVX::ArchiveLocked);
    QTest::newRow("sqlite locked by another program") << 0 << "lock" << locked;
    QTest::newRow("postgresql table locked by another client") << 1 << "lock" << locked;
    QTest::newRow("postgresql server mute, connect_timeout=0")
        << 2 << "mute" << QStringLiteral("Nie można połączyć się z archiwum");
    QTest::newRow("postgresql server silent after login")
        << 2 << "login" << QStringLiteral("archiwum nie odpowiedziało w ciągu 5 s");
}

// Whatever holds the archive, an entry waits a few seconds at most and then goes to the
// local queue with the reason; once the archive is free, the queue reaches it.
void TstArchiveQueue::boundedWaits()
{
    QFETCH(QString, holder);
    QFETCH(QString, reason);
    // The reason is told once, in Polish: nothing of the driver's own reaches standard error.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QTemporaryDir dir;
    std::unique_ptr<SilentServer> silent;
    ArchivePlace place;
    if (holder != QLatin1String("lock")) {
        silent = std::make_unique<SilentServer>(dir.path(), holder == QLatin1String("mute")
                                                                ? SilentServer::Mode::Mute
                                                                : SilentServer::Mode::AfterLogin);
        QVERIFY(silent->IsValid());
        place.kind = ArchiveDatabase::Kind::PostgreSQL;
        place.target = silent->Target();
    } else {
        ZVX_ARCHIVE_PLACE(real, dir)
        place = real;
        ArchiveDatabase made(place.kind, place.target);
        QVERIFY2(made.Open(), qPrintable(made.Error()));
    }
    const QString queue = dir.filePath(QStringLiteral("kolejka.sqlite"));
    {
        std::unique_ptr<LockHolder> lock;
        if (holder == QLatin1String("lock")) {
            lock = std::make_unique<LockHolder>(place);
            QVERIFY(lock->Held());
        }
        ArchiveRecorder recorder(OptionsFor(place), queue);
        ArchiveEntry entry = Entry("Zablokowany");
        QVERIFY(!recorder.Record(entry));
        QVERIFY2(recorder.Problem().contains(reason), qPrintable(recorder.Problem()));
        QVERIFY(recorder.Problem().startsWith(QStringLiteral("Archiwum niedostępne (")));
        QCOMPARE(recorder.Waiting(), 1);
        if (silent)
            QVERIFY(silent->WaitForClient(0)); // it did talk to the server
    }
    if (!silent) {
        ArchiveRecorder recorder(OptionsFor(place), queue);
        QVERIFY2(recorder.Flush(), qPrintable(recorder.Problem()));
        QCOMPARE(recorder.Waiting(), 0);
        QCOMPARE(Sites(place), QStringList{QStringLiteral("Zablokowany")});
    }
}

void TstArchiveQueue::brokenQueueSetAside_data()
{
    AddBackendColumn();
    QTest::addColumn<QString>("queue"); // what stands where the queue should be
    for (int b : {0, 1}) {
        const char* n = b ? "postgresql" : "sqlite";
        QTest::addRow("%s garbage", n) << b << "garbage";
        QTest::addRow("%s a folder", n) << b << "folder";
        QTest::addRow("%s another program's database", n) << b << "other";
        QTest::addRow("%s a newer program's queue", n) << b << "newer";
    }
}

// A queue that can never be read again is set aside whole, said once, and the archive
// (which is there) takes the entries as if nothing had happened.
void TstArchiveQueue::brokenQueueSetAside()
{
    QFETCH(QString, queue);
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    const QString path = dir.filePath(QStringLiteral("kolejka.sqlite"));
    QByteArray before;
    if (queue == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("kolejka.sqlite")));
    } else if (queue == QLatin1String("garbage")) {
        before = QByteArray(4096, 'x');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    } else {
        const ArchivePlace queuePlace{ArchiveDatabase::Kind::SQLite, path};
        QVERIFY(OnOwnConnection(queuePlace, [&](QSqlDatabase& db) {
            return ExecAll(db, queue == QLatin1String("other")
                                   ? QStringList{QStringLiteral("CREATE TABLE other (x INTEGER)")}
                                   : QStringList{QStringLiteral("CREATE TABLE zvx_schema "
                                                                "(version INTEGER)"),
                                                 QStringLiteral("INSERT INTO zvx_schema "
                                                                "VALUES (99)")});
        }));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        before = file.readAll();
    }

    ArchiveRecorder recorder(OptionsFor(place), path);
    ArchiveEntry first = Entry("Pierwszy");
    QVERIFY2(recorder.Record(first), qPrintable(recorder.Problem()));
    QVERIFY(recorder.Problem().isEmpty());
    const QStringList notices = recorder.TakeNotices();
    QCOMPARE(notices.size(), 1);
    const QString prefix = QStringLiteral("Uszkodzona kolejka archiwum przeniesiona do ");
    QVERIFY2(notices.first().startsWith(prefix), qPrintable(notices.first()));
    const QString aside = notices.first().mid(prefix.size()).section(u';', 0, 0);
    QVERIFY(aside.startsWith(path + QStringLiteral(".uszkodzona-")));
    // Set aside whole, nothing of it changed.
    if (queue == QLatin1String("folder")) {
        QVERIFY(QFileInfo(aside).isDir());
    } else {
        QFile file(aside);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    // Said once; the new queue works.
    ArchiveEntry second = Entry("Drugi");
    QVERIFY(recorder.Record(second));
    QVERIFY(recorder.TakeNotices().isEmpty());
    QCOMPARE(recorder.Waiting(), 0);
    QCOMPARE(Sites(place), (QStringList{"Drugi", "Pierwszy"}));
}

void TstArchiveQueue::fourFlushersSendOnce_data()
{
    AddBackendColumn();
    QTest::newRow("sqlite") << 0;
    QTest::newRow("postgresql") << 1;
}

// Four programs that find the same queue at once (four zvx started by one script after
// the server came back) send each of its entries once.
void TstArchiveQueue::fourFlushersSendOnce()
{
    QTemporaryDir dir;
    ZVX_ARCHIVE_PLACE(place, dir)
    {
        ArchiveDatabase made(place.kind, place.target);
        QVERIFY2(made.Open(), qPrintable(made.Error()));
    }
    const QString queue = dir.filePath(QStringLiteral("kolejka.sqlite"));
    const int count = 20;
    QStringList expected;
    {
        ArchiveDatabase waiting(ArchiveDatabase::Kind::SQLite, queue);
        QVERIFY2(waiting.Open(), qPrintable(waiting.Error()));
        for (int i = 0; i < count; ++i) {
            const QByteArray site = "Obiekt " + QByteArray::number(i);
            ArchiveEntry e = Entry(site.constData());
            QVERIFY(waiting.Append(e, false));
            expected.prepend(QString::fromLatin1(site));
        }
    }
    const QString kind =
        place.kind == ArchiveDatabase::Kind::SQLite ? QStringLiteral("sqlite") : "postgresql";
    std::vector<std::unique_ptr<QProcess>> flushers;
    for (int i = 0; i < 4; ++i) {
        flushers.push_back(std::make_unique<QProcess>());
        flushers.back()->start(QStringLiteral(ZVX_ARCHIVE_APPEND),
                               {QStringLiteral("flush"), kind, place.target, queue});
    }
    for (auto& flusher : flushers) {
        QVERIFY(flusher->waitForFinished(60000));
        QVERIFY2(flusher->exitCode() == 0, flusher->readAllStandardError().constData());
    }
    QCOMPARE(Sites(place), expected);
    ArchiveDatabase left(ArchiveDatabase::Kind::SQLite, queue);
    QVERIFY(left.Open());
    QCOMPARE(left.Count(), std::optional<qint64>(0));
}

// "Database=postgres" (the server's name for itself, not the program's) is no local
// file: the entry waits in the queue and the line names the values the program takes.
void TstArchiveQueue::unknownDatabaseQueues()
{
    QTemporaryDir dir;
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("dane"))));
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", data); });
    TemporaryProgramSettings settings;
    QVERIFY(settings.Write("[Archive]\r\nDatabase=postgres\r\nConnection=service=zorvex\r\n"));
    ArchiveRecorder recorder(ProgramSettings().Archive(),
                             dir.filePath(QStringLiteral("kolejka.sqlite")));
    ArchiveEntry entry = Entry("Nieznana baza");
    QVERIFY(!recorder.Record(entry));
    QCOMPARE(recorder.Waiting(), 1);
    QVERIFY2(recorder.Problem().contains(QStringLiteral("Database=postgres")) &&
                 recorder.Problem().contains(QStringLiteral("sqlite i postgresql")),
             qPrintable(recorder.Problem()));
    // No archive was made in its place.
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("dane/zorvex/archiwum.sqlite"))));
}

void TstArchiveQueue::reasons_data()
{
    QTest::addColumn<QString>("code"); // the driver's native code
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("notADatabase");
    QTest::newRow("sqlite full disk") << "13"
                                      << "brak miejsca na dysku" << false;
    QTest::newRow("sqlite full disk, extended") << "269"
                                                << "brak miejsca na dysku" << false;
    QTest::newRow("sqlite busy") << "5"
                                 << "archiwum jest zablokowane przez inny program" << false;
    QTest::newRow("sqlite read-only") << "8"
                                      << "brak prawa zapisu" << false;
    QTest::newRow("sqlite disk error") << "10"
                                       << "błąd odczytu lub zapisu dysku" << false;
    QTest::newRow("sqlite not a database") << "26"
                                           << "tekst sterownika" << true;
    QTest::newRow("sqlite damaged") << "11"
                                    << "tekst sterownika" << true;
    QTest::newRow("postgresql disk full") << "53100"
                                          << "brak miejsca na dysku" << false;
    QTest::newRow("postgresql lock timeout")
        << "55P03"
        << "archiwum jest zablokowane przez inny program" << false;
    QTest::newRow("postgresql statement timeout")
        << "57014"
        << "archiwum nie odpowiedziało w ciągu 5 s" << false;
}

// A full disk is no "To nie jest plik archiwum": each failure in the user's words, and
// only a file that is no database at all is taken for one.
void TstArchiveQueue::reasons()
{
    QFETCH(QString, code);
    QFETCH(QString, reason);
    QFETCH(bool, notADatabase);
    const QSqlError error(QStringLiteral("tekst sterownika"), QString(), QSqlError::StatementError,
                          code);
    QCOMPARE(ArchiveSql::Reason(error), reason);
    QCOMPARE(ArchiveSql::NotADatabase(error), notADatabase);
}

void TstArchiveQueue::fileAccess_data()
{
    QTest::addColumn<QString>("file");    // the archive file, in the data folder
    QTest::addColumn<int>("fileMode");    // 0: none there yet
    QTest::addColumn<int>("walMode");     // its write-ahead log; 0: none
    QTest::addColumn<bool>("foreign");    // owned by another user
    QTest::addColumn<QString>("refusal"); // how Error begins; empty: opened
    const QString foreign = QStringLiteral("Archiwum %1 należy do innego użytkownika");
    const QString notRegular = QStringLiteral("Archiwum %1 nie jest zwykłym plikiem");
    QTest::newRow("new") << "archiwum.sqlite" << 0 << 0 << false << "";
    QTest::newRow("own, readable by all") << "archiwum.sqlite" << 0644 << 0 << false << "";
    QTest::newRow("own, writable by all, log too")
        << "archiwum.sqlite" << 0666 << 0644 << false << "";
    QTest::newRow("another user's, planted 0666")
        << "archiwum.sqlite" << 0666 << 0 << true << foreign;
    QTest::newRow("a FIFO") << "fifo" << 0 << 0 << false << notRegular;
}

// The archive holds the customers' access codes: on every opening, a file of another
// user's is refused, the user's own is made 0600 (its log too), the data folder 0700, and
// nothing that is not a regular file is opened or waited on.
void TstArchiveQueue::fileAccess()
{
    QFETCH(QString, file);
    QFETCH(int, fileMode);
    QFETCH(int, walMode);
    QFETCH(bool, foreign);
    QFETCH(QString, refusal);
    if (foreign && ::geteuid() != 0)
        QSKIP("giving a file to another user needs root");
    QTemporaryDir dir;
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", data); });
    const QString folder = dir.filePath(QStringLiteral("zorvex"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    const QString path = folder + u'/' + file;
    const QByteArray name = QFile::encodeName(path);
    if (file == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    if (fileMode != 0) {
        ArchiveDatabase made(ArchiveDatabase::Kind::SQLite, path);
        QVERIFY2(made.Open(), qPrintable(made.Error()));
        made.Close();
        QCOMPARE(::chmod(name.constData(), mode_t(fileMode)), 0);
        if (foreign)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
    }
    if (walMode != 0) {
        QFile wal(path + QStringLiteral("-wal"));
        QVERIFY(wal.open(QIODevice::WriteOnly));
        wal.close();
        QCOMPARE(::chmod(QFile::encodeName(wal.fileName()).constData(), mode_t(walMode)), 0);
    }
    ArchiveDatabase db(ArchiveDatabase::Kind::SQLite, path);
    const bool opened = db.Open();
    struct stat folderStat
    {
    };
    QCOMPARE(::stat(QFile::encodeName(folder).constData(), &folderStat), 0);
    QCOMPARE(folderStat.st_mode & 0777, mode_t(0700));
    if (!refusal.isEmpty()) {
        QVERIFY(!opened);
        QVERIFY2(db.Error().startsWith(refusal.arg(path)), qPrintable(db.Error()));
        struct stat st
        {
        };
        QCOMPARE(::lstat(name.constData(), &st), 0);
        if (fileMode != 0)
            QCOMPARE(st.st_mode & 0777, mode_t(fileMode)); // left as it was
        return;
    }
    QVERIFY2(opened, qPrintable(db.Error()));
    for (const QString& own : {path, path + QStringLiteral("-wal")}) {
        struct stat st
        {
        };
        if (::stat(QFile::encodeName(own).constData(), &st) == 0)
            QVERIFY2((st.st_mode & 077) == 0, qPrintable(own));
    }
}

QTEST_GUILESS_MAIN(TstArchiveQueue)
#include "tst_archivequeue.moc"
