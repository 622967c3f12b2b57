#include "device/ConfigFileIO.h"
#include "tests/common/FactorySettings.h"

#include <QtTest>

#include <cerrno>
#include <dirent.h>
#include <map>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ConfigFile::Result)

namespace ConfigFile {
// Readable QCOMPARE failures.
char* toString(const Result& result)
{
    return qstrdup(QStringLiteral("outcome %1, errno %2")
                       .arg(int(result.outcome))
                       .arg(result.error)
                       .toLatin1()
                       .constData());
}
} // namespace ConfigFile

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
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

// What a folder holds, by raw name: kind, size and link text of every entry.
std::map<std::string, std::string> Entries(const std::string& folder)
{
    std::map<std::string, std::string> entries;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return entries;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + '/' + name;
        struct stat st;
        lstat(path.c_str(), &st);
        std::string what = std::to_string(st.st_mode) + ' ' + std::to_string(st.st_size);
        char points[PATH_MAX];
        const ssize_t size = readlink(path.c_str(), points, sizeof points);
        if (size > 0)
            what += " -> " + std::string(points, static_cast<std::size_t>(size));
        entries[name] = what;
    }
    closedir(dir);
    return entries;
}

bool MakeSocket(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
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
    void unreadableFileGivesSystemReason();
    void declinedConfirmationChangesNothing();
    void confirmationShowsRecordZero();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveThroughSymlinkKeepsLink();
    void oddTargets_data();
    void oddTargets();
    void checkSaveWritesNothing();

private:
    QTemporaryDir m_dir;
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
};

void TstConfigFile::factoryMatchesGoldenFile()
{
    const QString path = Path("factory.zvx");
    QCOMPARE(ConfigFile::Save(Factory(), path.toStdString()), ConfigFile::Success);
    const QByteArray golden = ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    QCOMPARE(golden.size(), 1024);
    QCOMPARE(ReadAll(path), golden);
}

void TstConfigFile::saveLeavesImageByteZero()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(0, 0x99);
    QCOMPARE(ConfigFile::Save(s, Path("b0.zvx").toStdString()), ConfigFile::Success);
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
    QCOMPARE(ConfigFile::Save(saved, Path("c.zvx").toStdString()), ConfigFile::Success);
    TZorvexSettings loaded = Factory();
    std::string asked = "not asked";
    QCOMPARE(ConfigFile::Load(loaded, Path("c.zvx").toStdString(),
                              [&](const std::string& text) {
                                  asked = text;
                                  return true;
                              }),
             ConfigFile::Success);
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
    QCOMPARE(ConfigFile::Save(Crafted(), Path("m.zvx").toStdString()), ConfigFile::Success);
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
    QVERIFY(WriteAll(Path("bad.zvx"), bad));
    TZorvexSettings s = before;
    QCOMPARE(
        ConfigFile::Load(s, Path("bad.zvx").toStdString(), [](const std::string&) { return true; }),
        ConfigFile::FileFormatError);
    QVERIFY(s == before);
}

void TstConfigFile::sizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<ConfigFile::Result>("status");
    QTest::newRow("empty") << 0 << ConfigFile::FileSizeError;
    QTest::newRow("1023") << 1023 << ConfigFile::FileSizeError;
    QTest::newRow("1024") << 1024 << ConfigFile::Success;
    QTest::newRow("2000 with a valid head") << 2000 << ConfigFile::Success;
}

void TstConfigFile::sizes()
{
    QFETCH(int, size);
    QFETCH(ConfigFile::Result, status);
    QByteArray bytes = ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx"));
    bytes = bytes.left(size);
    while (bytes.size() < size)
        bytes.append('\x55');
    QVERIFY(WriteAll(Path("sized.zvx"), bytes));
    TZorvexSettings s;
    QCOMPARE(ConfigFile::Load(s, Path("sized.zvx").toStdString(),
                              [](const std::string&) { return true; }),
             status);
    if (status.Ok())
        QCOMPARE(s.Comment.GetText(0), std::string("Dialer MEDRA ZVX-A"));
    else
        QVERIFY(s == TZorvexSettings());
}

void TstConfigFile::unreadableFileGivesSystemReason()
{
    // A file that cannot be opened or read is not a short one: the user gets the reason.
    TZorvexSettings s;
    QCOMPARE(ConfigFile::Load(s, Path("nothing-here.zvx").toStdString(), nullptr),
             ConfigFile::Result::System(ENOENT));
    QCOMPARE(ConfigFile::Load(s, m_dir.path().toStdString(), nullptr),
             ConfigFile::Result::System(EISDIR));
    QVERIFY(s == TZorvexSettings());
}

void TstConfigFile::declinedConfirmationChangesNothing()
{
    QCOMPARE(ConfigFile::Save(Crafted(), Path("d.zvx").toStdString()), ConfigFile::Success);
    TZorvexSettings s = Factory();
    QCOMPARE(
        ConfigFile::Load(s, Path("d.zvx").toStdString(), [](const std::string&) { return false; }),
        ConfigFile::Success);
    QVERIFY(s == Factory());
}

void TstConfigFile::confirmationShowsRecordZero()
{
    TZorvexSettings s = Factory();
    s.Comment.SetText(0, "");
    QCOMPARE(ConfigFile::Save(s, Path("e.zvx").toStdString()), ConfigFile::Success);
    std::string asked = "not asked";
    QCOMPARE(ConfigFile::Load(s, Path("e.zvx").toStdString(),
                              [&](const std::string& text) {
                                  asked = text;
                                  return false;
                              }),
             ConfigFile::Success);
    QCOMPARE(asked, std::string());
}

void TstConfigFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::newRow("path is a directory") << "directory" << int(EISDIR);
    QTest::newRow("read-only folder") << "readonly" << int(EACCES);
    QTest::newRow("folder missing") << "missing" << int(ENOENT);
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
        QVERIFY(WriteAll(target, old));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    QCOMPARE(ConfigFile::Save(Crafted(), target.toStdString()), ConfigFile::Result::System(status));
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
    QVERIFY(WriteAll(real, "old"));
    QVERIFY(QFile::link(real, link));
    QCOMPARE(ConfigFile::Save(Factory(), link.toStdString()), ConfigFile::Success);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadAll(real), ReadAll(QStringLiteral(ZVX_TEST_DATA "/factory.zvx")));
}

void TstConfigFile::oddTargets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ConfigFile::Result>("expected");
    // The file the save creates or replaces (the name given is always "target"), empty
    // when the save must leave the folder exactly as it was.
    QTest::addColumn<QString>("written");
    const auto notRegular = ConfigFile::NotRegular;
    QTest::newRow("FIFO") << "fifo" << notRegular << "";
    QTest::newRow("socket") << "socket" << notRegular << "";
    QTest::newRow("link to a FIFO") << "link-fifo" << notRegular << "";
    QTest::newRow("link to a directory") << "link-dir" << ConfigFile::Result::System(EISDIR) << "";
    QTest::newRow("dangling link: its target is made")
        << "dangling" << ConfigFile::Success << "made.zvx";
    QTest::newRow("chain of links to a new file") << "chain" << ConfigFile::Success << "end.zvx";
    QTest::newRow("dangling link into no folder")
        << "dangling-nofolder" << ConfigFile::Result::System(ENOENT) << "";
    QTest::newRow("link loop") << "loop" << ConfigFile::Result::System(ELOOP) << "";
    QTest::newRow("file nobody may write")
        << "readonly" << ConfigFile::Result::System(EACCES) << "";
    QTest::newRow("250-byte name") << "long250" << ConfigFile::Success << "";
    QTest::newRow("255-byte name") << "long255" << ConfigFile::Success << "";
}

void TstConfigFile::oddTargets()
{
    QFETCH(QString, kind);
    QFETCH(ConfigFile::Result, expected);
    QFETCH(QString, written);
    const std::string folder = Path(QTest::currentDataTag()).toStdString();
    QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
    std::string target = folder + "/target";
    const auto link = [&](const char* to, const std::string& at) {
        return symlink(to, at.c_str()) == 0;
    };
    if (kind == "fifo") {
        QVERIFY(mkfifo(target.c_str(), 0644) == 0);
    } else if (kind == "socket") {
        QVERIFY(MakeSocket(target));
    } else if (kind == "link-fifo") {
        QVERIFY(mkfifo((folder + "/pipe").c_str(), 0644) == 0);
        QVERIFY(link("pipe", target));
    } else if (kind == "link-dir") {
        QVERIFY(QDir().mkpath(QString::fromStdString(folder + "/sub")));
        QVERIFY(link("sub", target));
    } else if (kind == "dangling") {
        QVERIFY(link("made.zvx", target));
    } else if (kind == "chain") {
        QVERIFY(link("middle", target));
        QVERIFY(link((folder + "/end.zvx").c_str(), folder + "/middle"));
    } else if (kind == "dangling-nofolder") {
        QVERIFY(link("no/such/folder.zvx", target));
    } else if (kind == "loop") {
        QVERIFY(link("other", target));
        QVERIFY(link("target", folder + "/other"));
    } else if (kind == "readonly") {
        QVERIFY(WriteAll(QString::fromStdString(target), "old contents"));
        QVERIFY(chmod(target.c_str(), 0444) == 0);
    } else if (kind.startsWith("long")) {
        target = folder + '/' + std::string(kind.mid(4).toUInt() - 4, 'n') + ".zvx";
        written = QString::fromStdString(target.substr(folder.size() + 1));
    }
    const auto before = Entries(folder);

    QCOMPARE(ConfigFile::Save(Crafted(), target), expected);

    auto after = Entries(folder);
    if (written.isEmpty()) {
        // Refused: nothing made, nothing replaced, no temporary file left.
        QCOMPARE(after, before);
        return;
    }
    const ConfigFile::Bytes bytes = ConfigFile::Build(Crafted());
    const QByteArray file = ReadAll(QString::fromStdString(folder) + '/' + written);
    QCOMPARE(file, QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    QVERIFY(after.erase(written.toStdString()) == 1);
    auto expectedAfter = before;
    expectedAfter.erase(written.toStdString());
    QCOMPARE(after, expectedAfter); // the links stay as they were, no temporary file
}

void TstConfigFile::checkSaveWritesNothing()
{
    const std::string folder = Path("check").toStdString();
    QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
    QCOMPARE(ConfigFile::CheckSave(folder + "/new.zvx"), ConfigFile::Success);
    QCOMPARE(ConfigFile::CheckSave(folder + "/no/new.zvx"), ConfigFile::Result::System(ENOENT));
    QCOMPARE(ConfigFile::CheckSave(""), ConfigFile::Result::System(ENOENT));
    QVERIFY(Entries(folder).empty());
}

QTEST_APPLESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
