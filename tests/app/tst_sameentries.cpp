// Every act of either front end that saves a file or talks to a dialer leaves its entries
// in the archive, and the same act leaves the same entries whichever front end did it:
// "zvx" in-process, the window through its actions. Looking (show, get, diff, ports, a
// comparison) leaves none. The environment names no user here, as under cron or a
// systemd unit: every entry names the system's account.

#include "app/UnitMainForm.h"
#include "app/archive/ArchiveDialog.h"
#include "app/archive/ArchiveListModel.h"
#include "app/files/FileDialogs.h"
#include "archive/ArchiveDatabase.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "model/Cp1250.h"
#include "settings/ProgramSettings.h"
#include "settings/TemporaryProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/tools/CliRun.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kUserVariables[] = {"USER", "LOGNAME", "USERNAME"};

QString AccountName()
{
    std::vector<char> buffer(16384);
    passwd account{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &account, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return QString::fromLocal8Bit(found->pw_name);
}

TZorvexSettings Configuration(const char* site, int alarmEntry)
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(site));
    settings.Cfg.SetByte(120, std::uint8_t(alarmEntry));
    return settings;
}

} // namespace

class TstSameEntries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void acts_data();
    void acts();

private:
    // "@a" and the like as the paths and the port of this row.
    QString Expand(QString text) const;
    // The reverse, for what the archive holds: "-" for nothing.
    QString Placeholder(const QString& value) const;
    // Runs one step; an empty text when it went as planned, else what went wrong.
    QString Step(const QString& step);
    QString WindowStep(const QStringList& words);
    // The archive's entries, oldest first, as "event ok|fail FILE PORT".
    QStringList Entries(QString& problem) const;

    QTemporaryDir m_home; // the queue of entries the archive could not take
    QByteArray m_savedUser[3];
    QString m_account;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TemporaryProgramSettings> m_settings;
    std::unique_ptr<DialerEmulator> m_dialer;
    std::unique_ptr<TMainFormZORVEX> m_window;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    CliRun Run;
};

void TstSameEntries::initTestCase()
{
    // A queue of our own: another test's entries waiting there must not turn up here.
    qputenv("XDG_DATA_HOME", m_home.path().toLocal8Bit());
    for (int i = 0; i < 3; ++i) {
        m_savedUser[i] = qgetenv(kUserVariables[i]);
        qunsetenv(kUserVariables[i]);
    }
    m_account = AccountName();
    QVERIFY(!m_account.isEmpty());
}

void TstSameEntries::cleanupTestCase()
{
    for (int i = 0; i < 3; ++i)
        if (!m_savedUser[i].isNull())
            qputenv(kUserVariables[i], m_savedUser[i]);
}

void TstSameEntries::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings.reset(); // first: it puts back the override it found
    m_settings = std::make_unique<TemporaryProgramSettings>();
    QVERIFY(
        m_settings->Write("[Program configuration]\r\nVerifyAfterWrite=0\r\n[Archive]\r\nFile=" +
                          m_dir->filePath(QStringLiteral("archiwum.sqlite")).toUtf8() + "\r\n"));
    // a.zvx the file acts start from; c.zvx another, a template and the other side of a
    // comparison. Made without the program, so that they leave no entry.
    const TZorvexSettings a = Configuration("Apteka", 30);
    QVERIFY(ConfigFile::Save(a, FileNameBytes(Expand(QStringLiteral("@a")))).Ok());
    QVERIFY(ConfigFile::Save(Configuration("Cukiernia", 45),
                             FileNameBytes(Expand(QStringLiteral("@c"))))
                .Ok());
    QFile json(Expand(QStringLiteral("@json")));
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"({"areas": {"delays": {"fields": {"alarmEntry": "60"}}}})");
    json.close();
    m_dialer = StartDialer({}, a.Cfg); // holds a.zvx: a check of it finds them equal
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void TstSameEntries::cleanup()
{
    m_window.reset();
    m_boxes.reset();
    m_dialer.reset();
    InstallFileDialogHandler({});
}

