#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QtTest>

class TstZvxCli : public QObject
{
    Q_OBJECT

private slots:
    void usage_data();
    void usage();
    void newWritesFactoryFile();
    void newReportsUnwritableFile();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QTemporaryDir m_dir;
};

void TstZvxCli::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errContains");
    QTest::newRow("no args") << QStringList{} << ExitStatus::Usage << "Użycie";
    QTest::newRow("help") << QStringList{"--help"} << ExitStatus::Success << "";
    QTest::newRow("unknown") << QStringList{"frobnicate"} << ExitStatus::Usage
                             << "nieznane polecenie";
    QTest::newRow("new without -o") << QStringList{"new"} << ExitStatus::Usage << "zvx new";
    QTest::newRow("new -o without file")
        << QStringList{"new", "-o"} << ExitStatus::Usage << "zvx new";
    QTest::newRow("new extra argument")
        << QStringList{"new", "-o", "a", "b"} << ExitStatus::Usage << "zvx new";
    QTest::newRow("new --help") << QStringList{"new", "--help"} << ExitStatus::Success << "";
}

void TstZvxCli::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, errContains);
    QCOMPARE(Run(args), status);
    QVERIFY2(Run.err.contains(errContains), qPrintable(Run.err));
    if (status == ExitStatus::Success)
        QVERIFY(Run.err.isEmpty() && !Run.out.isEmpty());
}

void TstZvxCli::newWritesFactoryFile()
{
    const QString path = m_dir.filePath(QStringLiteral("f.zvx"));
    QCOMPARE(Run({"new", "-o", path}), ExitStatus::Success);
    QVERIFY2(Run.out.contains(QStringLiteral("Konfiguracja została zapisana w zbiorze: ") + path),
             qPrintable(Run.out));
    QFile made(path);
    QFile golden(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    QVERIFY(made.open(QIODevice::ReadOnly) && golden.open(QIODevice::ReadOnly));
    QCOMPARE(made.readAll(), golden.readAll());
}

void TstZvxCli::newReportsUnwritableFile()
{
    QCOMPARE(Run({"new", "--output=" + m_dir.filePath(QStringLiteral("no/such/dir/f.zvx"))}),
             ExitStatus::FileError);
    QVERIFY2(Run.err.startsWith(QStringLiteral("Błąd zapisu pliku")), qPrintable(Run.err));
}

QTEST_GUILESS_MAIN(TstZvxCli)
#include "tst_zvx_cli.moc"
