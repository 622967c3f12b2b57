#include "device/ConfigFileIO.h"
#include "model/TZorvexSettings.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QtTest>

// "zvx get", "zvx set", "zvx apply", "zvx new --from": configuration files as text.
class TstZvxTextConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void commands_data();
    void commands();
    void refusedSetLeavesFile();
    void outputElsewhere();

private:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QByteArray Bytes(const char* name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool WriteText(const char* name, const QByteArray& text) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
    }

    CliRun Run;
    QTemporaryDir m_dir;
};

void TstZvxTextConfig::init()
{
    QCOMPARE(Run({"new", "-o", Path("a.zvx")}), ExitStatus::Success);
    QCOMPARE(Run({"new", "-o", Path("t.zvx")}), ExitStatus::Success);
    QCOMPARE(Run({"set", Path("t.zvx"), "stations.sma1Number=0221234567", "delays.armedEntry=60",
                  "records.3=z wzoru"}),
             ExitStatus::Success);
    QVERIFY(WriteText("part.json", R"({"areas": {"delays": {"fields": {"alarmEntry": "45"}},
        "codes": {"fields": {"ku0": "****"}}}, "image": "00", "records": ["Obiekt"]})"));
    QVERIFY(WriteText("unknown.json", R"({"areas": {"delays": {"fields": {"alarm": "45"}}}})"));
    QVERIFY(WriteText("bad.json", R"({"areas": {"delays": {"fields": {"alarmEntry": "4x"}}}})"));
    QVERIFY(WriteText("broken.json", "{\"areas\": "));
}

void TstZvxTextConfig::commands_data()
{
    QTest::addColumn<QStringList>("args"); // A: a.zvx, T: t.zvx, other names in the folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("gets"); // "key=value" read back from A afterwards
    QTest::addColumn<QString>("err");      // a part of what was printed on err
    QTest::newRow("get") << QStringList{"get", "A", "delays.alarmEntry", "records.0"}
                         << ExitStatus::Success << QStringList() << "";
    QTest::newRow("get unknown field")
        << QStringList{"get", "A", "delays.alarm"} << ExitStatus::Usage << QStringList()
        << "klucze obszaru delays: alarmEntry, pauseBetweenAlarms, armedEntry";
    QTest::newRow("get record 14") << QStringList{"get", "A", "records.14"} << ExitStatus::Usage
                                   << QStringList() << "records.0 … records.13";
    QTest::newRow("set") << QStringList{"set",
                                        "A",
                                        "stations.sma2Format=3",
                                        "phones.number2=12b",
                                        "systemOptions.selfArming=TAK",
                                        "eventCodes.testTime=07:30"}
                         << ExitStatus::Success
                         << QStringList{"stations.sma2Format=  3:RADIONICS 1400",
                                        "phones.number2=12B", "systemOptions.selfArming=TAK",
                                        "eventCodes.testTime=07:30"}
                         << "";
    QTest::newRow("set not an integer")
        << QStringList{"set", "A", "pgmOutputs.pgm1Trigger=1", "pgmOutputs.pgm1Time=1x"}
        << ExitStatus::InvalidValue << QStringList{"pgmOutputs.pgm1Time=0"}
        << "pgmOutputs.pgm1Time: '1x' is not a valid integer value";
    QTest::newRow("set no equals") << QStringList{"set", "A", "delays.alarmEntry"}
                                   << ExitStatus::Usage << QStringList() << "KLUCZ=WARTOŚĆ";
    QTest::newRow("set unknown key") << QStringList{"set", "A", "zwloki.x=1"} << ExitStatus::Usage
                                     << QStringList() << "obszary: phones";
    QTest::newRow("set missing file") << QStringList{"set", "none.zvx", "delays.alarmEntry=1"}
                                      << ExitStatus::FileError << QStringList() << "none.zvx";
    QTest::newRow("apply part") << QStringList{"apply", "A", "part.json"} << ExitStatus::Success
                                << QStringList{"delays.alarmEntry=45", "records.0=Obiekt",
                                               "codes.ku0=9358"}
                                << "pominięto klucze tylko do odczytu: codes.ku0, image";
    QTest::newRow("apply unknown key")
        << QStringList{"apply", "A", "unknown.json"} << ExitStatus::Usage
        << QStringList{"delays.alarmEntry=0"} << "nieznany klucz \"delays.alarm\"";
    QTest::newRow("apply bad value")
        << QStringList{"apply", "A", "bad.json"} << ExitStatus::InvalidValue << QStringList()
        << "'4x' is not a valid integer value";
    QTest::newRow("apply broken") << QStringList{"apply", "A", "broken.json"} << ExitStatus::Usage
                                  << QStringList() << "nieprawidłowy dokument JSON";
    QTest::newRow("apply missing doc") << QStringList{"apply", "A", "none.json"}
                                       << ExitStatus::FileError << QStringList() << "none.json";
    QTest::newRow("copy areas") << QStringList{"apply", "A",       "--from",
                                               "T",     "--areas", "stations,description"}
                                << ExitStatus::Success
                                << QStringList{"stations.sma1Number=0221234567",
                                               "delays.armedEntry=0", "records.3=z wzoru"}
                                << "";
    QTest::newRow("copy unknown area") << QStringList{"apply", "A", "--from", "T", "--areas", "x"}
                                       << ExitStatus::Usage << QStringList() << "obszary: phones";
    QTest::newRow("copy without areas") << QStringList{"apply", "A", "--from", "T"}
                                        << ExitStatus::Usage << QStringList() << "--areas";
    QTest::newRow("new from document")
        << QStringList{"new", "--from", "part.json", "-o", "A"} << ExitStatus::Success
        << QStringList{"delays.alarmEntry=45", "records.0=Obiekt"} << "";
    QTest::newRow("new from bad document")
        << QStringList{"new", "--from", "bad.json", "-o", "A"} << ExitStatus::InvalidValue
        << QStringList{"delays.alarmEntry=0"} << "";
}

