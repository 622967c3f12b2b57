#include "model/ConfigEvent.h"

#include <QtTest>

#include <string>

// The names are what archives already hold: a renamed one would orphan every entry
// stored under it.
class TstConfigEvent : public QObject
{
    Q_OBJECT

private slots:
    void words_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("read") << int(ConfigEvent::Read) << "read"
                              << "odczyt";
        QTest::newRow("write") << int(ConfigEvent::Write) << "write"
                               << "zapis";
        QTest::newRow("verify") << int(ConfigEvent::Verify) << "verify"
                                << "weryfikacja";
        QTest::newRow("restart") << int(ConfigEvent::Restart) << "restart"
                                 << "restart";
        QTest::newRow("load") << int(ConfigEvent::Load) << "load"
                              << "wczytanie";
        QTest::newRow("save") << int(ConfigEvent::Save) << "save"
                              << "zapis do pliku";
    }
    void words()
    {
        QFETCH(int, event);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(QString::fromLatin1(ConfigEventName(ConfigEvent(event))), name);
        QCOMPARE(QString::fromUtf8(ConfigEventText(ConfigEvent(event))), text);
        QCOMPARE(ConfigEventFromName(name.toStdString()), std::optional(ConfigEvent(event)));
        QVERIFY(std::find(std::begin(AllConfigEvents), std::end(AllConfigEvents),
                          ConfigEvent(event)) != std::end(AllConfigEvents));
    }

    void unknownNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("other case") << "Read";
        QTest::newRow("Polish text") << "odczyt";
        QTest::newRow("a newer program's") << "erase";
    }
    void unknownNames()
    {
        QFETCH(QString, name);
        QCOMPARE(ConfigEventFromName(name.toStdString()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TstConfigEvent)
#include "tst_configevent.moc"
