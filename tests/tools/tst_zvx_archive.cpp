#include "archive/ArchiveDatabase.h"
#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "editors/fields/CodeFields.h"
#include "emulator/DialerEmulator.h"
#include "model/Cp1250.h"
#include "settings/TemporaryProgramSettings.h"
#include "tests/tools/CliRun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TZorvexSettings Config(const char* site, const char* code = "12345678")
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, Utf8ToCp1250(site));
    CodeFields codes = CodeFields::Load(settings);
    codes.codes[CodeFields::Installer] = code;
    codes.Store(settings);
    return settings;
}

bool SaveConfig(const QString& path, const TZorvexSettings& settings)
{
    return ConfigFile::Save(settings, FileNameBytes(path)).Ok();
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Older than the five years the archive keeps by default.
QDateTime OldTime()
{
    return QDateTime(QDate::currentDate().addYears(-6), QTime(10, 30));
}

} // namespace

class TstZvxArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void importAndLog();
    void showMasksCodes_data();
    void showMasksCodes();
    void diffAndRestore();
    void prune();
    void readIsRecorded();
    void fingerprintOnlyWithCodes_data();
    void fingerprintOnlyWithCodes();
    void pruneRefusesUnreadableKeep_data();
    void pruneRefusesUnreadableKeep();
    void importNamesByBytes();
    void errors_data();
    void errors();

private:
    QString Archive() const { return m_dir->filePath(QStringLiteral("archiwum.sqlite")); }
    // Three files in a folder tree, imported: ids 1..3 in name order.
    bool ImportThree();

    CliRun Run;
    std::unique_ptr<TemporaryProgramSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstZvxArchive::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings.reset(); // first: it puts back the override it found
    m_settings = std::make_unique<TemporaryProgramSettings>();
    QVERIFY(m_settings->Write("[Archive]\r\nFile=" + Archive().toUtf8() + "\r\n"));
}

bool TstZvxArchive::ImportThree()
{
    const QDir root(m_dir->path());
    if (!root.mkpath(QStringLiteral("pliki/stare")))
        return false;
    if (!SaveConfig(root.filePath(QStringLiteral("pliki/a.zvx")), Config("Apteka")) ||
        !SaveConfig(root.filePath(QStringLiteral("pliki/b.ZVX")), Config("Bank Łódź")) ||
        !SaveConfig(root.filePath(QStringLiteral("pliki/stare/c.zvx")), Config("Cukiernia")))
        return false;
    QFile notes(root.filePath(QStringLiteral("pliki/notatki.txt")));
    if (!notes.open(QIODevice::WriteOnly))
        return false;
    notes.close();
    QFile old(root.filePath(QStringLiteral("pliki/stare/c.zvx")));
    if (!old.open(QIODevice::ReadWrite) ||
        !old.setFileTime(OldTime(), QFileDevice::FileModificationTime))
        return false;
    return Run({"archive", "import", root.filePath(QStringLiteral("pliki"))}) == 0 &&
           Run.out.contains(QStringLiteral("Zaimportowano plików: 3"));
}

void TstZvxArchive::importAndLog()
{
    QVERIFY2(ImportThree(), qPrintable(Run.err));
    QCOMPARE(Run({"archive", "log", "--json"}), 0);
    const QJsonArray all = QJsonDocument::fromJson(Run.out.toUtf8()).array();
    QCOMPARE(all.size(), 3);
    QCOMPARE(all[0]["site"].toString(), QStringLiteral("Cukiernia"));
    QCOMPARE(all[0]["event"].toString(), QStringLiteral("load"));
    QVERIFY(all[0]["file"].toString().endsWith(QStringLiteral("stare/c.zvx")));
    // The file's own time, not the import's.
    QCOMPARE(QDateTime::fromString(all[0]["localTime"].toString(), Qt::ISODate).date(),
             OldTime().date());
    QCOMPARE(Run({"archive", "log", "--site", "łódź"}), 0);
    QCOMPARE(Run.out.count(QLatin1Char('\n')), 1);
    QVERIFY(Run.out.contains(QStringLiteral("Bank Łódź")));
    QCOMPARE(
        Run({"archive", "log", "--since", QDate::currentDate().addYears(-1).toString(Qt::ISODate)}),
        0);
    QCOMPARE(Run.out.count(QLatin1Char('\n')), 2);
    QVERIFY(!Run.out.contains(QStringLiteral("Cukiernia")));
    // Importing again keeps new entries, as repeats of the first ones.
    QVERIFY(ImportThree());
    QCOMPARE(Run({"archive", "log", "--json"}), 0);
    const QJsonArray again = QJsonDocument::fromJson(Run.out.toUtf8()).array();
    QCOMPARE(again.size(), 6);
    QCOMPARE(again[0]["repeatOf"].toInteger(), all[0]["id"].toInteger());
}