void TstZvxTextConfig::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, gets);
    QFETCH(QString, err);
    for (QString& arg : args)
        if (arg == QLatin1String("A"))
            arg = Path("a.zvx");
        else if (arg == QLatin1String("T"))
            arg = Path("t.zvx");
        else if (arg.endsWith(QLatin1String(".json")) || arg.endsWith(QLatin1String(".zvx")))
            arg = m_dir.filePath(arg);
    QCOMPARE(Run(args), status);
    QVERIFY2(Run.err.contains(err), qPrintable(Run.err));
    if (status != ExitStatus::Success)
        QVERIFY(!Run.err.isEmpty());
    for (const QString& get : gets) {
        QCOMPARE(Run({"get", Path("a.zvx"), get.section(u'=', 0, 0)}), ExitStatus::Success);
        QCOMPARE(Run.out, get.section(u'=', 1) + u'\n');
    }
}

void TstZvxTextConfig::refusedSetLeavesFile()
{
    const QByteArray before = Bytes("a.zvx");
    QCOMPARE(Run({"set", Path("a.zvx"), "delays.alarmEntry=7", "codes.ku1=123"}),
             ExitStatus::InvalidValue);
    QCOMPARE(Run.err, QStringLiteral("zvx set: codes.ku1: Błędne dane\n"));
    QCOMPARE(Bytes("a.zvx"), before);
    QCOMPARE(Run({"get", Path("a.zvx"), "delays.alarmEntry", "records.0"}), ExitStatus::Success);
    QVERIFY(Run.out.startsWith(QStringLiteral("0\n")));
}

void TstZvxTextConfig::outputElsewhere()
{
    const QByteArray before = Bytes("a.zvx");
    QCOMPARE(Run({"set", Path("a.zvx"), "delays.alarmEntry=7", "-o", Path("b.zvx")}),
             ExitStatus::Success);
    QCOMPARE(Bytes("a.zvx"), before);
    QCOMPARE(Run({"get", Path("b.zvx"), "delays.alarmEntry"}), ExitStatus::Success);
    QCOMPARE(Run.out, QStringLiteral("7\n"));
    TZorvexSettings s;
    QCOMPARE(
        ConfigFile::Load(s, Path("b.zvx").toStdString(), [](const std::string&) { return true; }),
        ConfigFile::Success);
}

QTEST_GUILESS_MAIN(TstZvxTextConfig)
#include "tst_zvx_textconfig.moc"
