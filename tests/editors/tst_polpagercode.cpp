#include "editors/fields/PolpagerCode.h"
#include "editors/fields/PolpagerFields.h"
#include "model/TZorvexSettings.h"

#include "tests/editors/FieldsTestKit.h"
#include <QRandomGenerator>

#include <QtTest>

namespace {

QByteArray Region(const TCfg& cfg)
{
    return QByteArray(reinterpret_cast<const char*>(cfg.Bytes().data()) + 192, 64);
}

// The keypad symbols of the stored region, as many as byte 57 says.
std::string StoredCode(const TCfg& cfg)
{
    static const char nibbles[] = "0123456789ABCDE#";
    std::string code;
    const auto& bytes = cfg.Bytes();
    const int length = bytes[57];
    for (int i = 0; i < length; ++i) {
        const std::uint8_t b = bytes[192 + i / 2];
        code += nibbles[i % 2 == 0 ? b >> 4 : b & 0x0F];
    }
    std::replace(code.begin(), code.end(), 'E', '*');
    return code;
}

std::string Spaced(const std::string& code)
{
    std::string out;
    for (char c : code) {
        if (!out.empty())
            out += ' ';
        out += c;
    }
    return out;
}

enum class Outcome
{
    Fitted,
    Refused,
    Failed
};

// Stores text through the mapping and checks what a text that fits must satisfy: the
// stored symbols are the code, byte 57 counts them, the rest of the region is filler, and
// the text decodes to itself. A refused text must be too long and leave the image as it was.
Outcome RoundTrip(TZorvexSettings& s, const std::string& text)
{
    const TCfg before = s.Cfg;
    PolpagerFields f;
    f.message = text;
    const std::string code = EncodeMessage(text);
    auto fail = [&](const char* what) {
        QTest::qFail(qPrintable(QString("%1: \"%2\" -> %3 -> \"%4\"")
                                    .arg(what, QString::fromStdString(text),
                                         QString::fromStdString(Spaced(code)),
                                         QString::fromStdString(DecodeMessage(s.Cfg)))),
                     __FILE__, __LINE__);
        return Outcome::Failed;
    };
    if (!f.Store(s)) {
        if (code.size() <= 128)
            return fail("refused although it fits");
        if (!(s.Cfg == before))
            return fail("refused text changed the image");
        return Outcome::Refused;
    }
    if (code.size() > 128)
        return fail("stored although too long");
    if (StoredCode(s.Cfg) != code || s.Cfg.GetByte(57) != code.size())
        return fail("stored symbols differ from the code");
    if (DecodeMessage(s.Cfg) != text)
        return fail("does not decode to itself");
    const auto& bytes = s.Cfg.Bytes();
    for (std::size_t i = code.size(); i < 128; ++i) {
        const std::uint8_t b = bytes[192 + i / 2];
        if ((i % 2 == 0 ? b >> 4 : b & 0x0F) != 0x0F)
            return fail("no filler behind the code");
    }
    return Outcome::Fitted;
}

} // namespace

// The keypad code of the Polpager message, and its area.
class TstPolpagerCode : public QObject
{
    Q_OBJECT

private slots:
    void examples_data();
    void examples();
    void everyShortText();
    void randomLongTexts();
    void lengthLimit_data();
    void lengthLimit();
    void charactersOutsideTheKeypad_data();
    void charactersOutsideTheKeypad();
    void foreignCodes_data();
    void foreignCodes();
    void anyStoredBytesDecodeSafely();
    void emptyMessage();
    void lengthOneOpensEmpty();
    void stationLines_data();
    void stationLines();
};