void TstZvxArchive::showMasksCodes_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("codeShown");
    QTest::newRow("masked by default") << QStringList{} << false;
    QTest::newRow("--codes") << QStringList{"--codes"} << true;
    QTest::newRow("json masked") << QStringList{"--json"} << false;
    QTest::newRow("json --codes") << QStringList{"--json", "--codes"} << true;
}

void TstZvxArchive::showMasksCodes()
{
    QFETCH(QStringList, options);
    QFETCH(bool, codeShown);
    QVERIFY2(ImportThree(), qPrintable(Run.err));
    QCOMPARE(Run(QStringList{"archive", "show"} + options + QStringList{"1"}), 0);
    QVERIFY(Run.out.contains(QStringLiteral("Apteka")));
    QCOMPARE(Run.out.contains(QStringLiteral("12345678")), codeShown);
}

void TstZvxArchive::diffAndRestore()
{
    QVERIFY2(ImportThree(), qPrintable(Run.err));
    const QString a = m_dir->filePath(QStringLiteral("pliki/a.zvx"));
    // Entry 1 against its own file: the same.
    QCOMPARE(Run({"archive", "diff", "1", a}), 0);
    // Against another entry: different, access codes masked.
    QVERIFY(SaveConfig(a, Config("Apteka", "87654321")));
    QVERIFY(Run({"archive", "import", m_dir->filePath(QStringLiteral("pliki"))}) == 0);
    QCOMPARE(Run({"archive", "diff", "4", "1"}), 1);
    QVERIFY(Run.out.contains(QStringLiteral("****")));
    QVERIFY(!Run.out.contains(QStringLiteral("87654321")));
    // Without a second: the previous entry of the same file.
    QCOMPARE(Run({"archive", "diff", "--codes", "4"}), 1);
    QVERIFY2(Run.out.contains(QStringLiteral("87654321")) &&
                 Run.out.contains(QStringLiteral("12345678")),
             qPrintable(Run.out));
    QCOMPARE(Run({"archive", "diff", "1"}), 3); // nothing before it

    const QString restored = m_dir->filePath(QStringLiteral("odtworzony.zvx"));
    QVERIFY(SaveConfig(a, Config("Apteka"))); // the bytes entry 1 came from
    QCOMPARE(Run({"archive", "restore", "1", "-o", restored}), 0);
    QCOMPARE(FileBytes(restored), FileBytes(a));
    // Entry 5 (c.zvx imported again) is a repeat: it still restores whole.
    QCOMPARE(Run({"archive", "restore", "6", "-o", restored}), 0);
    QCOMPARE(FileBytes(restored), FileBytes(m_dir->filePath(QStringLiteral("pliki/stare/c.zvx"))));
}

