// Files and output of the command-line tool under hostile conditions: odd save targets,
// names that are not UTF-8, control characters in files, an output that cannot be
// written, and the one exit status for a file error.

#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "model/Cp1250.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kZvx = QStringLiteral(ZVX_BINARY_DIR "/tools/zvx");
const QString kFactoryFile = QStringLiteral(ZVX_TEST_DATA "/factory.zvx");

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// By the name's bytes: QFile would re-encode a name that is not UTF-8.
QByteArray Contents(const std::string& path)
{
    QFile file;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return {};
    return file.readAll();
}

bool Write(const std::string& path, const QByteArray& bytes)
{
    QFile file;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           file.write(bytes) == bytes.size();
}

// What stands at a path: kind, size and link text; empty when nothing.
QString Describe(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return {};
    QString what = QString::number(st.st_mode) + ' ' + QString::number(st.st_size);
    char points[256];
    const ssize_t size = readlink(path.c_str(), points, sizeof points);
    if (size > 0)
        what += " -> " + QString::fromLocal8Bit(points, size);
    return what;
}

int EntryCount(const std::string& folder)
{
    int count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            count += std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0;
        closedir(dir);
    }
    return count;
}

// A character that must never reach a console raw.
bool HasRawControl(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7F && u <= 0x9F))
            return true;
    }
    return false;
}

// Bytes written into a pipe and not yet read from it.
int Unread(int fd)
{
    int count = -1;
    return ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

} // namespace

class TstZvxFiles : public QObject
{
    Q_OBJECT

private slots:
    void fileErrorIsStatusThreeWithReason_data();
    void fileErrorIsStatusThreeWithReason();
    void oddSaveTargetsRefusedBeforeWork_data();
    void oddSaveTargetsRefusedBeforeWork();
    void namesReachTheSystemByteForByte();
    void namesFromArgvByteForByte();
    void controlCharactersNeverRaw_data();
    void controlCharactersNeverRaw();
    void emulateLinkRefusesExistingPath_data();
    void emulateLinkRefusesExistingPath();
    void unwritableOutputFails_data();
    void unwritableOutputFails();
    void configurationOnStandardOutput();
    void readToStandardOutputKeepsMessagesApart();
    void documentOnStandardInput_data();
    void documentOnStandardInput();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QTemporaryDir m_dir;
    std::string Path(const QString& name) const { return m_dir.filePath(name).toStdString(); }
    // A configuration file whose records carry terminal control sequences and line breaks.
    QString HostileFile();
};

void TstZvxFiles::fileErrorIsStatusThreeWithReason_data()
{
    QTest::addColumn<QStringList>("args"); // "@missing" and "@dir" stand for the two paths
    QTest::addColumn<int>("error");
    const QString port = QStringLiteral("/dev/zvx-no-such-port");
    QTest::newRow("write, missing") << QStringList{"write", "--port", port, "@missing"} << ENOENT;
    QTest::newRow("write, folder") << QStringList{"write", "--port", port, "@dir"} << EISDIR;
    QTest::newRow("verify, missing") << QStringList{"verify", "--port", port, "@missing"} << ENOENT;
    QTest::newRow("show, folder") << QStringList{"show", "@dir"} << EISDIR;
    QTest::newRow("diff, missing") << QStringList{"diff", kFactoryFile, "@missing"} << ENOENT;
    QTest::newRow("emulate, image missing")
        << QStringList{"emulate", "--image", "@missing"} << ENOENT;
    QTest::newRow("emulate, image folder") << QStringList{"emulate", "--image=@dir"} << EISDIR;
}

void TstZvxFiles::fileErrorIsStatusThreeWithReason()
{
    QFETCH(QStringList, args);
    QFETCH(int, error);
    const QString missing = m_dir.filePath("brak.zvx");
    args.replaceInStrings("@missing", missing).replaceInStrings("@dir", m_dir.path());
    const QString path = error == ENOENT ? missing : m_dir.path();
    QCOMPARE(Run(args), ExitStatus::FileError);
    QCOMPARE(Run.err, "Błąd odczytu pliku: " + path + " (" + Reason(error) + ")\n");
    QVERIFY(Run.out.isEmpty());
}

