#include "model/Cp1250.h"

#include <QtTest>

class TstCp1250 : public QObject
{
    Q_OBJECT

private slots:
    void polishAddress();
    void polishLetters_data();
    void polishLetters();
    void everyByteRoundTrips();
    void missingCharactersBecomeQuestionMarks_data();
    void missingCharactersBecomeQuestionMarks();
};

void TstCp1250::polishAddress()
{
    // The bytes a Windows program writes for this text in code page 1250.
    const QByteArray windows =
        QByteArray::fromHex("a3f3649f2c20756c2e20aff3b36b696577736b6965676f2035");
    const std::string bytes = Utf8ToCp1250("Łódź, ul. Żółkiewskiego 5");
    QCOMPARE(QByteArray::fromStdString(bytes), windows);
    QCOMPARE(QString::fromStdString(Cp1250ToUtf8(bytes)),
             QStringLiteral("Łódź, ul. Żółkiewskiego 5"));
}

void TstCp1250::polishLetters_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("byte");
    const struct
    {
        const char* text;
        int byte;
    } rows[] = {{"ą", 0xB9}, {"ć", 0xE6}, {"ę", 0xEA}, {"ł", 0xB3}, {"ń", 0xF1}, {"ó", 0xF3},
                {"ś", 0x9C}, {"ź", 0x9F}, {"ż", 0xBF}, {"Ą", 0xA5}, {"Ć", 0xC6}, {"Ę", 0xCA},
                {"Ł", 0xA3}, {"Ń", 0xD1}, {"Ó", 0xD3}, {"Ś", 0x8C}, {"Ź", 0x8F}, {"Ż", 0xAF},
                {"€", 0x80}, {"„", 0x84}, {"”", 0x94}};
    for (const auto& r : rows)
        QTest::newRow(r.text) << QString::fromUtf8(r.text) << r.byte;
}

void TstCp1250::polishLetters()
{
    QFETCH(QString, letter);
    QFETCH(int, byte);
    const std::string bytes = Utf8ToCp1250(letter.toStdString());
    QCOMPARE(bytes.size(), std::size_t(1));
    QCOMPARE(static_cast<unsigned char>(bytes[0]), byte);
    QCOMPARE(QString::fromStdString(Cp1250ToUtf8(bytes)), letter);
}

void TstCp1250::everyByteRoundTrips()
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    QCOMPARE(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

void TstCp1250::missingCharactersBecomeQuestionMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cyrillic") << QStringLiteral("aЖb") << QByteArray("a?b");
    QTest::newRow("emoji") << QStringLiteral("x😀") << QByteArray("x?");
    QTest::newRow("ascii kept") << QStringLiteral("ZVX-A 123") << QByteArray("ZVX-A 123");
}

void TstCp1250::missingCharactersBecomeQuestionMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(Utf8ToCp1250(text.toStdString())), bytes);
}

QTEST_APPLESS_MAIN(TstCp1250)
#include "tst_cp1250.moc"
