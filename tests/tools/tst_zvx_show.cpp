#include "tests/report/ReportSample.h"

#include "device/ConfigFileIO.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

// "zvx show": the report of a configuration file as text or JSON, for scripts.
class TstZvxShow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usage_data();
    void usage();
    void textReport();
    void jsonRoundTripsTheFile();
    void maskedHidesCodes_data();
    void maskedHidesCodes();
    void fileErrors_data();
    void fileErrors();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QString Sample() const { return m_dir.filePath(QStringLiteral("sklep.zvx")); }

    QTemporaryDir m_dir;
};

void TstZvxShow::initTestCase()
{
    QCOMPARE(ConfigFile::Save(ReportSample::Settings(), Sample().toStdString()),
             ConfigFile::Success);
}

void TstZvxShow::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("no file") << QStringList{"show"} << ExitStatus::Usage;
    QTest::newRow("only options") << QStringList{"show", "--json", "--masked"} << ExitStatus::Usage;
    QTest::newRow("two files") << QStringList{"show", "a.zvx", "b.zvx"} << ExitStatus::Usage;
    QTest::newRow("unknown option") << QStringList{"show", "--xml", "a.zvx"} << ExitStatus::Usage;
    QTest::newRow("help") << QStringList{"show", "--help"} << ExitStatus::Success;
}

void TstZvxShow::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QCOMPARE(Run(args), status);
    if (status == ExitStatus::Success) {
        QVERIFY(Run.out.startsWith(QStringLiteral("Użycie: zvx show")));
        QVERIFY(Run.err.isEmpty());
    } else {
        QVERIFY2(Run.err.startsWith(QStringLiteral("zvx show: ")), qPrintable(Run.err));
        QVERIFY(Run.out.isEmpty());
    }
}

void TstZvxShow::textReport()
{
    QCOMPARE(Run({"show", Sample()}), ExitStatus::Success);
    QVERIFY(Run.err.isEmpty());
    QStringList lines;
    for (const QString& line : Run.out.split(u'\n'))
        lines << line.simplified();
    QCOMPARE(lines.first(), QStringLiteral("Programator dialera Zorvex"));
    for (const char* expected :
         {"Nazwa obiektu: Sklep „Pod Lipą” Żółć", "NR 1: 0221234567", "KU0: 4711",
          "Komunikat: ALARM 1", "Format SMA1: 14:RADIONICS 2300 EXTENDED WITH PARITY",
          "Godzina rozpoczęcia alarmu: 21:05"})
        QVERIFY2(lines.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(lines.contains(QStringLiteral("Plik: ") + Sample()));
}

void TstZvxShow::jsonRoundTripsTheFile()
{
    QCOMPARE(Run({"show", "--json", Sample()}), ExitStatus::Success);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(Run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    ConfigFile::Bytes file;
    QCOMPARE(ConfigFile::Read(Sample().toStdString(), file), ConfigFile::Success);
    const QByteArray image =
        QByteArray::fromHex(root.value(QStringLiteral("image")).toString().toLatin1());
    QCOMPARE(image, QByteArray(reinterpret_cast<const char*>(file.data()) + ConfigFile::ImageOffset,
                               TCfg::Size));
    QCOMPARE(root.value(QStringLiteral("records")).toArray().first().toString(),
             QStringLiteral("Sklep „Pod Lipą” Żółć"));
    const QJsonObject phones = root.value(QStringLiteral("areas"))
                                   .toObject()
                                   .value(QStringLiteral("phones"))
                                   .toObject()
                                   .value(QStringLiteral("fields"))
                                   .toObject();
    QCOMPARE(phones.value(QStringLiteral("number1")).toString(), QStringLiteral("0221234567"));
    QCOMPARE(root.value(QStringLiteral("file")).toString(), Sample());
}

void TstZvxShow::maskedHidesCodes_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("text") << QStringList{"--masked"};
    QTest::newRow("json") << QStringList{"--masked", "--json"};
    QTest::newRow("json, options after the file") << QStringList{"--json", "--masked"};
}

void TstZvxShow::maskedHidesCodes()
{
    QFETCH(QStringList, options);
    QCOMPARE(Run(QStringList{"show"} + options + QStringList{Sample()}), ExitStatus::Success);
    QVERIFY(Run.out.contains(QStringLiteral("****")));
    for (const QString& code : ReportSample::Codes)
        QVERIFY2(!Run.out.contains(code), qPrintable(code));
}

void TstZvxShow::fileErrors_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<QString>("message");
    QByteArray badMagic(1024, '\0');
    badMagic.replace(0, 6, "Zorvez");
    QTest::newRow("missing") << QByteArray() << "Błąd odczytu pliku: ";
    QTest::newRow("short") << QByteArray(100, 'x') << "Nieprawidłowy rozmiar pliku: ";
    QTest::newRow("not a configuration") << badMagic << "Nieprawidłowy format pliku: ";
}

void TstZvxShow::fileErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad.zvx"));
    QFile::remove(path);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QCOMPARE(Run({"show", path}), ExitStatus::FileError);
    QVERIFY2(Run.err.startsWith(message + path), qPrintable(Run.err));
    QVERIFY(Run.out.isEmpty());
}

QTEST_GUILESS_MAIN(TstZvxShow)
#include "tst_zvx_show.moc"