void TstZvxFiles::oddSaveTargetsRefusedBeforeWork_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    const QString notRegular = QStringLiteral("to nie jest zwykły plik");
    // "read" names a port that is not there: had it started the exchange, it would end
    // with a port error (4), not with the file's (3).
    for (const char* command : {"new", "read", "emulate"}) {
        const QString c = QString::fromLatin1(command);
        QTest::addRow("%s, FIFO", command) << c << "fifo" << notRegular;
        QTest::addRow("%s, link to a FIFO", command) << c << "link-fifo" << notRegular;
        QTest::addRow("%s, link loop", command) << c << "loop" << Reason(ELOOP);
        QTest::addRow("%s, file nobody may write", command) << c << "readonly" << Reason(EACCES);
        QTest::addRow("%s, folder", command) << c << "dir" << Reason(EISDIR);
    }
}

void TstZvxFiles::oddSaveTargetsRefusedBeforeWork()
{
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString folder = m_dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    const std::string target = folder.toStdString() + "/cel.zvx";
    if (kind == "fifo") {
        QVERIFY(mkfifo(target.c_str(), 0644) == 0);
    } else if (kind == "link-fifo") {
        QVERIFY(mkfifo((folder.toStdString() + "/rura").c_str(), 0644) == 0);
        QVERIFY(symlink("rura", target.c_str()) == 0);
    } else if (kind == "loop") {
        QVERIFY(symlink("cel.zvx", target.c_str()) == 0);
    } else if (kind == "readonly") {
        QVERIFY(Write(target, "stary"));
        QVERIFY(chmod(target.c_str(), 0444) == 0);
    } else {
        QVERIFY(mkdir(target.c_str(), 0755) == 0);
    }
    const QString before = Describe(target);
    const QString file = QString::fromStdString(target);
    QStringList args{"new", "-o", file};
    if (command == "read")
        args = {"read", "--port", "/dev/zvx-no-such-port", "-o", file};
    else if (command == "emulate")
        args = {"emulate", "--no-pacing", "--save", file};

    QCOMPARE(Run(args), ExitStatus::FileError);
    QCOMPARE(Run.err, "Błąd zapisu pliku: " + file + " (" + reason + ")\n");
    QVERIFY(Run.out.isEmpty());
    QCOMPARE(Describe(target), before);
    QCOMPARE(EntryCount(folder.toStdString()), kind == "link-fifo" ? 2 : 1);
    chmod(target.c_str(), 0644); // lets the temporary folder go
}

void TstZvxFiles::namesReachTheSystemByteForByte()
{
    // The same name in cp1250 and as Qt would have decoded it: two different files.
    const std::string cp1250 = m_dir.path().toStdString() + "/caf\xE9.zvx";
    const std::string qtName = Path(QString::fromUtf8("caf\xE9.zvx"));
    QVERIFY(cp1250 != qtName);
    QVERIFY(Write(qtName, "cudzy plik"));
    const QString name = FileNameFromBytes(QByteArray::fromStdString(cp1250));

    QCOMPARE(Run({"new", "-o", name}), ExitStatus::Success);
    QCOMPARE(Contents(cp1250), Contents(kFactoryFile.toStdString()));
    QCOMPARE(Contents(qtName), QByteArray("cudzy plik"));
    QCOMPARE(Run({"show", name}), ExitStatus::Success);
    QCOMPARE(Run({"diff", name, kFactoryFile}), ExitStatus::Success);
    QVERIFY(!HasRawControl(Run.out + Run.err));
    unlink(cp1250.c_str()); // QTemporaryDir cannot name it either
}

void TstZvxFiles::namesFromArgvByteForByte()
{
    // Through the real program: the shell hands it the bytes.
    const QString folder = m_dir.filePath("argv");
    QVERIFY(QDir().mkpath(folder));
    QProcess zvx;
    zvx.setWorkingDirectory(folder);
    zvx.start("/bin/sh", {"-c",
                          "\"$0\" new -o \"$(printf 'Zg\\263d\\271.zvx')\" && "
                          "\"$0\" show \"$(printf 'Zg\\263d\\271.zvx')\" >/dev/null",
                          kZvx});
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), 0);
    QCOMPARE(Contents(folder.toStdString() + "/Zg\xB3"
                                             "d\xB9.zvx")
                 .size(),
             1024);
    QCOMPARE(EntryCount(folder.toStdString()), 1); // QDir skips names it cannot decode
    unlink((folder.toStdString() + "/Zg\xB3"
                                   "d\xB9.zvx")
               .c_str());
}