void TstZvxArchive::prune()
{
    QVERIFY2(ImportThree(), qPrintable(Run.err));
    // The default keeps five years: the old file's entry goes.
    QCOMPARE(Run({"archive", "prune"}), 0);
    QVERIFY2(Run.out.contains(QStringLiteral("Usunięto wpisów: 1")), qPrintable(Run.out));
    QCOMPARE(Run({"archive", "prune"}), 0);
    QVERIFY(Run.out.contains(QStringLiteral("Usunięto wpisów: 0")));
    QVERIFY(m_settings->Write("[Archive]\r\nFile=" + Archive().toUtf8() +
                              "\r\nKeepYears=0\r\nKeepCount=1\r\n"));
    QCOMPARE(Run({"archive", "prune"}), 0);
    QVERIFY(Run.out.contains(QStringLiteral("Usunięto wpisów: 1")));
    QCOMPARE(Run({"archive", "log"}), 0);
    QCOMPARE(Run.out.count(QLatin1Char('\n')), 1);
}

void TstZvxArchive::readIsRecorded()
{
    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    const QString port = QString::fromStdString(dialer.SlavePath());
    const QString out = m_dir->filePath(QStringLiteral("odczyt.zvx"));
    QCOMPARE(Run({"read", "--port", port, "-o", out}), 0);
    QVERIFY2(!Run.err.contains(QStringLiteral("Archiwum")), qPrintable(Run.err));
    QCOMPARE(Run({"archive", "log", "--json"}), 0);
    const QJsonArray all = QJsonDocument::fromJson(Run.out.toUtf8()).array();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[1]["event"].toString(), QStringLiteral("read"));
    QCOMPARE(all[1]["port"].toString(), port);
    QCOMPARE(all[0]["event"].toString(), QStringLiteral("save"));
    QCOMPARE(all[0]["file"].toString(), out);

    // An archive out of reach: the read still succeeds, standard error says so in one line.
    QVERIFY(m_settings->Write("[Archive]\r\nFile=" + out.toUtf8() + "/archiwum.sqlite\r\n"));
    QCOMPARE(Run({"read", "--port", port, "-o", out}), 0);
    // One line for the read and the save together, counting both.
    QVERIFY2(Run.err.count(QStringLiteral("Archiwum niedostępne")) == 1 &&
                 Run.err.contains(QStringLiteral("wpisy czekają w kolejce: 2")),
             qPrintable(Run.err));
}

void TstZvxArchive::fingerprintOnlyWithCodes_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("shown");
    QTest::newRow("show") << QStringList{"show", "1"} << false;
    QTest::newRow("show --codes") << QStringList{"show", "--codes", "1"} << true;
    QTest::newRow("show --json") << QStringList{"show", "--json", "1"} << false;
    QTest::newRow("show --json --codes") << QStringList{"show", "--json", "--codes", "1"} << true;
    QTest::newRow("log") << QStringList{"log"} << false;
    QTest::newRow("log --codes") << QStringList{"log", "--codes"} << true;
    QTest::newRow("log --json") << QStringList{"log", "--json"} << false;
}

// The fingerprint covers the access codes: with the rest of a masked copy known, a code
// would be found from it in a moment. Only output that shows the codes carries it.
void TstZvxArchive::fingerprintOnlyWithCodes()
{
    QFETCH(QStringList, args);
    QFETCH(bool, shown);
    QVERIFY2(ImportThree(), qPrintable(Run.err));
    QCOMPARE(Run({"archive", "log", "--json", "--codes", "--site", "Apteka"}), 0);
    const QJsonValue apteka = QJsonDocument::fromJson(Run.out.toUtf8()).array().first();
    const QString fingerprint = apteka["fingerprint"].toString();
    QCOMPARE(fingerprint.size(), 8);
    if (args.first() == QLatin1String("show"))
        args.last() = QString::number(apteka["id"].toInteger());
    QCOMPARE(Run(QStringList{"archive"} + args), 0);
    QVERIFY(Run.out.contains(QStringLiteral("Apteka")));
    QVERIFY2(Run.out.contains(fingerprint) == shown, qPrintable(Run.out));
}

