#include "device/ConfigFileIO.h"
#include "model/TZorvexSettings.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    void refusedValues_data();
    void refusedValues();
    void descriptionGivenTwice_data();
    void descriptionGivenTwice();

private:
    // args with A, T and the names of files in the folder made paths.
    QStringList Paths(QStringList args) const;
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

QStringList TstZvxTextConfig::Paths(QStringList args) const
{
    for (QString& arg : args)
        if (arg == QLatin1String("A"))
            arg = Path("a.zvx");
        else if (arg == QLatin1String("T"))
            arg = Path("t.zvx");
        else if (arg.endsWith(QLatin1String(".json")) || arg.endsWith(QLatin1String(".zvx")))
            arg = m_dir.filePath(arg);
    return args;
}

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
    QCOMPARE(Run(Paths(args)), status);
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

void TstZvxTextConfig::refusedValues_data()
{
    QTest::addColumn<QStringList>("args"); // doc.json holds document
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err"); // a part of it: the key and what was refused
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString refused = QStringLiteral("': w to pole nie można wpisać znaku ");
    const int invalid = ExitStatus::InvalidValue;
    QTest::newRow("set: emoji") << QStringList{"set", "A", "records.0=Sklep " + emoji}
                                << QByteArray() << invalid
                                << "records.0: 'Sklep " + emoji + refused + "U+1F600 „" + emoji;
    QTest::newRow("set: CJK") << QStringList{"set", "A", "description.address1=ul. 中"}
                              << QByteArray() << invalid
                              << "description.address1: 'ul. 中" + refused + "U+4E2D „中”";
    QTest::newRow("set: tab") << QStringList{"set", "A", "records.4=a\tb"} << QByteArray()
                              << invalid << "records.4: 'a␉b" + refused + "U+0009 (";
    QTest::newRow("apply: NUL") << QStringList{"apply", "A", "doc.json"}
                                << QByteArray(R"({"records": ["Sklep\u0000 ukryte"]})") << invalid
                                << "records.0: 'Sklep␀ ukryte" + refused + "U+0000 (";
    QTest::newRow("apply: lone surrogate")
        << QStringList{"apply", "A", "doc.json"}
        << QByteArray(R"({"areas": {"description": {"fields": {"objectName": "x\ud800"}}}})")
        << invalid << "description.objectName: 'x\xEF\xBF\xBD" + refused + "U+D800 (";
    QTest::newRow("apply: escape")
        << QStringList{"apply", "A", "doc.json"} << QByteArray(R"({"records": ["", "\u001b[2J"]})")
        << invalid << "records.1: '␛[2J" + refused + "U+001B (";
    QTest::newRow("new --from: emoji") << QStringList{"new", "--from", "doc.json", "-o", "A"}
                                       << ("{\"records\": [\"" + emoji.toUtf8() + "\"]}") << invalid
                                       << "records.0: '" + emoji + refused;
    // A long value is quoted cut, with its length.
    const QByteArray huge(1024 * 1024, 'x');
    const QString cut = QString(60, u'x') + "… (długość tekstu: 1048576";
    QTest::newRow("set: record too long") << QStringList{"set", "A", "records.0=" + huge}
                                          << QByteArray() << invalid << "records.0: '" + cut;
    QTest::newRow("set: number") << QStringList{"set", "A", "delays.alarmEntry=" + huge}
                                 << QByteArray() << invalid << "delays.alarmEntry: '" + cut;
    QTest::newRow("set: unknown option") << QStringList{"set", "A", "--" + huge} << QByteArray()
                                         << int(ExitStatus::Usage) << "nieznana opcja \"--xx";
    QTest::newRow("apply: record")
        << QStringList{"apply", "A", "doc.json"} << R"({"records": [")" + huge + R"("]})" << invalid
        << "records.0: '" + cut;
    QTest::newRow("apply: unknown key")
        << QStringList{"apply", "A", "doc.json"}
        << R"({"areas": {"delays": {"fields": {")" + huge + R"(": "1"}}}})"
        << int(ExitStatus::Usage) << "nieznany klucz \"delays.xxx";
    QTest::newRow("apply: list item")
        << QStringList{"apply", "A", "doc.json"}
        << R"({"areas": {"stations": {"fields": {"sma2Format": ")" + huge + R"("}}}})" << invalid
        << "stations.sma2Format: '" + cut;
}

// A refused value ends the command with its status and a readable message that names it
// (a character a description record cannot hold by its number; a long value cut); the
// file stays as it was.
void TstZvxTextConfig::refusedValues()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, document);
    QFETCH(int, status);
    QFETCH(QString, err);
    QVERIFY(WriteText("doc.json", document));
    const QByteArray before = Bytes("a.zvx");
    QCOMPARE(Run(Paths(args)), status);
    QVERIFY2(Run.err.contains(err), qPrintable(Run.err.left(300)));
    QVERIFY2(Run.err.size() < 2000, qPrintable(Run.err.left(300))); // a list names its items
    QCOMPARE(Bytes("a.zvx"), before);
}

