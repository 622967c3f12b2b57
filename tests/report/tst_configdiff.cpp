#include "model/Cp1250.h"
#include "model/TZorvexSettings.h"
#include "report/ConfigDiff.h"
#include "tests/common/FactorySettings.h"

#include <QtTest>

namespace {

using Poke = QPair<int, int>; // image offset, new value
using Pokes = QList<Poke>;

// Each difference as "area | field | A | B".
QStringList Lines(const QList<ConfigDifference>& differences)
{
    QStringList lines;
    for (const ConfigDifference& d : differences)
        lines << QStringList{d.area, d.field, d.a, d.b}.join(QStringLiteral(" | "));
    return lines;
}

} // namespace

// Differences between two configurations, as the dialogs name the fields and show the
// values, and the bytes no dialog shows.
class TstConfigDiff : public QObject
{
    Q_OBJECT

private slots:
    void imageChanges_data();
    void imageChanges();
    void descriptionRecords();
    void sameConfigurationsGiveNone();
    void everyBitIsNoticed();
};

void TstConfigDiff::imageChanges_data()
{
    QTest::addColumn<Pokes>("pokes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("phone number") << Pokes{{120, 0x12}, {121, 0x3F}}
                                  << QStringList{"Telefony | NR 2 |  | 123"};
    QTest::newRow("dialing parameter")
        << Pokes{{48, 7}}
        << QStringList{"Parametry współpracy z linią telefoniczną | "
                       "Liczba sygnałów wywołania w f. telefonów do dialera | 4 | 7"};
    QTest::newRow("polpager message")
        << Pokes{{57, 2}, {192, 0x41}}
        << QStringList{"Komunikat do stacji POLPAGER | Komunikat |  | 41"};
    QTest::newRow("access code") << Pokes{{68, 0x12}, {69, 0x34}, {70, 0xFF}, {71, 0xFF}}
                                 << QStringList{"Kody dostępu | (PGM1) KU8 | 0791 | 1234"};
    QTest::newRow("alarm input in a group")
        << Pokes{{41, 0x01}} << QStringList{"Linie wejściowe | A3: Szybkość | WOLNA | SZYBKA"};
    QTest::newRow("PGM output") << Pokes{{52, 30}}
                                << QStringList{
                                       "Wyjścia programowalne PGM | Czas PGM1 [s] | 0 | 30"};
    QTest::newRow("delay") << Pokes{{42, 30}}
                           << QStringList{"Zwłoki | Na wejście do trybu alarmu | 0 | 30"};
    QTest::newRow("system option, byte 44 bit 0")
        << Pokes{{44, 0x01}}
        << QStringList{"Opcje systemowe | 8 kolejek telefonowania (normalnie 4) | NIE | TAK"};
    QTest::newRow("monitoring station in a group")
        << Pokes{{24, 0x58}, {25, 0x2F}}
        << QStringList{"Stacje monitorujące | SMA2: Nr telefonu SMA |  | 582"};
    QTest::newRow("event code") << Pokes{{176, 0x3A}}
                                << QStringList{"Kody zdarzeń | Kod wejścia A1 | 00 | 3A"};
    QTest::newRow("event history")
        << Pokes{{12, 0x21}, {13, 0x05}}
        << QStringList{"Historia zdarzeń | Godzina rozpoczęcia alarmu | NIE BYŁO | 21:05"};
    QTest::newRow("bytes no dialog edits")
        << Pokes{{3, 0x6B}, {54, 0xFF}, {67, 0x01}}
        << QStringList{"Bajty nieedytowane | Bajt 3 | 0x6A | 0x6B",
                       "Bajty nieedytowane | Bajt 54 | 0x00 | 0xFF",
                       "Bajty nieedytowane | Bajt 67 | 0x00 | 0x01"};
    QTest::newRow("byte 44 bits 4..7")
        << Pokes{{44, 0x80}} << QStringList{"Bajty nieedytowane | Bajt 44 | 0x00 | 0x80"};
    QTest::newRow("bits of an area its dialog does not show")
        << Pokes{{39, 0x8C}} << QStringList{"Linie wejściowe | Bajt 39 | 0x0C | 0x8C"};
    QTest::newRow("the checksum byte is no difference") << Pokes{{0, 0x55}} << QStringList{};
    QTest::newRow("areas in menu order, unedited bytes last")
        << Pokes{{1, 0x01}, {176, 0x3A}, {42, 30}, {120, 0x12}, {121, 0x3F}}
        << QStringList{"Telefony | NR 2 |  | 123", "Zwłoki | Na wejście do trybu alarmu | 0 | 30",
                       "Kody zdarzeń | Kod wejścia A1 | 00 | 3A",
                       "Bajty nieedytowane | Bajt 1 | 0x00 | 0x01"};
}

void TstConfigDiff::imageChanges()
{
    QFETCH(Pokes, pokes);
    QFETCH(QStringList, expected);
    const TZorvexSettings a = Factory();
    TZorvexSettings b = a;
    for (const Poke& poke : pokes)
        b.Cfg.SetByte(poke.first, static_cast<std::uint8_t>(poke.second));
    const QStringList lines = Lines(ConfigDifferences(a, b));
    QCOMPARE(lines, expected);
    // The image alone, as against the dialer, sees the same.
    QCOMPARE(Lines(ConfigDifferences(a, b, dsImage)), expected);
}

void TstConfigDiff::descriptionRecords()
{
    const TZorvexSettings a = Factory();
    TZorvexSettings b = a;
    b.Comment.SetText(0, Utf8ToCp1250("Sklep „Pod Lipą”"));
    b.Comment.SetText(2, Utf8ToCp1250("90-001 Łódź"));
    b.Comment.SetText(13, "koniec");
    b.Cfg.SetByte(46, 0x01);
    QCOMPARE(Lines(ConfigDifferences(a, b)),
             (QStringList{"Konfiguracja | Nazwa obiektu | Dialer MEDRA ZVX-A | Sklep „Pod Lipą”",
                          "Konfiguracja | Adres (wiersz 2) |  | 90-001 Łódź",
                          "Konfiguracja | Opis (wiersz 11) |  | koniec",
                          "Parametry współpracy z linią telefoniczną | "
                          "Wydłużony czas oczekiwania na DT (8s / 4s) | NIE | TAK"}));

    // The dialer keeps no records: against it only the image counts.
    QCOMPARE(ConfigDifferences(a, b, dsImage).size(), 1);

    // What follows a record's text means nothing and is no difference.
    TZorvexSettings c = a;
    TComment::Record record;
    c.Comment.GetRecord(5, record);
    record[40] = 'x';
    c.Comment.SetRecord(5, record);
    QVERIFY(ConfigDifferences(a, c).isEmpty());
}

void TstConfigDiff::sameConfigurationsGiveNone()
{
    const TZorvexSettings a = Factory();
    QVERIFY(ConfigDifferences(a, a).isEmpty());
    TZorvexSettings zero;
    QVERIFY(ConfigDifferences(zero, zero).isEmpty());
    // Both directions name the same fields, the values swapped.
    TZorvexSettings b = a;
    b.Cfg.SetByte(120, 0x12);
    const QList<ConfigDifference> ab = ConfigDifferences(a, b);
    const QList<ConfigDifference> ba = ConfigDifferences(b, a);
    QCOMPARE(ab.size(), ba.size());
    for (qsizetype i = 0; i < ab.size(); ++i) {
        QCOMPARE(ab[i].field, ba[i].field);
        QCOMPARE(ab[i].a, ba[i].b);
    }
}

// Whatever bit of bytes 1..255 differs, the list is not empty: a configuration said to
// match really holds the same image.
void TstConfigDiff::everyBitIsNoticed()
{
    const TZorvexSettings factory = Factory();
    const TZorvexSettings zero;
    for (const TZorvexSettings* base : {&factory, &zero})
        for (int offset = 1; offset < TCfg::Size; ++offset)
            for (int bit = 0; bit < 8; ++bit) {
                TZorvexSettings b = *base;
                b.Cfg.SetByte(offset,
                              static_cast<std::uint8_t>(b.Cfg.GetByte(offset) ^ (1 << bit)));
                if (ConfigDifferences(*base, b, dsImage).isEmpty())
                    QFAIL(qPrintable(
                        QStringLiteral("byte %1 bit %2 unnoticed").arg(offset).arg(bit)));
            }
}

QTEST_GUILESS_MAIN(TstConfigDiff)
#include "tst_configdiff.moc"
