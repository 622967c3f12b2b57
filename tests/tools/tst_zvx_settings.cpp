// zvx and the window program's settings file: a file that must not be read (a FIFO would
// hang every COMn command, a link to /dev/zero would eat the memory) maps no port names;
// the command goes on with the environment's mapping and says why once.

#include "serial/TCustomComPort.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/HostileFile.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"
#include "tools/PortNameLookup.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

class TstZvxSettings : public QObject
{
    Q_OBJECT

private slots:
    void hostileSettingsFileSkipped_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo"
                              << "nie jest zwykłym plikiem.";
        QTest::newRow("link to /dev/zero") << "zero"
                                           << "nie jest zwykłym plikiem.";
        QTest::newRow("over 1 MiB") << "huge"
                                    << "jest za duży (ponad 1048576 bajtów).";
    }
    void hostileSettingsFileSkipped()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString ini = m_dir.filePath(kind + QStringLiteral(".ini"));
        QVERIFY(MakeHostileFile(ini, kind, "[Port names]\r\nCOM5=/dev/zvx-nowhere\r\n;"));

        const auto dialer = StartDialer();
        qputenv("ZVX_COM5", QByteArray::fromStdString(dialer->SlavePath()));
        QStringList problems;
        InstallPortNameLookup(ini, [&problems](const QString& line) { problems << line; });
        const auto restore = qScopeGuard([] {
            TCustomComPort::SetPortNameLookup({});
            qunsetenv("ZVX_COM5");
        });

        CliRun run;
        QCOMPARE(run({"restart", "--port", "com5", "--time", "23:59"}), ExitStatus::Success);
        QCOMPARE(dialer->GetCounters().restartHour, 0x23);
        QCOMPARE(run({"restart", "--port", "COM5", "--time", "07:00"}), ExitStatus::Success);
        QCOMPARE(problems, QStringList{QStringLiteral("Plik ustawień ") + ini + u' ' + reason +
                                       QStringLiteral(" Program używa ustawień domyślnych.")});
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TstZvxSettings)
#include "tst_zvx_settings.moc"