void TstZvxArchive::pruneRefusesUnreadableKeep_data()
{
    QTest::addColumn<QByteArray>("keep");
    QTest::newRow("years with a word") << QByteArray("KeepYears=10 lat");
    QTest::newRow("negative years") << QByteArray("KeepYears=-1");
    QTest::newRow("fraction") << QByteArray("KeepYears=5.5");
    QTest::newRow("count with a word") << QByteArray("KeepCount=wiele");
}

// A prune on a value it cannot read would delete what the user meant to keep.
void TstZvxArchive::pruneRefusesUnreadableKeep()
{
    QFETCH(QByteArray, keep);
    QVERIFY2(ImportThree(), qPrintable(Run.err)); // one entry over five years old
    QVERIFY(m_settings->Write("[Archive]\r\nFile=" + Archive().toUtf8() + "\r\n" + keep + "\r\n"));
    QCOMPARE(Run({"archive", "prune"}), 3);
    QVERIFY2(Run.err.contains(QStringLiteral("Archiwum nie zostało wyczyszczone: "
                                             "Nieprawidłowa wartość ") +
                              QString::fromUtf8(keep)),
             qPrintable(Run.err));
    QCOMPARE(Run({"archive", "log"}), 0);
    QCOMPARE(Run.out.count(QLatin1Char('\n')), 3);
}

// A name that is not UTF-8 reaches its own file, never the twin whose name it would be
// turned into; a file that cannot be read is an error of the whole import.
void TstZvxArchive::importNamesByBytes()
{
    const QByteArray folder = QFile::encodeName(m_dir->filePath(QStringLiteral("import")));
    QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
    QVERIFY(ConfigFile::Save(Config("Surowy"), (folder + "/obiekt\xff.zvx").toStdString()).Ok());
    QVERIFY(ConfigFile::Save(Config("Bliźniak"), (folder + "/obiekt\xef\xbf\xbd.zvx").toStdString())
                .Ok());
    QCOMPARE(Run({"archive", "import", QFile::decodeName(folder)}), 0);
    QCOMPARE(Run({"archive", "log", "--json"}), 0);
    QStringList sites;
    for (const QJsonValue& e : QJsonDocument::fromJson(Run.out.toUtf8()).array())
        sites << e["site"].toString();
    sites.sort();
    QCOMPARE(sites, (QStringList{"Bliźniak", "Surowy"}));

    QFile broken(QFile::decodeName(folder + "/uszkodzony.zvx"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("nie konfiguracja") > 0);
    broken.close();
    QCOMPARE(Run({"archive", "import", QFile::decodeName(folder)}), 3);
    QVERIFY(Run.out.contains(QStringLiteral("Zaimportowano plików: 2")));
}

void TstZvxArchive::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");
    QTest::newRow("no action") << QStringList{"archive"} << 2 << "Użycie";
    QTest::newRow("unknown action") << QStringList{"archive", "zrob"} << 2 << "nieznane polecenie";
    QTest::newRow("show without id") << QStringList{"archive", "show"} << 2 << "numer wpisu";
    QTest::newRow("show bad id") << QStringList{"archive", "show", "x"} << 2 << "numer wpisu";
    QTest::newRow("show missing") << QStringList{"archive", "show", "99"} << 3 << "Brak wpisu 99";
    QTest::newRow("restore without -o") << QStringList{"archive", "restore", "1"} << 2 << "-o PLIK";
    QTest::newRow("bad date") << QStringList{"archive", "log", "--since", "wczoraj"} << 2
                              << "nieprawidłowa data";
    QTest::newRow("import no folder")
        << QStringList{"archive", "import", "/brak/folderu"} << 3 << "brak folderu";
    QTest::newRow("not an archive") << QStringList{"archive", "log"} << 3 << "nie jest";
}

void TstZvxArchive::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, err);
    if (QTest::currentDataTag() == QLatin1String("not an archive")) {
        QFile file(Archive());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'x'));
    }
    QCOMPARE(Run(args), status);
    QVERIFY2(Run.err.contains(err), qPrintable(Run.err));
}

QTEST_GUILESS_MAIN(TstZvxArchive)
#include "tst_zvx_archive.moc"
