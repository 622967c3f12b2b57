#include "model/Exception.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Write(const QByteArray& content)
    {
        const QString path = m_dir.filePath(QStringLiteral("zorvex.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return path;
    }
    static QByteArray Content(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");

        const QByteArray plain = "[Program configuration]\r\nPort=3\r\n";
        QTest::newRow("as written") << plain << "Program configuration"
                                    << "Port" << 3;
        QTest::newRow("other case") << plain << "PROGRAM Configuration"
                                    << "port" << 3;
        QTest::newRow("missing key") << plain << "Program configuration"
                                     << "Baud" << -7;
        QTest::newRow("missing section") << plain << "Program"
                                         << "Port" << -7;
        QTest::newRow("blanks around")
            << QByteArray("[ Program configuration ]\n  Port =  4  \n") << "Program configuration"
            << "Port" << 4;
        QTest::newRow("not a number")
            << QByteArray("[Program configuration]\r\nPort=COM3\r\n") << "Program configuration"
            << "Port" << -7;
        QTest::newRow("trailing garbage")
            << QByteArray("[Program configuration]\r\nPort=3x\r\n") << "Program configuration"
            << "Port" << -7;
        QTest::newRow("empty value")
            << QByteArray("[Program configuration]\r\nPort=\r\n") << "Program configuration"
            << "Port" << -7;
        QTest::newRow("too big") << QByteArray("[S]\nK=2147483648\n") << "S"
                                 << "K" << -7;
        QTest::newRow("smallest") << QByteArray("[S]\nK=-2147483648\n") << "S"
                                  << "K" << int(-2147483647 - 1);
        QTest::newRow("hex") << QByteArray("[S]\nK=$1F\n") << "S"
                             << "K" << 31;
        QTest::newRow("256 (no choice stored)") << QByteArray("[S]\nK=256\n") << "S"
                                                << "K" << 256;
        QTest::newRow("comment is no key") << QByteArray("[S]\n;K=5\n") << "S"
                                           << "K" << -7;
        QTest::newRow("first of duplicates") << QByteArray("[S]\nK=1\n[T]\nK=2\n[s]\nK=3\n") << "S"
                                             << "K" << 1;
        QTest::newRow("key of another section") << QByteArray("[S]\nA=1\n[T]\nK=2\n") << "S"
                                                << "K" << -7;
        QTest::newRow("no trailing newline") << QByteArray("[S]\r\nK=9") << "S"
                                             << "K" << 9;
        QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF[S]\nK=8\n") << "S"
                                    << "K" << 8;
        // Only the file's own mark is dropped; one starting a later line is part of a key.
        QTest::newRow("mark as a key")
            << QByteArray("[S]\n\xEF\xBB\xBF=6\n") << "S" << QString(QChar(0xFEFF)) << 6;
    }
    void readInteger()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(int, expected);
        QCOMPARE(IniFile(Write(content)).ReadInteger(section, key, -7), expected);
    }

    void missingFileReadsEmpty()
    {
        const IniFile ini(m_dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(
            ini.ReadInteger(QStringLiteral("Program configuration"), QStringLiteral("Port"), 2), 2);
        QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QVERIFY(!ini.SectionExists(QStringLiteral("S")));
    }

    void readString()
    {
        IniFile ini(Write("[S]\r\nName = \"  quoted  \"\r\nPl=Zażółć\r\n"));
        QCOMPARE(ini.ReadString(QStringLiteral("s"), QStringLiteral("NAME"), {}),
                 QStringLiteral("  quoted  "));
        QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("Pl"), {}),
                 QStringLiteral("Zażółć"));
        QCOMPARE(ini.Keys(QStringLiteral("s")), QStringList({"Name", "Pl"}));
        QVERIFY(ini.SectionExists(QStringLiteral("S")));
    }

    // A write touches its one line; everything else comes back byte for byte.
    void writePreserves_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");

        const QByteArray head = "; settings of the programmer\r\n\r\n[Window]\r\nLeft=10\r\n\r\n";
        QTest::newRow("replace, CRLF kept, key spelling kept")
            << head + "[Program configuration]\r\nport=1\r\nOther=x\r\n"
            << "Program configuration"
            << "Port" << head + "[Program configuration]\r\nport=3\r\nOther=x\r\n";
        QTest::newRow("add key after the section's last key")
            << head + "[Program configuration]\r\nOther=x\r\n\r\n[Tail]\r\nA=1\r\n"
            << "PROGRAM CONFIGURATION"
            << "Port"
            << head + "[Program configuration]\r\nOther=x\r\nPort=3\r\n\r\n[Tail]\r\nA=1\r\n";
        QTest::newRow("add section at the end")
            << head << "Program configuration"
            << "Port" << head + "[Program configuration]\r\nPort=3\r\n";
        QTest::newRow("LF file stays LF")
            << QByteArray("[A]\nB=1\n") << "Program configuration"
            << "Port" << QByteArray("[A]\nB=1\n[Program configuration]\nPort=3\n");
        QTest::newRow("last line without newline") << QByteArray("[A]\r\nB=1") << "A"
                                                   << "C" << QByteArray("[A]\r\nB=1\r\nC=3\r\n");
        QTest::newRow("empty file gets CRLF")
            << QByteArray() << "Program configuration"
            << "Port" << QByteArray("[Program configuration]\r\nPort=3\r\n");
        // Notepad starts its UTF-8 files with a mark. Dropped on writing, a second mark
        // would become the file's own and the line behind it a section header.
        QTest::newRow("utf-8 mark kept")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[S]\r\nK=1\r\n") << "S"
            << "K" << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[S]\r\nK=1\r\n[S]\r\nK=3\r\n");
        QTest::newRow("non-UTF-8 bytes elsewhere kept")
            << QByteArray("[Opis]\r\nN=\xB9\xEA\r\n[S]\r\nK=0\r\n") << "S"
            << "K" << QByteArray("[Opis]\r\nN=\xB9\xEA\r\n[S]\r\nK=3\r\n");
    }
    void writePreserves()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        const QString path = Write(before);
        IniFile(path).WriteInteger(section, key, 3);
        QCOMPARE(Content(path), after);
        QCOMPARE(IniFile(path).ReadInteger(section, key, 0), 3);
    }

    void writeCreatesFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        IniFile ini(path);
        ini.WriteInteger(QStringLiteral("Program configuration"), QStringLiteral("Port"), 256);
        ini.WriteString(QStringLiteral("Port names"), QStringLiteral("COM3"),
                        QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(Content(path), QByteArray("[Program configuration]\r\nPort=256\r\n"
                                           "[Port names]\r\nCOM3=/dev/ttyUSB0\r\n"));
        QCOMPARE(ini.Sections(), QStringList({"Program configuration", "Port names"}));
    }

    // A value cannot break the file into extra lines.
    void writeFlattensLineBreaks()
    {
        const QString path = Write("[S]\r\n");
        IniFile(path).WriteString(QStringLiteral("S"), QStringLiteral("K"),
                                  QStringLiteral("a\r\n[T]\nb"));
        QCOMPARE(Content(path), QByteArray("[S]\r\nK=a  [T] b\r\n"));
    }

    void unwritableRaises()
    {
        const QString path = m_dir.filePath(QStringLiteral("no-such-folder/zorvex.ini"));
        try {
            IniFile(path).WriteInteger(QStringLiteral("Program configuration"),
                                       QStringLiteral("Port"), 1);
            QFAIL("no exception");
        } catch (const Exception& e) {
            QCOMPARE(QString::fromStdString(e.Message()),
                     QStringLiteral("Unable to write to ") + path);
        }
    }

    // Only a regular file of sane size is read or replaced; anything else reads as empty,
    // says why, and is left as it was by a write.
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("state"); // IniFileAccess::State
        QTest::addColumn<QString>("reason");

        const int notRegular = int(IniFileAccess::State::NotRegular);
        QTest::newRow("FIFO") << "fifo" << notRegular << "nie jest zwykłym plikiem";
        QTest::newRow("link to /dev/zero") << "zero" << notRegular << "nie jest zwykłym plikiem";
        QTest::newRow("link to /dev/null") << "null" << notRegular << "nie jest zwykłym plikiem";
        QTest::newRow("folder") << "folder" << notRegular << "nie jest zwykłym plikiem";
        QTest::newRow("one byte over 1 MiB")
            << "huge" << int(IniFileAccess::State::TooLarge) << "jest za duży";
    }
    void hostileFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, state);
        QFETCH(QString, reason);
        const QString path =
            m_dir.filePath(QStringLiteral("hostile-") + kind + QStringLiteral(".ini"));
        QByteArray huge;
        if (kind == u"fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"zero" || kind == u"null")
            QVERIFY(QFile::link(QStringLiteral("/dev/") + kind, path));
        else if (kind == u"folder")
            QVERIFY(QDir().mkpath(path));
        else {
            huge =
                "[Program configuration]\r\nPort=3\r\n;" + QByteArray(IniFileAccess::MaxBytes, 'x');
            huge.truncate(IniFileAccess::MaxBytes + 1);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(huge), huge.size());
        }
        const QString section = QStringLiteral("Program configuration");
        const QString key = QStringLiteral("Port");

        IniFile ini(path);
        QCOMPARE(ini.ReadInteger(section, key, 2), 2);
        QCOMPARE(int(ini.LastState()), state);
        QVERIFY2(ini.Problem().startsWith(QStringLiteral("Plik ustawień ") + path + u' ' + reason),
                 qPrintable(ini.Problem()));
        QVERIFY(ini.Problem().endsWith(QStringLiteral("Program używa ustawień domyślnych.")));
        QVERIFY(ini.Sections().isEmpty());

        try {
            ini.WriteInteger(section, key, 4);
            QFAIL("no exception");
        } catch (const Exception& e) {
            const QString message = QString::fromStdString(e.Message());
            QVERIFY2(message.endsWith(QStringLiteral(" Plik nie został zmieniony.")),
                     qPrintable(message));
            QVERIFY(message.contains(reason));
        }
        const QFileInfo after(path);
        if (kind == u"fifo")
            QVERIFY(!after.isFile() && after.exists() && !after.isSymLink());
        else if (kind == u"zero" || kind == u"null")
            QCOMPARE(after.symLinkTarget(), QStringLiteral("/dev/") + kind);
        else if (kind == u"folder")
            QVERIFY(after.isDir());
        else
            QCOMPARE(Content(path), huge);
    }

    // The limit is inclusive, and a link to a regular file is that file: read, and written
    // through (the link stays a link).
    void saneFilesStillUsed()
    {
        QByteArray full = "[S]\nK=5\n;";
        full += QByteArray(IniFileAccess::MaxBytes - full.size(), 'x');
        QCOMPARE(IniFile(Write(full)).ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 5);

        const QString target = Write("[S]\r\nK=1\r\n");
        const QString link = m_dir.filePath(QStringLiteral("link.ini"));
        QVERIFY(QFile::link(target, link));
        IniFile ini(link);
        QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 0), 1);
        QVERIFY(ini.Problem().isEmpty());
        ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 2);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(Content(target), QByteArray("[S]\r\nK=2\r\n"));
        QFile::remove(link);
    }

    // A missing file is no problem: it reads as empty and a write creates it.
    void missingFileIsNoProblem()
    {
        const IniFile ini(m_dir.filePath(QStringLiteral("nowhere/none.ini")));
        QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 4), 4);
        QCOMPARE(ini.LastState(), IniFileAccess::State::Missing);
        QVERIFY(ini.Problem().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