void TstPolpagerCode::examples_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ALARM 1") << "ALARM 1"
                             << "* * 2 * 5 # 2 * 7 6 * 0 0 * 1 #"
                             << QByteArray::fromHex("EE2E5F2E76E00E1F");
    QTest::newRow("KOT") << "KOT"
                         << "* * 5 6 # 8 * 0 # #" << QByteArray::fromHex("EE56F8E0FF");
    QTest::newRow("A0") << "A0"
                        << "* * 2 * 0 * 0 #" << QByteArray::fromHex("EE2E0E0F");
    QTest::newRow("12 AB") << "12 AB"
                           << "1 2 * * * 2 * 2 0 # #" << QByteArray::fromHex("12EEE2E20FFF");
    QTest::newRow("A 1") << "A 1"
                         << "* * 2 * 0 0 * 1 #" << QByteArray::fromHex("EE2E00E1FF");
    QTest::newRow("AB 0") << "AB 0"
                          << "* * 2 * 2 0 0 * 0 #" << QByteArray::fromHex("EE2E200E0F");
    // Two spaces in digit mode would read as the switch "**": the second goes out in
    // letter mode.
    QTest::newRow("1, two spaces, 2") << "1  2"
                                      << "1 * * * 0 0 * 2 #" << QByteArray::fromHex("1EEE00E2FF");
    QTest::newRow("three spaces, then a letter")
        << "1   A"
        << "1 * * * 0 0 2 * 0 # #" << QByteArray::fromHex("1EEE002E0F");
    QTest::newRow("two spaces at the end") << "5  "
                                           << "5 * * * 0 0 # #" << QByteArray::fromHex("5EEE00FF");
    QTest::newRow("space, digit, space") << "1 2 3"
                                         << "1 * 2 * 3 #" << QByteArray::fromHex("1E2E3F");
    QTest::newRow("second letters only") << "BEH"
                                         << "* * 2 3 4 0 # #" << QByteArray::fromHex("EE2340FF");
}

void TstPolpagerCode::examples()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(QByteArray, bytes);
    const std::string plain = code.remove(' ').toStdString();

    QCOMPARE(QString::fromStdString(Spaced(EncodeMessage(text.toStdString()))),
             QString::fromStdString(Spaced(plain)));
    TZorvexSettings s = Factory();
    PolpagerFields f;
    f.message = text.toStdString();
    QVERIFY(f.Store(s));
    QCOMPARE(int(s.Cfg.GetByte(57)), int(plain.size()));
    QCOMPARE(Region(s.Cfg), bytes + QByteArray(64 - bytes.size(), '\xFF'));
    QCOMPARE(QString::fromStdString(PolpagerFields::Load(s).message), text);
}

void TstPolpagerCode::everyShortText()
{
    // Every text of up to four characters over the letters, the digits and the space.
    const std::string chars = std::string(PolpagerCode::Alphabet) + "0123456789 ";
    const int n = int(chars.size());
    TZorvexSettings s = Factory();
    int checked = 0;
    for (int length = 1; length <= 4; ++length) {
        int total = 1;
        for (int i = 0; i < length; ++i)
            total *= n;
        std::string text(length, ' ');
        for (int k = 0; k < total; ++k) {
            for (int i = 0, v = k; i < length; ++i, v /= n)
                text[i] = chars[v % n];
            if (RoundTrip(s, text) == Outcome::Failed)
                return;
            ++checked;
        }
    }
    QCOMPARE(checked, 35 + 35 * 35 + 35 * 35 * 35 + 35 * 35 * 35 * 35);
}

void TstPolpagerCode::randomLongTexts()
{
    // Mixes that favour the hard cases: runs of spaces, mode changes, long letter runs.
    const std::string letters = PolpagerCode::Alphabet;
    const std::vector<std::string> pools = {letters + "0123456789 ", "0123456789 ", "  1A",
                                            letters + " ", "   0123456789"};
    QRandomGenerator random(20240607);
    TZorvexSettings s = Factory();
    int fitted = 0;
    int refused = 0;
    for (int round = 0; round < 40000; ++round) {
        const std::string& pool = pools[round % pools.size()];
        const int length = 1 + int(random.bounded(PolpagerCode::MaxTextLength));
        std::string text;
        for (int i = 0; i < length; ++i)
            text += pool[random.bounded(int(pool.size()))];
        switch (RoundTrip(s, text)) {
        case Outcome::Fitted:
            ++fitted;
            break;
        case Outcome::Refused:
            ++refused;
            break;
        case Outcome::Failed:
            return;
        }
    }
    QVERIFY(fitted > 1000);
    QVERIFY(refused > 1000);
}

