#include "device/ConfigFileIO.h"

#include <QtTest>

#include <cerrno>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

TZorvexSettings Factory()
{
    TZorvexSettings s;
    s.LoadDefaults();
    return s;
}

// A configuration unlike the factory one in every region, with a record tail.
TZorvexSettings Crafted()
{
    TZorvexSettings s = Factory();
    for (int i = 1; i < TCfg::Size; ++i)
        s.Cfg.SetByte(i, static_cast<std::uint8_t>(i * 7 + 3));
    s.Comment.SetText(1, "Opis z ogonem po zerze");
    s.Comment.SetText(1, "Opis");
    s.Comment.SetText(13, std::string(50, 'x'));
    return s;
}

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void factoryMatchesGoldenFile();
    void saveLeavesImageByteZero();
    void roundTripKeepsRecordTails();
    void everySingleByteChangeIsRefused();
    void sizes_data();
    void sizes();
    void missingFileIsSizeError();
    void declinedConfirmationChangesNothing();
    void confirmationShowsRecordZero();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveThroughSymlinkKeepsLink();

private:
    QTemporaryDir m_dir;
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
};

void TstConfigFile::factoryMatchesGoldenFile()
{
    const QString path = Path("factory.zvx");
    QCOMPARE(ConfigFile::Save(Factory(), path.toStdString()), 0);
    const QByteArray golden = ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    QCOMPARE(golden.size(), 1024);
    QCOMPARE(ReadAll(path), golden);
}

void TstConfigFile::saveLeavesImageByteZero()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(0, 0x99);
    QCOMPARE(ConfigFile::Save(s, Path("b0.zvx").toStdString()), 0);
    QCOMPARE(s.Cfg.GetByte(0), std::uint8_t(0x99));
    const QByteArray file = ReadAll(Path("b0.zvx"));
    int sum = 0;
    for (int i = 32; i < 288; ++i)
        sum += static_cast<std::uint8_t>(file[i]);
    QCOMPARE(sum % 256, 0);
}

void TstConfigFile::roundTripKeepsRecordTails()
{
    const TZorvexSettings saved = Crafted();
    QCOMPARE(ConfigFile::Save(saved, Path("c.zvx").toStdString()), 0);
    TZorvexSettings loaded = Factory();
    std::string asked = "not asked";
    QCOMPARE(ConfigFile::Load(loaded, Path("c.zvx").toStdString(),
                              [&](const std::string& text) {
                                  asked = text;
                                  return true;
                              }),
             0);
    QCOMPARE(asked, std::string("Dialer MEDRA ZVX-A"));
    // Byte 0 comes from the file, where it holds the image checksum.
    TZorvexSettings expected = saved;
    expected.Cfg.SetByte(0, loaded.Cfg.GetByte(0));
    QVERIFY(loaded == expected);
    TComment::Record r;
    loaded.Comment.GetRecord(1, r);
    QCOMPARE(std::string(reinterpret_cast<char*>(r.data()) + 5, 5), std::string("z ogo"));
}

void TstConfigFile::everySingleByteChangeIsRefused()
{
    QCOMPARE(ConfigFile::Save(Crafted(), Path("m.zvx").toStdString()), 0);
    const QByteArray good = ReadAll(Path("m.zvx"));
    const TZorvexSettings before = Factory();
    for (int pos = 0; pos < good.size(); ++pos) {
        QByteArray bad = good;
        bad[pos] = static_cast<char>(bad[pos] ^ 0x01);
        ConfigFile::Bytes bytes;
        std::copy(bad.begin(), bad.end(), bytes.begin());
        if (ConfigFile::Check(bytes) != ConfigFile::FileFormatError)
            QFAIL(qPrintable(QStringLiteral("change at %1 accepted").arg(pos)));
    }
    // And through the disk path once, with the configuration untouched.
    QByteArray bad = good;
    bad[500] = static_cast<char>(bad[500] + 1);
    WriteAll(Path("bad.zvx"), bad);
    TZorvexSettings s = before;
    QCOMPARE(
        ConfigFile::Load(s, Path("bad.zvx").toStdString(), [](const std::string&) { return true; }),
        ConfigFile::FileFormatError);
    QVERIFY(s == before);
}

