// The window's check run, which checks the Windows build under Wine, run here against the
// emulated dialer: what it logs, and the file it saves.
#include "app/UnitMainForm.h"
#include "app/WindowCheck.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "serial/CPort.h"
#include "settings/ProgramSettings.h"
#include "settings/TemporaryProgramSettings.h"
#include "tests/common/EmulatedDialer.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestWindowCheck : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("readLine");
        QTest::newRow("the dialer answers") << QStringList() << "read: ok";
        QTest::newRow("a damaged image")
            << QStringList{QStringLiteral("bad-image")} << "read: Błąd sumy kontrolnej";
    }
    void run()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, readLine);
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        const auto dialer = StartDialer(faults);
        TemporaryProgramSettings settings;
        QVERIFY(settings.Write("[Program configuration]\r\nPort=1\r\n[Port names]\r\nCOM1=" +
                               PathOf(*dialer).toUtf8() + "\r\n"));
        TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);
        const QString log = dir.filePath(QStringLiteral("check.log"));
        const QString saved = dir.filePath(QStringLiteral("odczyt.zvx"));
        qputenv("ZVX_WINDOW_CHECK_LOG", log.toUtf8());
        qputenv("ZVX_WINDOW_CHECK_SAVE", saved.toUtf8());

        TMainFormZORVEX window;
        StartWindowCheck(window);
        window.show();
        // The check run ends the event loop itself: 0 when it went through, 1 at its limit.
        QCOMPARE(QApplication::exec(), 0);

        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(!lines.isEmpty() && lines.first() == QStringLiteral("about: O programie"),
                 qPrintable(lines.join(u'|')));
        QVERIFY2(lines.filter(QStringLiteral("read: ")).value(0).startsWith(readLine),
                 qPrintable(lines.join(u'|')));
        QCOMPARE(lines.last(), QStringLiteral("saved: ") + saved);
        ConfigFile::Bytes bytes;
        QVERIFY(ConfigFile::Read(FileNameBytes(saved), bytes).Ok());
        if (faults.isEmpty()) {
            // The configuration the dialer holds, its checksum byte aside.
            TZorvexSettings loaded;
            ConfigFile::Apply(bytes, loaded);
            const auto read = loaded.Cfg.Bytes();
            const auto held = dialer->Image().Bytes();
            QVERIFY(std::equal(read.begin() + 1, read.end(), held.begin() + 1));
        }
        qunsetenv("ZVX_WINDOW_CHECK_LOG");
        qunsetenv("ZVX_WINDOW_CHECK_SAVE");
    }
};

QTEST_MAIN(TestWindowCheck)
#include "tst_windowcheck.moc"
