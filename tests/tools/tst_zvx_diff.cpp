#include "device/ConfigFileIO.h"
#include "model/Cp1250.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/FactorySettings.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QtTest>

#include <memory>

namespace {

QString Text(const char* message)
{
    return QString::fromUtf8(message);
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// "zvx diff A B" and "zvx verify --port PORT FILE".
class TstZvxDiff : public QObject
{
    Q_OBJECT

private slots:
    void badArguments_data();
    void badArguments();
    void diffOfFiles();
    void diffFileErrors_data();
    void diffFileErrors();
    void verifyAgainstDialer_data();
    void verifyAgainstDialer();
    void verifyFileError();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QString Save(const char* name, const TZorvexSettings& settings)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        if (!ConfigFile::Save(settings, QFile::encodeName(path).toStdString()).Ok())
            qFatal("cannot save %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_dir;
};

void TstZvxDiff::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("diff, one file") << QStringList{"diff", "a.zvx"};
    QTest::newRow("diff, three files") << QStringList{"diff", "a", "b", "c"};
    QTest::newRow("diff, option") << QStringList{"diff", "--json", "a", "b"};
    QTest::newRow("verify without port") << QStringList{"verify", "a.zvx"};
    QTest::newRow("verify without file") << QStringList{"verify", "--port", "COM1"};
    QTest::newRow("verify, COM17") << QStringList{"verify", "--port", "COM17", "a.zvx"};
    QTest::newRow("verify, two files") << QStringList{"verify", "--port", "COM1", "a", "b"};
    QTest::newRow("verify, port without value") << QStringList{"verify", "a.zvx", "--port"};
}

void TstZvxDiff::badArguments()
{
    QFETCH(QStringList, args);
    QCOMPARE(Run(args), ExitStatus::Usage);
    QVERIFY(Run.out.isEmpty());
    QVERIFY2(Run.err.startsWith("zvx " + args.first() + ": "), qPrintable(Run.err));
    QCOMPARE(Run.err.count('\n'), 1);
}

void TstZvxDiff::diffOfFiles()
{
    const TZorvexSettings factory = Factory();
    TZorvexSettings changed = factory;
    changed.Cfg.SetByte(120, 0x12); // NR 2: "12"
    changed.Cfg.SetByte(121, 0xFF);
    changed.Cfg.SetByte(60, 0x07); // no dialog edits it
    changed.Comment.SetText(1, Utf8ToCp1250("ul. Długa 1\r\n"));
    const QString a = Save("a.zvx", factory);
    const QString b = Save("b.zvx", changed);
    const QString copy = Save("kopia.zvx", factory);

    QCOMPARE(Run({"diff", a, copy}), ExitStatus::Success);
    QCOMPARE(Run.out, Text(ConstsZVX::DiffEqual) + "\n");
    QVERIFY(Run.err.isEmpty());

    QCOMPARE(Run({"diff", a, b}), ExitStatus::ExchangeFailed);
    QVERIFY(Run.err.isEmpty());
    // A control character in a record would break the line; it shows as its picture, so
    // that "ul. Długa 1\r\n" and "ul. Długa 1" differ visibly.
    QCOMPARE(Run.out.split('\n'),
             (QStringList{"A: " + a, "B: " + b,
                          "Konfiguracja | Adres (wiersz 1) | \"\" | "
                          "\"ul. D\u0142uga 1\u240D\u240A\"",
                          "Telefony | NR 2 | \"\" | \"12\"",
                          "Bajty nieedytowane | Bajt 60 | \"0x00\" | \"0x07\"", ""}));
}

void TstZvxDiff::diffFileErrors_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QByteArray badFormat(1024, '\0');
    badFormat.replace(0, 6, "Zorvex");
    badFormat[40] = 1;
    QTest::newRow("missing") << QByteArray() << Text(ConstsZVX::FileReadError);
    QTest::newRow("short") << QByteArray(100, 'x') << Text(ConstsZVX::FileSizeError);
    QTest::newRow("not a configuration") << badFormat << Text(ConstsZVX::FileFormatError);
}

void TstZvxDiff::diffFileErrors()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString good = Save("dobry.zvx", Factory());
    const QString bad = m_dir.filePath(QStringLiteral("zly.zvx"));
    QFile::remove(bad);
    if (!contents.isEmpty()) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    for (const QStringList& args :
         {QStringList{"diff", good, bad}, QStringList{"diff", bad, good}}) {
        QCOMPARE(Run(args), ExitStatus::FileError);
        QVERIFY(Run.out.isEmpty());
        QVERIFY2(Run.err.startsWith(message + ": " + bad), qPrintable(Run.err));
    }
}

void TstZvxDiff::verifyAgainstDialer_data()
{
    QTest::addColumn<bool>("differs");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("equal") << false << QStringList{} << ExitStatus::Success
                           << Text(ConstsZVX::VerifyEqual) << QString();
    QTest::newRow("different") << true << QStringList{} << ExitStatus::ExchangeFailed
                               << Text(ConstsZVX::VerifyHeading) << QString();
    QTest::newRow("silent dialer") << false << QStringList{"silent"} << ExitStatus::ExchangeFailed
                                   << QString() << Text(ConstsZVX::TransferNoAnswer);
    QTest::newRow("bad image checksum")
        << false << QStringList{"bad-image"} << ExitStatus::ExchangeFailed << QString()
        << Text(ConstsZVX::BadImageChecksum);
}

void TstZvxDiff::verifyAgainstDialer()
{
    QFETCH(bool, differs);
    QFETCH(QStringList, faults);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    TZorvexSettings file = Factory();
    file.Comment.SetText(0, "Obiekt 7"); // the dialer keeps no records: no difference
    const QString path = Save("obiekt.zvx", file);
    const QByteArray saved = Contents(path);

    TCfg image = file.Cfg;
    if (differs)
        image.SetByte(128, 0x99);
    image = Sealed(image);
    const auto dialer = StartDialer(faults, image);
    const QString port = PathOf(*dialer);

    QCOMPARE(Run({"verify", "--port", port, path}), status);
    QVERIFY2(Run.out.startsWith(out), qPrintable(Run.out));
    QVERIFY2(Run.err.contains(err), qPrintable(Run.err));
    if (differs)
        QVERIFY2(Run.out.endsWith("A: " + path + "\nB: dialer, " + port +
                                  "\nTelefony | NR 3 | \"\" | \"99\"\n"),
                 qPrintable(Run.out));
    QCOMPARE(Contents(path), saved);
    QCOMPARE(dialer->Image(), image); // a check writes nothing
}

void TstZvxDiff::verifyFileError()
{
    const auto dialer = StartDialer();
    const QString missing = m_dir.filePath(QStringLiteral("brak.zvx"));
    QCOMPARE(Run({"verify", "--port", PathOf(*dialer), missing}), ExitStatus::FileError);
    QVERIFY2(Run.err.startsWith(Text(ConstsZVX::FileReadError) + ": " + missing),
             qPrintable(Run.err));
    QCOMPARE(dialer->GetCounters().frames, 0);
}

QTEST_GUILESS_MAIN(TstZvxDiff)
#include "tst_zvx_diff.moc"
