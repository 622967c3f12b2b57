#include "model/Exception.h"
#include "settings/ProgramSettings.h"
#include "settings/TemporaryProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

// How a test file is made: its bytes, or one of the files the program must not read.
const QByteArray kFifo = "<fifo>";
const QByteArray kZero = "<link to /dev/zero>";
const QByteArray kNone = "<none>";

bool Make(const TemporaryProgramSettings& file, const QByteArray& how)
{
    const QByteArray path = QFile::encodeName(file.Path());
    if (how == kNone)
        return true;
    if (how == kFifo)
        return mkfifo(path.constData(), 0600) == 0;
    if (how == kZero)
        return QFile::link(QStringLiteral("/dev/zero"), file.Path());
    return file.Write(how);
}

} // namespace

class TestProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void port_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("problem");

        QTest::newRow("no file: COM2") << kNone << 2 << false;
        QTest::newRow("Port=3") << QByteArray("[Program configuration]\r\nPort=3\r\n") << 3
                                << false;
        QTest::newRow("no key: COM1")
            << QByteArray("[Program configuration]\r\nX=3\r\n") << 1 << false;
        QTest::newRow("empty file: COM1") << QByteArray() << 1 << false;
        QTest::newRow("out of range as written")
            << QByteArray("[program CONFIGURATION]\nport=256\n") << 256 << false;
        QTest::newRow("FIFO: as without a file") << kFifo << 2 << true;
        QTest::newRow("link to /dev/zero: as without a file") << kZero << 2 << true;
    }
    void port()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, port);
        QFETCH(bool, problem);
        TemporaryProgramSettings temporary;
        QVERIFY(Make(temporary, file));
        const ProgramSettings settings; // the program's own file: the temporary one
        QCOMPARE(settings.FileName(), temporary.Path());
        QCOMPARE(settings.Port(), port);
        QCOMPARE(!settings.Problem().isEmpty(), problem);
    }

    void verifyAfterWrite_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<std::optional<bool>>("verify");

        const QByteArray head = "[Program configuration]\r\nPort=1\r\n";
        QTest::newRow("no file: ask") << kNone << std::optional<bool>();
        QTest::newRow("no key: ask") << head << std::optional<bool>();
        QTest::newRow("1") << head + "VerifyAfterWrite=1\r\n" << std::optional<bool>(true);
        QTest::newRow("0") << head + "verifyafterwrite = 0\r\n" << std::optional<bool>(false);
        QTest::newRow("2: ask") << head + "VerifyAfterWrite=2\r\n" << std::optional<bool>();
        QTest::newRow("word: ask") << head + "VerifyAfterWrite=tak\r\n" << std::optional<bool>();
        QTest::newRow("FIFO: ask") << kFifo << std::optional<bool>();
    }
    void verifyAfterWrite()
    {
        QFETCH(QByteArray, file);
        QFETCH(std::optional<bool>, verify);
        TemporaryProgramSettings temporary;
        QVERIFY(Make(temporary, file));
        QCOMPARE(ProgramSettings().VerifyAfterWrite(), verify);
    }

    // Setting a key keeps what the file meant for the port.
    void setters_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("port");

        QTest::newRow("new file still means COM2")
            << kNone << QByteArray("[Program configuration]\r\nPort=2\r\nVerifyAfterWrite=0\r\n")
            << 2;
        QTest::newRow("file without Port still means COM1")
            << QByteArray("[Program configuration]\nX=1\n")
            << QByteArray("[Program configuration]\nX=1\nVerifyAfterWrite=0\n") << 1;
        QTest::newRow("other keys kept")
            << QByteArray("; mine\r\n[Port names]\r\nCOM3=/dev/ttyUSB0\r\n")
            << QByteArray("; mine\r\n[Port names]\r\nCOM3=/dev/ttyUSB0\r\n"
                          "[Program configuration]\r\nVerifyAfterWrite=0\r\n")
            << 1;
    }
    void setters()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(int, port);
        TemporaryProgramSettings temporary;
        QVERIFY(Make(temporary, before));
        ProgramSettings settings;
        settings.SetVerifyAfterWrite(false);
        QCOMPARE(temporary.Content(), after);
        QCOMPARE(settings.Port(), port);
        QCOMPARE(settings.VerifyAfterWrite(), std::optional<bool>(false));
        settings.SetPort(4);
        QCOMPARE(settings.Port(), 4);
    }

    // A save never puts a regular file where a FIFO or a link to a device was.
    void settersLeaveHostileFileAlone_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("FIFO") << kFifo;
        QTest::newRow("link to /dev/zero") << kZero;
    }
    void settersLeaveHostileFileAlone()
    {
        QFETCH(QByteArray, file);
        TemporaryProgramSettings temporary;
        QVERIFY(Make(temporary, file));
        ProgramSettings settings;
        for (int which = 0; which < 2; ++which) {
            try {
                if (which == 0)
                    settings.SetPort(3);
                else
                    settings.SetVerifyAfterWrite(true);
                QFAIL("no exception");
            } catch (const Exception& e) {
                QVERIFY2(QString::fromStdString(e.Message())
                             .startsWith(QStringLiteral("Plik ustawień ") + temporary.Path() +
                                         QStringLiteral(" nie jest zwykłym plikiem.")),
                         e.what());
            }
        }
        const QFileInfo info(temporary.Path());
        QVERIFY(!info.isFile());
        QCOMPARE(info.isSymLink(), file == kZero);
    }

    void portNames()
    {
        TemporaryProgramSettings temporary;
        QVERIFY(temporary.Write("[Port names]\r\ncom3 = /dev/ttyUSB0\r\n"));
        QCOMPARE(ProgramSettings::LookupPortName(QStringLiteral("COM3")),
                 QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(ProgramSettings::LookupPortName(QStringLiteral("COM4")), QString());
    }

    void path()
    {
        const QString exe = QCoreApplication::applicationFilePath();
        // One file for the window and zvx, whatever the executable is called.
        const QString shared = QFileInfo(exe).absolutePath() + QStringLiteral("/zorvex.ini");
        QCOMPARE(ProgramSettings::Path(), shared);
        {
            TemporaryProgramSettings outer;
            QCOMPARE(ProgramSettings::Path(), outer.Path());
            {
                TemporaryProgramSettings inner;
                QCOMPARE(ProgramSettings::Path(), inner.Path());
                QVERIFY(inner.Path() != outer.Path());
            }
            QCOMPARE(ProgramSettings::Path(), outer.Path());
        }
        QCOMPARE(ProgramSettings::Path(), shared);
        ProgramSettings::OverridePath(QStringLiteral("/x/y.ini"));
        QCOMPARE(ProgramSettings().FileName(), QStringLiteral("/x/y.ini"));
        ProgramSettings::OverridePath({});
    }
    void formerFile_data()
    {
        QTest::addColumn<QString>("executable"); // in a scratch folder
        QTest::addColumn<QStringList>("files");  // settings files that exist beside it
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("notice"); // how the line begins; empty: no line
        const QString former = QStringLiteral("Ustawienia wczytano z dawnego pliku ");
        const QString ignored = QStringLiteral("Dawny plik ustawień ");
        QTest::newRow("none yet") << "zvx" << QStringList{} << "zorvex.ini"
                                  << "";
        QTest::newRow("shared only") << "zvx" << QStringList{"zorvex.ini"} << "zorvex.ini"
                                     << "";
        QTest::newRow("former only: still read, said")
            << "zvx" << QStringList{"zvx.ini"} << "zvx.ini" << former;
        QTest::newRow("both: the shared one, the former said")
            << "zvx" << QStringList{"zvx.ini", "zorvex.ini"} << "zorvex.ini" << ignored;
        QTest::newRow("former of zvx.exe")
            << "zvx.exe" << QStringList{"zvx.ini"} << "zvx.ini" << former;
        QTest::newRow("the window has no former file")
            << "zorvex" << QStringList{"zvx.ini"} << "zorvex.ini"
            << "";
    }

    // zvx once read zvx.ini: nobody's archive or port names go astray on the update.
    void formerFile()
    {
        QFETCH(QString, executable);
        QFETCH(QStringList, files);
        QFETCH(QString, read);
        QFETCH(QString, notice);
        QTemporaryDir dir;
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString exe = dir.filePath(executable);
        QCOMPARE(ProgramSettings::PathFor(exe), dir.filePath(read));
        const QString line = ProgramSettings::FormerFileNotice(exe);
        QVERIFY2(notice.isEmpty() ? line.isEmpty() : line.startsWith(notice), qPrintable(line));
    }

    void location_data()
    {
        QTest::addColumn<QString>("exeDir");   // relative to a scratch tree
        QTest::addColumn<QStringList>("dirs"); // folders that exist in the tree
        QTest::addColumn<bool>("userConfig");  // true: $XDG_CONFIG_HOME/zorvex, else beside
        QTest::newRow("build tree") << "build/app" << QStringList{"build/app"} << false;
        QTest::newRow("installed /usr")
            << "usr/bin" << QStringList{"usr/bin", "usr/share/zorvex/help"} << true;
        QTest::newRow("bin without share/zorvex")
            << "bin" << QStringList{"bin", "share/other"} << false;
        QTest::newRow("copy in its own folder")
            << "opt/zorvex" << QStringList{"opt/zorvex"} << false;
    }

    void location()
    {
        QFETCH(QString, exeDir);
        QFETCH(QStringList, dirs);
        QFETCH(bool, userConfig);
        QTemporaryDir tree;
        QVERIFY(tree.isValid());
        const QDir root(tree.path());
        for (const QString& dir : dirs)
            QVERIFY(root.mkpath(dir));
        const QByteArray config = QFile::encodeName(root.filePath(QStringLiteral("home/.config")));
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config);
        const QString path =
            ProgramSettings::Location(root.filePath(exeDir), QStringLiteral("zorvex.ini"));
        qputenv("XDG_CONFIG_HOME", saved);
        const QString expected =
            userConfig ? QFile::decodeName(config) + QStringLiteral("/zorvex/zorvex.ini")
                       : root.filePath(exeDir + QStringLiteral("/zorvex.ini"));
        QCOMPARE(path, expected);
        // The file can be written there at once: the folder exists.
        ProgramSettings(path).SetPort(3);
        QCOMPARE(ProgramSettings(path).Port(), 3);
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