void TstConfigFile::sizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("status");
    QTest::newRow("empty") << 0 << ConfigFile::FileSizeError;
    QTest::newRow("1023") << 1023 << ConfigFile::FileSizeError;
    QTest::newRow("1024") << 1024 << 0;
    QTest::newRow("2000 with a valid head") << 2000 << 0;
}

void TstConfigFile::sizes()
{
    QFETCH(int, size);
    QFETCH(int, status);
    QByteArray bytes = ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    bytes = bytes.left(size);
    while (bytes.size() < size)
        bytes.append('\x55');
    WriteAll(Path("sized.zvx"), bytes);
    TZorvexSettings s;
    QCOMPARE(ConfigFile::Load(s, Path("sized.zvx").toStdString(),
                              [](const std::string&) { return true; }),
             status);
    if (status == 0)
        QCOMPARE(s.Comment.GetText(0), std::string("Dialer MEDRA ZVX-A"));
    else
        QVERIFY(s == TZorvexSettings());
}

void TstConfigFile::missingFileIsSizeError()
{
    TZorvexSettings s;
    QCOMPARE(ConfigFile::Load(s, Path("nothing-here.zvx").toStdString(), nullptr),
             ConfigFile::FileSizeError);
    QCOMPARE(ConfigFile::Load(s, m_dir.path().toStdString(), nullptr), ConfigFile::FileSizeError);
}

void TstConfigFile::declinedConfirmationChangesNothing()
{
    QCOMPARE(ConfigFile::Save(Crafted(), Path("d.zvx").toStdString()), 0);
    TZorvexSettings s = Factory();
    QCOMPARE(
        ConfigFile::Load(s, Path("d.zvx").toStdString(), [](const std::string&) { return false; }),
        0);
    QVERIFY(s == Factory());
}

void TstConfigFile::confirmationShowsRecordZero()
{
    TZorvexSettings s = Factory();
    s.Comment.SetText(0, "");
    QCOMPARE(ConfigFile::Save(s, Path("e.zvx").toStdString()), 0);
    std::string asked = "not asked";
    QCOMPARE(ConfigFile::Load(s, Path("e.zvx").toStdString(),
                              [&](const std::string& text) {
                                  asked = text;
                                  return false;
                              }),
             0);
    QCOMPARE(asked, std::string());
}

void TstConfigFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::newRow("path is a directory") << "directory" << EISDIR;
    QTest::newRow("read-only folder") << "readonly" << EACCES;
    QTest::newRow("folder missing") << "missing" << ENOENT;
}

void TstConfigFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    const QString folder = m_dir.filePath(kind);
    QVERIFY(QDir().mkpath(folder));
    QString target = folder + QStringLiteral("/old.zvx");
    const QByteArray old = ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    if (kind == QLatin1String("directory")) {
        target = folder + QStringLiteral("/adir");
        QVERIFY(QDir().mkpath(target));
    } else if (kind == QLatin1String("missing")) {
        target = folder + QStringLiteral("/no/such/old.zvx");
    } else {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        WriteAll(target, old);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    QCOMPARE(ConfigFile::Save(Crafted(), target.toStdString()), status);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (kind == QLatin1String("readonly"))
        QCOMPARE(ReadAll(target), old);
    if (kind == QLatin1String("directory"))
        QVERIFY(QFileInfo(target).isDir());
    // No temporary file is left behind.
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty() || left == QStringList{QStringLiteral("old.zvx")},
             qPrintable(left.join(',')));
}

void TstConfigFile::saveThroughSymlinkKeepsLink()
{
    const QString real = Path("real.zvx");
    const QString link = Path("link.zvx");
    WriteAll(real, "old");
    QVERIFY(QFile::link(real, link));
    QCOMPARE(ConfigFile::Save(Factory(), link.toStdString()), 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadAll(real), ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx")));
}

QTEST_APPLESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