void TstPolpagerCode::lengthLimit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("symbols");
    const QString first61 = QString("A").repeated(61);
    // "**", two symbols a letter, the second letter alone, "0##".
    QTest::newRow("128") << first61 + "B" << 128;
    QTest::newRow("129") << QString("A").repeated(62) << 129;
    QTest::newRow("126 digits") << QString("7").repeated(126) << 127;
    QTest::newRow("123 second letters") << QString("B").repeated(123) << 128;
    QTest::newRow("124 second letters") << QString("B").repeated(124) << 129;
    // Spaces in digit mode cost more than one symbol each once two follow each other.
    QTest::newRow("126 spaces") << QString(" ").repeated(126) << 131;
    QTest::newRow("122 spaces") << QString(" ").repeated(122) << 127;
}

void TstPolpagerCode::lengthLimit()
{
    QFETCH(QString, text);
    QFETCH(int, symbols);
    QCOMPARE(int(EncodeMessage(text.toStdString()).size()), symbols);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(57, 5);
    s.Cfg.Fill(192, 0x12, 64);
    const TCfg before = s.Cfg;
    PolpagerFields f;
    f.message = text.toStdString();
    QCOMPARE(f.Store(s), symbols <= 128);
    if (symbols > 128) {
        QVERIFY(s.Cfg == before);
    } else {
        QCOMPARE(int(s.Cfg.GetByte(57)), symbols);
        QCOMPARE(QString::fromStdString(DecodeMessage(s.Cfg)), text);
    }
}

void TstPolpagerCode::charactersOutsideTheKeypad_data()
{
    // Only pasting brings these in: digit mode stores what the packed-digit store
    // makes of them, letter mode drops them.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("Q after a letter") << "AQ"
                                      << "**2*0##"
                                      << "A";
    QTest::newRow("Z opens letter mode") << "Z1"
                                         << "**0*1#"
                                         << "1";
    QTest::newRow("lower case in digit mode") << "1a"
                                              << "10#"
                                              << "10";
    QTest::newRow("diacritic in digit mode") << QString::fromUtf8("1ą2") << "102#"
                                             << "102";
    QTest::newRow("diacritic in letter mode") << QString::fromUtf8("AĄ") << "**2*0##"
                                              << "A";
    QTest::newRow("punctuation in letter mode") << "A.B"
                                                << "**2*20##"
                                                << "AB";
}

void TstPolpagerCode::charactersOutsideTheKeypad()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(QString, decoded);
    QCOMPARE(QString::fromStdString(EncodeMessage(text.toStdString())), code);
    TZorvexSettings s = Factory();
    PolpagerFields f;
    f.message = text.toStdString();
    QVERIFY(f.Store(s));
    QCOMPARE(QString::fromStdString(DecodeMessage(s.Cfg)), decoded);
}

void TstPolpagerCode::foreignCodes_data()
{
    // Codes the encoder never makes, as a device or a file may hold them.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("key 1 in letter mode") << QByteArray::fromHex("EE1E0FFF") << 7 << "?";
    QTest::newRow("key 1 alone") << QByteArray::fromHex("EE120FFF") << 7 << "?B";
    QTest::newRow("stray * in letter mode") << QByteArray::fromHex("EE2EE0FF") << 8 << "A?";
    QTest::newRow("nibble 10 in digit mode") << QByteArray::fromHex("1AF0") << 3 << "1?";
    QTest::newRow("nibble 13 as a key") << QByteArray::fromHex("EED0FF") << 5 << "?";
    QTest::newRow("switch back, then end") << QByteArray::fromHex("EE2E0EFF") << 8 << "A";
    QTest::newRow("switch back, then space") << QByteArray::fromHex("EE2E0EE5") << 8 << "A 5";
    QTest::newRow("switch back at the end") << QByteArray::fromHex("EE2E0E") << 6 << "A";
    QTest::newRow("no end code, digits") << QByteArray::fromHex("12") << 2 << "12";
    // Peeking behind the stored length reads the end code, so the key reads as its
    // third letter.
    QTest::newRow("no end code, letter") << QByteArray::fromHex("EE20") << 3 << "C";
    QTest::newRow("bare # in letter mode") << QByteArray::fromHex("EE2EF2") << 6 << "A";
    QTest::newRow("length past the region, zeros")
        << QByteArray(64, '\0') << 255 << QString(128, '0');
    QTest::newRow("length past the region, asterisks")
        << QByteArray(64, '\xEE') << 200 << QString(" ") + QString(125, '?');
}

