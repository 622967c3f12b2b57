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
    QTest::addColumn<QString>("expected");    // the page the program opens, with the place
                                              // in it asked for after "#"
    const QString beside = QStringLiteral("bin/help/index.html");
    const QString shared = QStringLiteral("share/zorvex/help/index.html");
    QTest::newRow("build tree") << QStringList{beside} << beside;
    QTest::newRow("installed") << QStringList{shared} << shared;
    QTest::newRow("both: beside wins") << QStringList{beside, shared} << beside;
    QTest::newRow("none: beside, for the browser to report") << QStringList{} << beside;
    QTest::newRow("another page installed")
        << QStringList{QStringLiteral("share/zorvex/help/keywords.html")} << beside;
    QTest::newRow("other program's help ignored")
        << QStringList{QStringLiteral("share/other/help/index.html")} << beside;
    // A place in a page: the file without the "#", the place as the address's fragment.
    QTest::newRow("place in an installed page")
        << QStringList{QStringLiteral("share/zorvex/help/archiwum.html")}
        << QStringLiteral("share/zorvex/help/archiwum.html#ustawienia");
    QTest::newRow("place in a page beside") << QStringList{QStringLiteral("bin/help/archiwum.html")}
                                            << QStringLiteral("bin/help/archiwum.html#ustawienia");
    QTest::newRow("place in a missing page")
        << QStringList{} << QStringLiteral("bin/help/archiwum.html#ustawienia");
}

void TstHelpFiles::locate()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    const QDir root(tree.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    for (const QString& page : present) {
        QVERIFY(root.mkpath(QFileInfo(page).path()));
        QFile file(root.filePath(page));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QUrl url =
        HelpFiles::Locate(root.filePath(QStringLiteral("bin")), QFileInfo(expected).fileName());
    QVERIFY(url.isLocalFile());
    QCOMPARE(QFileInfo(url.toLocalFile()).absoluteFilePath(),
             QFileInfo(root.filePath(expected.section(u'#', 0, 0))).absoluteFilePath());
    QCOMPARE(url.fragment(), expected.section(u'#', 1));
}

QTEST_GUILESS_MAIN(TstHelpFiles)
#include "tst_helpfiles.moc"
