#include "app/help/HelpFiles.h"

#include <QtTest>

// Where the help actions find the manual: beside the executable in a build tree, under
// share/zorvex/help when installed under a prefix.
class TstHelpFiles : public QObject
{
    Q_OBJECT

private slots:
    void locate_data();
    void locate();
};

void TstHelpFiles::locate_data()
{
    QTest::addColumn<QStringList>("present"); // pages that exist, relative to the tree
    QTest::addColumn<QString>("page");        // the page asked for
    QTest::addColumn<QString>("expected");    // the file the program opens
    QTest::addColumn<QString>("fragment");    // the place in it
    const QString index = QStringLiteral("index.html");
    const QString beside = QStringLiteral("bin/help/index.html");
    const QString shared = QStringLiteral("share/zorvex/help/index.html");
    QTest::newRow("build tree") << QStringList{beside} << index << beside << QString();
    QTest::newRow("installed") << QStringList{shared} << index << shared << QString();
    QTest::newRow("both: beside wins")
        << QStringList{beside, shared} << index << beside << QString();
    QTest::newRow("none: beside, for the browser to report")
        << QStringList{} << index << beside << QString();
    QTest::newRow("another page installed")
        << QStringList{QStringLiteral("share/zorvex/help/keywords.html")} << index << beside
        << QString();
    QTest::newRow("other program's help ignored")
        << QStringList{QStringLiteral("share/other/help/index.html")} << index << beside
        << QString();
    // A place in a page: the file without the "#", the place as the address's fragment.
    const QString settings = QStringLiteral("archiwum.html#ustawienia");
    QTest::newRow("place in an installed page")
        << QStringList{QStringLiteral("share/zorvex/help/archiwum.html")} << settings
        << QStringLiteral("share/zorvex/help/archiwum.html") << QStringLiteral("ustawienia");
    QTest::newRow("place in a page beside")
        << QStringList{QStringLiteral("bin/help/archiwum.html")} << settings
        << QStringLiteral("bin/help/archiwum.html") << QStringLiteral("ustawienia");
    QTest::newRow("place in a missing page")
        << QStringList{} << settings << QStringLiteral("bin/help/archiwum.html")
        << QStringLiteral("ustawienia");
}

void TstHelpFiles::locate()
{
    QFETCH(QStringList, present);
    QFETCH(QString, page);
    QFETCH(QString, expected);
    QFETCH(QString, fragment);
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    const QDir root(tree.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    for (const QString& file : present) {
        QVERIFY(root.mkpath(QFileInfo(file).path()));
        QFile created(root.filePath(file));
        QVERIFY(created.open(QIODevice::WriteOnly));
    }
    const QUrl url = HelpFiles::Locate(root.filePath(QStringLiteral("bin")), page);
    QVERIFY(url.isLocalFile());
    QCOMPARE(QFileInfo(url.toLocalFile()).absoluteFilePath(),
             QFileInfo(root.filePath(expected)).absoluteFilePath());
    QCOMPARE(url.fragment(), fragment);
    QVERIFY2(!url.toString().contains(QLatin1String("%23")), qPrintable(url.toString()));
}

QTEST_GUILESS_MAIN(TstHelpFiles)
#include "tst_helpfiles.moc"
