// The Windows rule for where an installed program keeps its users' settings. The rule is
// plain Qt, so it is built and checked here, on Linux, with Windows's variables set.
#include "settings/SettingsFolder.h"

#include <QtTest>

class TestSettingsFolderWin32 : public QObject
{
    Q_OBJECT

private slots:
    void installed_data()
    {
        QTest::addColumn<QString>("programFiles");
        QTest::addColumn<QString>("programFilesX86");
        QTest::addColumn<QString>("executableDir");
        QTest::addColumn<bool>("installed");
        const QString pf = QStringLiteral("C:\\Program Files");
        const QString x86 = QStringLiteral("C:\\Program Files (x86)");
        QTest::newRow("setup's folder") << pf << x86 << "C:/Program Files/Zorvex" << true;
        QTest::newRow("letters' case") << pf << x86 << "c:/PROGRAM FILES/zorvex" << true;
        QTest::newRow("32-bit folder") << pf << x86 << "C:/Program Files (x86)/Zorvex" << true;
        QTest::newRow("a name that only starts alike")
            << pf << x86 << "C:/Program Files Old/Zorvex" << false;
        QTest::newRow("unpacked zip") << pf << x86 << "C:/Users/jan/Pulpit/zorvex" << false;
        QTest::newRow("pendrive") << pf << x86 << "E:/zorvex" << false;
        QTest::newRow("no variables")
            << QString() << QString() << "C:/Program Files/Zorvex" << false;
        QTest::newRow("another drive") << "D:\\Programy" << x86 << "D:/Programy/Zorvex" << true;
    }
    void installed()
    {
        QFETCH(QString, programFiles);
        QFETCH(QString, programFilesX86);
        QFETCH(QString, executableDir);
        QFETCH(bool, installed);
        qputenv("ProgramFiles", programFiles.toUtf8());
        qputenv("ProgramFiles(x86)", programFilesX86.toUtf8());
        qunsetenv("ProgramW6432");
        QCOMPARE(SettingsFolder::Installed(executableDir), installed);
    }

    void userFolderIsTheRoamingProfiles()
    {
        qputenv("APPDATA", "C:\\Users\\jan\\AppData\\Roaming");
        QCOMPARE(SettingsFolder::UserFolder(),
                 QStringLiteral("C:/Users/jan/AppData/Roaming/zorvex"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFolderWin32)
#include "tst_settingsfolder_win32.moc"