QString TstSameEntries::Expand(QString text) const
{
    for (const char* name : {"a", "b", "c"})
        text.replace(QStringLiteral("@") + QLatin1String(name),
                     m_dir->filePath(QLatin1String(name) + QStringLiteral(".zvx")));
    text.replace(QStringLiteral("@json"), m_dir->filePath(QStringLiteral("dokument.json")));
    text.replace(QStringLiteral("@nope"), m_dir->filePath(QStringLiteral("brak-portu")));
    if (m_dialer)
        text.replace(QStringLiteral("@port"), PathOf(*m_dialer));
    return text;
}

QString TstSameEntries::Placeholder(const QString& value) const
{
    if (value.isEmpty())
        return QStringLiteral("-");
    for (const char* name : {"@a", "@b", "@c", "@nope", "@port"})
        if (value == Expand(QLatin1String(name)))
            return QLatin1String(name);
    return value;
}

QString TstSameEntries::Step(const QString& step)
{
    QStringList words = step.split(u' ');
    const QString frontEnd = words.takeFirst();
    for (QString& word : words)
        word = Expand(word);
    if (frontEnd == QLatin1String("window"))
        return WindowStep(words);
    const int status = Run(words);
    // A port that is not there fails the command, and the entry says so.
    const bool mayFail = step.contains(QStringLiteral("@nope"));
    return status == 0 || mayFail
               ? QString()
               : QStringLiteral("%1: status %2, %3").arg(step).arg(status).arg(Run.err);
}

QString TstSameEntries::WindowStep(const QStringList& words)
{
    if (!m_window) {
        m_window = std::make_unique<TMainFormZORVEX>();
        m_window->ShowAboutBox = [] {};
        m_window->ShowDifferencesDialog = [](DifferencesDialog&) {};
        m_window->Link().SerialPort().SetPort(Expand(QStringLiteral("@port")));
    }
    TMainFormZORVEX& window = *m_window;
    const QString act = words.first();
    const QString file = words.value(1);
    InstallFileDialogHandler([file](const FileDialogRequest&) { return file; });
    QSignalSpy finished(&window.Document(), &ConfigDocument::exchangeFinished);
    auto exchange = [&](const char* action) {
        window.Action(QLatin1String(action))->trigger();
        return !finished.isEmpty() || finished.wait(20000) ? QString()
                                                           : QStringLiteral("%1: no end").arg(act);
    };
    if (act == QLatin1String("save"))
        window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    else if (act == QLatin1String("load"))
        window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    else if (act == QLatin1String("compare"))
        window.Action(QStringLiteral("PorownajZPlikiem"))->trigger();
    else if (act == QLatin1String("edit"))
        window.Link().Settings().Cfg.SetByte(121, 0x07); // as OK in "Zwłoki" would
    else if (act == QLatin1String("read")) {
        if (!file.isEmpty()) // here: another port
            window.Link().SerialPort().SetPort(file);
        return exchange("OdczytKonfiguracjiDialera");
    } else if (act == QLatin1String("write"))
        return exchange("ZapisKonfiguracjiDialera");
    else if (act == QLatin1String("verify"))
        return exchange("WeryfikacjaKonfiguracjiDialera");
    else if (act == QLatin1String("restart")) {
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
        return exchange("RestartDialera");
    } else if (act == QLatin1String("saveEntry")) {
        // "Zapisz jako..." in the archive's window, on its oldest entry.
        ArchiveDatabase archive(ArchiveDatabase::Kind::SQLite, ProgramSettings().Archive().file);
        if (!archive.Open())
            return archive.Error();
        ArchiveDialog dialog(window.Document(), archive, &window);
        const int rows = dialog.Model->rowCount();
        if (rows == 0)
            return QStringLiteral("saveEntry: an empty archive");
        dialog.List->setCurrentIndex(dialog.Model->index(rows - 1, 0));
        dialog.SaveAsButton->click();
    } else {
        return QStringLiteral("no such window step: ") + act;
    }
    return {};
}

QStringList TstSameEntries::Entries(QString& problem) const
{
    ArchiveDatabase archive(ArchiveDatabase::Kind::SQLite, ProgramSettings().Archive().file);
    if (!archive.Open()) {
        problem = archive.Error();
        return {};
    }
    ArchiveQuery all;
    all.limit = 0;
    const QList<ArchiveEntry> found = archive.Find(all, false).value_or(QList<ArchiveEntry>{});
    QStringList lines;
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        if (it->user != m_account || it->host.isEmpty())
            problem = QStringLiteral("entry %1: user \"%2\", host \"%3\"")
                          .arg(it->id)
                          .arg(it->user, it->host);
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(it->event, it->succeeded ? QStringLiteral("ok") : QStringLiteral("fail"),
                          Placeholder(it->fileName), Placeholder(it->port));
    }
    return lines;
}