QString TstZvxFiles::HostileFile()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, "Sklep\x1B]0;przejety\x07\x1B[2J\r\nWPIS");
    settings.Comment.SetText(1, "ul.\rFALSZ\x7F\x81\x9B");
    const QString path = m_dir.filePath("wrogi.zvx");
    if (!ConfigFile::Save(settings, path.toStdString()).Ok())
        return {};
    return path;
}

void TstZvxFiles::controlCharactersNeverRaw_data()
{
    QTest::addColumn<QStringList>("args"); // "@file" is the hostile file
    QTest::addColumn<int>("status");
    QTest::newRow("show") << QStringList{"show", "@file"} << ExitStatus::Success;
    QTest::newRow("show --json") << QStringList{"show", "--json", "@file"} << ExitStatus::Success;
    QTest::newRow("diff") << QStringList{"diff", "@file", kFactoryFile}
                          << ExitStatus::ExchangeFailed;
    QTest::newRow("write") << QStringList{"write", "--port", "@dialer", "@file"}
                           << ExitStatus::Success;
    QTest::newRow("get") << QStringList{"get", "@file", "records.0", "records.1"}
                         << ExitStatus::Success;
    QTest::newRow("name of a missing file")
        << QStringList{"show", m_dir.filePath("\x1B[2JSklep\a.zvx")} << ExitStatus::FileError;
    QTest::newRow("name with a line break")
        << QStringList{"show", m_dir.filePath("Sklep\nWPIS.zvx")} << ExitStatus::FileError;
}

void TstZvxFiles::controlCharactersNeverRaw()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    const QString file = HostileFile();
    QVERIFY(!file.isEmpty());
    const auto dialer = StartDialer();
    args.replaceInStrings("@file", file).replaceInStrings("@dialer", PathOf(*dialer));
    QCOMPARE(Run(args), status);
    QVERIFY2(!HasRawControl(Run.out + Run.err), qPrintable(Run.out + Run.err));
    QVERIFY((Run.out + Run.err).contains("Sklep"));
    // A line break of the file's own stays within its line: nothing starts a line of ours.
    for (const QString& line : (Run.out + Run.err).split(u'\n'))
        QVERIFY2(!line.contains("WPIS") || line.contains("Sklep"), qPrintable(Run.out + Run.err));
}

void TstZvxFiles::emulateLinkRefusesExistingPath_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("regular file") << "file";
    QTest::newRow("link left by another run") << "link";
    QTest::newRow("dangling link") << "dangling";
}

void TstZvxFiles::emulateLinkRefusesExistingPath()
{
    QFETCH(QString, kind);
    const std::string link = Path(QStringLiteral("dialer-") + kind);
    if (kind == "file")
        QVERIFY(Write(link, "moje"));
    else
        QVERIFY(symlink(kind == "link" ? "/dev/null" : "/nonexistent", link.c_str()) == 0);
    const QString before = Describe(link);
    QCOMPARE(Run({"emulate", "--no-pacing", "--link", QString::fromStdString(link)}),
             ExitStatus::FileError);
    QVERIFY2(Run.err.contains(Reason(EEXIST)), qPrintable(Run.err));
    QCOMPARE(Describe(link), before);
}

void TstZvxFiles::unwritableOutputFails_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("ownStatus"); // what the command returns when its output is fine
    QTest::newRow("show --json") << QStringList{"show", "--json", kFactoryFile} << 0;
    QTest::newRow("show") << QStringList{"show", kFactoryFile} << 0;
    QTest::newRow("diff, equal") << QStringList{"diff", kFactoryFile, kFactoryFile} << 0;
    QTest::newRow("new -o -") << QStringList{"new", "-o", "-"} << 0;
    QTest::newRow("help") << QStringList{"--help"} << 0;
}

void TstZvxFiles::unwritableOutputFails()
{
    QFETCH(QStringList, args);
    QFETCH(int, ownStatus);
    QProcess zvx;
    zvx.setWorkingDirectory(m_dir.path());
    zvx.start(kZvx, args);
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), ownStatus);

    zvx.setStandardOutputFile("/dev/full");
    zvx.start(kZvx, args);
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), ExitStatus::FileError);
    const QString err = QString::fromUtf8(zvx.readAllStandardError());
    QVERIFY2(err.contains("zvx: Błąd zapisu wyjścia standardowego (" + Reason(ENOSPC) + ")\n"),
             qPrintable(err));
}

