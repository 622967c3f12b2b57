#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

Q_DECLARE_METATYPE(ConfigFile::Result)
Q_DECLARE_METATYPE(ConfigFile::Action)

class TstFileNames : public QObject
{
    Q_OBJECT

private slots:
    void bytesRoundTrip_data();
    void bytesRoundTrip();
    void printable_data();
    void printable();
    void messages_data();
    void messages();
};

void TstFileNames::bytesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("validUtf8");
    QTest::newRow("ascii") << QByteArray("/tmp/a.zvx") << true;
    QTest::newRow("Polish in UTF-8") << QByteArray("Zażółć gęślą.zvx") << true;
    QTest::newRow("outside the BMP") << QByteArray("\xF0\x9F\x94\x94.zvx") << true;
    QTest::newRow("cp1250 name") << QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9.zvx") << false;
    QTest::newRow("cp1250 e-acute before dot") << QByteArray("caf\xE9.zvx") << false;
    QTest::newRow("cut sequence at the end") << QByteArray("a\xC5") << false;
    QTest::newRow("cut 4-byte sequence") << QByteArray("a\xF0\x9F\x94") << false;
    QTest::newRow("stray continuation") << QByteArray("\x80x\xBF") << false;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xB3\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("what Qt makes of a bad byte") << QByteArray("caf\xEF\xBF\xBD.zvx") << true;
    QTest::newRow("every high byte") << [] {
        QByteArray all;
        for (int b = 0x80; b <= 0xFF; ++b)
            all += char(b);
        return all;
    }() << false;
}

void TstFileNames::bytesRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, validUtf8);
    const QString name = FileNameFromBytes(bytes);
    QCOMPARE(QByteArray::fromStdString(FileNameBytes(name)), bytes);
    if (validUtf8) {
        // Read as Qt reads it, so names from file dialogs and from argv agree.
        QCOMPARE(name, QString::fromUtf8(bytes));
        QCOMPARE(QByteArray::fromStdString(FileNameBytes(QString::fromUtf8(bytes))), bytes);
    } else {
        // Never the name Qt would have made of it, which names another file.
        QVERIFY(name != QString::fromUtf8(bytes));
        QVERIFY(PrintableText(name).contains(QChar(0xFFFD)));
    }
}

void TstFileNames::printable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain Polish") << "Łódź, ul. Żółta 5"
                                  << "Łódź, ul. Żółta 5";
    // A record or a name that holds a line break stays one line.
    QTest::newRow("line feed and tab") << "a\tb\nc" << QString::fromUtf8("a␉b␊c");
    QTest::newRow("CR LF") << "Sklep\r\nul. Długa" << QString::fromUtf8("Sklep␍␊ul. Długa");
    QTest::newRow("escape sequence") << "\x1B]0;zly\x07x" << QString::fromUtf8("␛]0;zly␇x");
    QTest::newRow("carriage return") << "ok\rFAKE" << QString::fromUtf8("ok␍FAKE");
    QTest::newRow("null and DEL") << QString(QChar(0)) + "\x7F" << QString::fromUtf8("␀␡");
    QTest::newRow("C1 CSI") << QString(QChar(0x9B)) + "2J" << QString(QChar(0xFFFD)) + "2J";
    QTest::newRow("escaped byte") << FileNameFromBytes("caf\xE9") << "caf" + QString(QChar(0xFFFD));
    QTest::newRow("surrogate pair stays")
        << QString::fromUtf8("\xF0\x9F\x94\x94") << QString::fromUtf8("\xF0\x9F\x94\x94");
}

void TstFileNames::printable()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(PrintableText(text), shown);
}

void TstFileNames::messages_data()
{
    using ConfigFile::Action;
    using ConfigFile::Result;
    QTest::addColumn<Result>("result");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString noEntry = QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("ok") << ConfigFile::Success << Action::Load << "a.zvx" << QString();
    QTest::newRow("window: size") << ConfigFile::FileSizeError << Action::Load << QString()
                                  << "Nieprawidłowy rozmiar pliku";
    QTest::newRow("window: format")
        << ConfigFile::FileFormatError << Action::Load << QString() << "Nieprawidłowy format pliku";
    QTest::newRow("window: missing")
        << Result::System(ENOENT) << Action::Load << QString() << "Błąd odczytu pliku";
    QTest::newRow("window: save") << ConfigFile::NotRegular << Action::Save << QString()
                                  << "Błąd zapisu pliku";
    QTest::newRow("console: size") << ConfigFile::FileSizeError << Action::Load << "a.zvx"
                                   << "Nieprawidłowy rozmiar pliku: a.zvx";
    QTest::newRow("console: missing") << Result::System(ENOENT) << Action::Load << "a.zvx"
                                      << "Błąd odczytu pliku: a.zvx (" + noEntry + ")";
    QTest::newRow("console: device") << ConfigFile::NotRegular << Action::Save << "/dev/null"
                                     << "Błąd zapisu pliku: /dev/null (to nie jest zwykły plik)";
    QTest::newRow("console: odd name")
        << Result::System(ENOENT) << Action::Save << FileNameFromBytes("\x1B[2J\xE9")
        << QString::fromUtf8("Błąd zapisu pliku: ␛[2J\xEF\xBF\xBD (") + noEntry + ")";
}

void TstFileNames::messages()
{
    QFETCH(ConfigFile::Result, result);
    QFETCH(ConfigFile::Action, action);
    QFETCH(QString, path);
    QFETCH(QString, message);
    QCOMPARE(ConfigFile::Message(result, action, path), message);
}

QTEST_APPLESS_MAIN(TstFileNames)
#include "tst_filenames.moc"