void TstZvxTextConfig::descriptionGivenTwice_data()
{
    // The document zvx show --json printed for A (records.0 "Obiekt"), the object's name
    // then changed under "records", under the description area, or both.
    QTest::addColumn<QString>("inRecords"); // null: as printed
    QTest::addColumn<QString>("inArea");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("name"); // records.0 afterwards
    QTest::addColumn<QString>("err");
    QTest::newRow("neither") << QString() << QString() << ExitStatus::Success << "Obiekt"
                             << "";
    QTest::newRow("area edited") << QString() << "Sklep" << ExitStatus::Success << "Sklep"
                                 << "";
    QTest::newRow("records edited") << "Sklep" << QString() << ExitStatus::Success << "Sklep"
                                    << "";
    QTest::newRow("both alike") << "Sklep"
                                << "Sklep" << ExitStatus::Success << "Sklep"
                                << "";
    QTest::newRow("both differ")
        << "Sklep"
        << "Apteka" << ExitStatus::InvalidValue << "Obiekt"
        << "records.0, areas.description.objectName: różne teksty tego samego rekordu opisu "
           "('Sklep' i 'Apteka')";
}

// docs/report-json.md: a record given under "records" and in the description area is one
// field; the text that differs from the file is the edit, two different edits are refused.
void TstZvxTextConfig::descriptionGivenTwice()
{
    QFETCH(QString, inRecords);
    QFETCH(QString, inArea);
    QFETCH(int, status);
    QFETCH(QString, name);
    QFETCH(QString, err);
    QCOMPARE(Run({"set", Path("a.zvx"), "records.0=Obiekt"}), ExitStatus::Success);
    QCOMPARE(Run({"show", "--json", Path("a.zvx")}), ExitStatus::Success);
    QJsonObject document = QJsonDocument::fromJson(Run.out.toUtf8()).object();
    QVERIFY(document.contains("records"));
    if (!inRecords.isNull()) {
        QJsonArray records = document["records"].toArray();
        records[0] = inRecords;
        document["records"] = records;
    }
    if (!inArea.isNull()) {
        QJsonObject areas = document["areas"].toObject();
        QJsonObject area = areas["description"].toObject();
        QJsonObject fields = area["fields"].toObject();
        fields["objectName"] = inArea;
        area["fields"] = fields;
        areas["description"] = area;
        document["areas"] = areas;
    }
    QVERIFY(WriteText("doc.json", QJsonDocument(document).toJson()));
    QCOMPARE(Run({"apply", Path("a.zvx"), m_dir.filePath("doc.json")}), status);
    QVERIFY2(Run.err.contains(err), qPrintable(Run.err));
    QCOMPARE(Run({"get", Path("a.zvx"), "records.0"}), ExitStatus::Success);
    QCOMPARE(Run.out, name + u'\n');
}

QTEST_GUILESS_MAIN(TstZvxTextConfig)
#include "tst_zvx_textconfig.moc"