void TstPolpagerCode::foreignCodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    QFETCH(QString, decoded);
    TZorvexSettings s = Factory();
    s.Cfg.WriteBytes(192, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     int(bytes.size()));
    s.Cfg.SetByte(57, std::uint8_t(length));
    QCOMPARE(QString::fromStdString(DecodeMessage(s.Cfg)), decoded);
}

void TstPolpagerCode::anyStoredBytesDecodeSafely()
{
    // Whatever the region and byte 57 hold, the decoder stays inside them and shows
    // only characters of the alphabet, digits, spaces and "?".
    const QString allowed = QString(PolpagerCode::Alphabet) + "0123456789 ?";
    QRandomGenerator random(77);
    TZorvexSettings s = Factory();
    for (int round = 0; round < 20000; ++round) {
        for (int i = 192; i < 256; ++i) {
            // Keypad-heavy bytes so that the modes are really exercised.
            const int hi = random.bounded(4) ? int(random.bounded(16)) : 14;
            const int lo = random.bounded(4) ? int(random.bounded(16)) : 14;
            s.Cfg.SetByte(i, std::uint8_t(hi << 4 | lo));
        }
        s.Cfg.SetByte(57, std::uint8_t(random.bounded(256)));
        const QString text = QString::fromStdString(DecodeMessage(s.Cfg));
        QVERIFY(text.size() <= 128);
        for (QChar c : text)
            QVERIFY2(allowed.contains(c), qPrintable(text));
    }
}

void TstPolpagerCode::emptyMessage()
{
    TZorvexSettings s = Factory();
    PolpagerFields f;
    f.message = "KOT";
    QVERIFY(f.Store(s));
    f.message.clear();
    QVERIFY(f.Store(s));
    QCOMPARE(Region(s.Cfg), QByteArray(64, '\xFF'));
    QCOMPARE(int(s.Cfg.GetByte(57)), 0);
    QCOMPARE(PolpagerFields::Load(s).message, std::string());
}

void TstPolpagerCode::lengthOneOpensEmpty()
{
    TZorvexSettings s = Factory();
    s.Cfg.Fill(192, 0x12, 64);
    s.Cfg.SetByte(57, 1);
    QCOMPARE(PolpagerFields::Load(s).message, std::string());
    s.Cfg.SetByte(57, 2);
    QCOMPARE(PolpagerFields::Load(s).message, std::string("12"));
}

void TstPolpagerCode::stationLines_data()
{
    QTest::addColumn<int>("byte56");
    QTest::addColumn<int>("byte66");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    // Number 2 is empty, number 3 is 58210, number 8 is 16 digits.
    QTest::newRow("none") << 0 << 0 << "NIEZDEFINIOWANY"
                          << "NIEZDEFINIOWANY";
    QTest::newRow("empty number") << 2 << 9 << "(2)  NIEZDEFINIOWANY"
                                  << "NIEZDEFINIOWANY";
    QTest::newRow("numbers") << 3 << 8 << "(3)  58210"
                             << "(8)  1234567890123456";
    QTest::newRow("same number twice") << 3 << 3 << "(3)  58210"
                                       << "(3)  58210";
    QTest::newRow("out of range") << 255 << 1 << "NIEZDEFINIOWANY"
                                  << "(1)  7";
}

void TstPolpagerCode::stationLines()
{
    QFETCH(int, byte56);
    QFETCH(int, byte66);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    TZorvexSettings s = Factory();
    s.Cfg.SetDigits("7", 112, 8);
    s.Cfg.SetDigits("58210", 128, 8);
    s.Cfg.SetDigits("1234567890123456", 168, 8);
    s.Cfg.SetByte(56, std::uint8_t(byte56));
    s.Cfg.SetByte(66, std::uint8_t(byte66));
    const PolpagerFields f = PolpagerFields::Load(s);
    QCOMPARE(QString::fromStdString(f.station1), line1);
    QCOMPARE(QString::fromStdString(f.station2), line2);
}

QTEST_APPLESS_MAIN(TstPolpagerCode)
#include "tst_polpagercode.moc"