void TstZvxFiles::configurationOnStandardOutput()
{
    QProcess zvx;
    zvx.setWorkingDirectory(m_dir.path());
    zvx.start(kZvx, {"new", "-o", "-"});
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), ExitStatus::Success);
    QCOMPARE(zvx.readAllStandardOutput(), Contents(kFactoryFile.toStdString()));
    QCOMPARE(zvx.readAllStandardError(), QByteArray());
    QVERIFY(!QFile::exists(m_dir.filePath("-")));

    // /dev/stdout on a pipe leads to no file: refused, not a file made somewhere.
    zvx.start(kZvx, {"new", "-o", "/dev/stdout"});
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), ExitStatus::FileError);
    QCOMPARE(zvx.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromUtf8(zvx.readAllStandardError()),
             "Błąd zapisu pliku: /dev/stdout (to nie jest zwykły plik)\n");
}

void TstZvxFiles::readToStandardOutputKeepsMessagesApart()
{
    const auto dialer = StartDialer();
    QBuffer bytes;
    QVERIFY(bytes.open(QIODevice::WriteOnly));
    QString err;
    QTextStream out(&bytes);
    QTextStream errStream(&err);
    const int status =
        RunCommandLine({"read", "--port", PathOf(*dialer), "-o", "-"}, out, errStream);
    out.flush();
    QCOMPARE(status, ExitStatus::Success);
    QCOMPARE(bytes.data().size(), 1024);
    ConfigFile::Bytes file;
    std::copy(bytes.data().begin(), bytes.data().end(), file.begin());
    QVERIFY(ConfigFile::Check(file).Ok());
    QVERIFY2(err.contains("Konfiguracja odczytana poprawnie"), qPrintable(err));
}

void TstZvxFiles::documentOnStandardInput_data()
{
    QTest::addColumn<QByteArrayList>("pieces"); // each sent once zvx has read the one before
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("alarmEntry"); // read back afterwards
    const QByteArray edit = R"({"areas": {"delays": {"fields": {"alarmEntry": "45"}}}})";
    QTest::newRow("whole") << QByteArrayList{edit} << ExitStatus::Success << ""
                           << "45";
    QTest::newRow("in pieces") << QByteArrayList{edit.left(9), edit.mid(9, 20), edit.mid(29)}
                               << ExitStatus::Success << ""
                               << "45";
    QTest::newRow("cut off") << QByteArrayList{edit.left(30)} << ExitStatus::Usage
                             << "nieprawidłowy dokument JSON"
                             << "0";
    QTest::newRow("beyond the limit")
        << QByteArrayList{R"({"records": [")" + QByteArray(4 * 1024 * 1024, 'x') + R"("]})"}
        << ExitStatus::Usage << "Dokument JSON jest za duży (ponad 4194304 bajtów)"
        << "0";
}

// "zvx apply FILE -" reads standard input to its end, as a pipe delivers it, and no
// further than a document can be long.
void TstZvxFiles::documentOnStandardInput()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(QString, alarmEntry);
    const QString file = m_dir.filePath("dok.zvx");
    QFile::remove(file);
    QVERIFY(QFile::copy(kFactoryFile, file));
    int pipe[2];
    QVERIFY(pipe2(pipe, O_CLOEXEC) == 0);
    std::signal(SIGPIPE, SIG_IGN); // a refused document is not read to its end
    QProcess zvx;
    zvx.setChildProcessModifier([readEnd = pipe[0]] { dup2(readEnd, STDIN_FILENO); });
    zvx.start(kZvx, {"apply", file, "-"});
    QVERIFY(zvx.waitForStarted());
    close(pipe[0]);
    for (const QByteArray& piece : pieces) {
        QTRY_COMPARE(Unread(pipe[1]), 0);
        // Short only where zvx stops reading at the limit; the outcome tells the rest.
        const ssize_t written = write(pipe[1], piece.constData(), piece.size());
        Q_UNUSED(written);
    }
    close(pipe[1]);
    QVERIFY(zvx.waitForFinished(60000));
    QCOMPARE(zvx.exitCode(), status);
    const QString printed = QString::fromUtf8(zvx.readAllStandardError());
    QVERIFY2(printed.contains(err), qPrintable(printed));
    QVERIFY(printed.size() < 400);
    QCOMPARE(Run({"get", file, "delays.alarmEntry"}), ExitStatus::Success);
    QCOMPARE(Run.out, alarmEntry + u'\n');
}

QTEST_GUILESS_MAIN(TstZvxFiles)
#include "tst_zvx_files.moc"