void TstSameEntries::acts_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("entries");
    const QStringList none;
    const QStringList savedB{"save ok @b -"};

    QTest::newRow("zvx new") << QStringList{"zvx new -o @b"} << savedB;
    QTest::newRow("zvx new --from") << QStringList{"zvx new --from @json -o @b"} << savedB;
    QTest::newRow("window: save (F2)") << QStringList{"window save @b"} << savedB;
    QTest::newRow("zvx set") << QStringList{"zvx set @a delays.alarmEntry=40"}
                             << QStringList{"save ok @a -"};
    QTest::newRow("zvx set -o") << QStringList{"zvx set @a delays.alarmEntry=40 -o @b"} << savedB;
    QTest::newRow("zvx apply JSON")
        << QStringList{"zvx apply @a @json"} << QStringList{"save ok @a -"};
    QTest::newRow("zvx apply --from")
        << QStringList{"zvx apply @a --from @c --areas delays"} << QStringList{"save ok @a -"};
    QTest::newRow("zvx archive restore -o")
        << QStringList{"zvx new -o @a", "zvx archive restore 1 -o @b"}
        << QStringList{"save ok @a -", "save ok @b -"};
    QTest::newRow("window: archive, save entry as")
        << QStringList{"zvx new -o @a", "window saveEntry @b"}
        << QStringList{"save ok @a -", "save ok @b -"};
    QTest::newRow("window: load (F3)")
        << QStringList{"window load @a"} << QStringList{"load ok @a -"};

    const QStringList readAndSaved{"read ok - @port", "save ok @b -"};
    QTest::newRow("zvx read -o") << QStringList{"zvx read --port @port -o @b"} << readAndSaved;
    QTest::newRow("window: read (F5), save (F2)")
        << QStringList{"window read", "window save @b"} << readAndSaved;
    const QStringList noPort{"read fail - @nope"};
    QTest::newRow("zvx read, no such port") << QStringList{"zvx read --port @nope -o @b"} << noPort;
    QTest::newRow("window: read, no such port") << QStringList{"window read @nope"} << noPort;

    QTest::newRow("zvx write FILE")
        << QStringList{"zvx write --port @port @a"} << QStringList{"write ok @a @port"};
    QTest::newRow("window: load, write (F4)") << QStringList{"window load @a", "window write"}
                                              << QStringList{"load ok @a -", "write ok @a @port"};
    // What went into the dialer is no longer the file's: the entry names no file.
    QTest::newRow("window: load, edit, write")
        << QStringList{"window load @a", "window edit", "window write"}
        << QStringList{"load ok @a -", "write ok - @port"};
    QTest::newRow("zvx verify FILE")
        << QStringList{"zvx verify --port @port @a"} << QStringList{"verify ok @a @port"};
    QTest::newRow("window: load, verify") << QStringList{"window load @a", "window verify"}
                                          << QStringList{"load ok @a -", "verify ok @a @port"};
    const QStringList restarted{"restart ok - @port"};
    QTest::newRow("zvx restart") << QStringList{"zvx restart --port @port --time 8:15"}
                                 << restarted;
    QTest::newRow("window: restart") << QStringList{"window restart"} << restarted;

    QTest::newRow("zvx show, get, diff, ports")
        << QStringList{"zvx show @a", "zvx show --json @a", "zvx get @a delays.alarmEntry",
                       "zvx diff @a @a", "zvx ports"}
        << none;
    QTest::newRow("window: compare with a file") << QStringList{"window compare @c"} << none;
}

void TstSameEntries::acts()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, entries);
    for (const QString& step : steps) {
        const QString problem = Step(step);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    m_window.reset(); // its archive's thread has kept every entry once it is gone
    QString problem;
    QCOMPARE(Entries(problem), entries);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TstSameEntries)
#include "tst_sameentries.moc"
