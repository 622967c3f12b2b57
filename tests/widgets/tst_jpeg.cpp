#include "widgets/Glyphs.h"
#include "widgets/JpegImage.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

class TestJpeg : public QObject
{
    Q_OBJECT

    QByteArray m_main;

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        m_main = Read(QString::fromLatin1(Glyphs::kMainPicture));
        QVERIFY(m_main.size() > 1000);
    }

    void decodesArtwork_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("main window") << Glyphs::kMainPicture << QSize(455, 300);
        QTest::newRow("about box logo") << Glyphs::kLogoPicture << QSize(128, 64);
    }
    void decodesArtwork()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image = JpegImage::Load(path);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB888);
        // Same library underneath Qt's own reader: the pixels must agree.
        const QImage reference = QImage::fromData(Read(path), "JPG");
        if (reference.isNull())
            QSKIP("Qt has no JPEG reader here");
        QCOMPARE(image, reference.convertToFormat(QImage::Format_RGB888));
    }

    void decodesGrey()
    {
        if (!QImageWriter::supportedImageFormats().contains("jpeg"))
            QSKIP("Qt has no JPEG writer here");
        QImage grey(40, 30, QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.scanLine(y)[x] = uchar(x * 6);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(grey.save(&buffer, "JPG", 100));
        const QImage image = JpegImage::Decode(bytes);
        QCOMPARE(image.format(), QImage::Format_Grayscale8);
        QCOMPARE(image.size(), QSize(40, 30));
        QVERIFY(qAbs(image.pixelColor(20, 15).red() - 120) <= 3);
    }

    // Anything but a whole picture gives a null image, never a crash.
    void damagedGivesNull_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("start marker only") << m_main.left(2);
        QTest::newRow("cut in the header") << m_main.left(120);
        QTest::newRow("cut in the scan") << m_main.left(m_main.size() / 2);
        QTest::newRow("end marker missing") << m_main.left(m_main.size() - 2);
        QTest::newRow("garbage") << QByteArray(4096, '\x5a');
        QByteArray scrambled = m_main;
        for (qsizetype i = 600; i < scrambled.size(); i += 7)
            scrambled[i] = char(scrambled[i] ^ 0xA5);
        QTest::newRow("scrambled scan") << scrambled;
        QByteArray wrongStart = m_main;
        wrongStart[0] = 'P';
        QTest::newRow("not a JPEG") << wrongStart;
    }
    void damagedGivesNull()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(JpegImage::Decode(bytes).isNull());
    }

    void missingFileGivesNull()
    {
        QTemporaryDir dir;
        QVERIFY(JpegImage::Load(dir.filePath(QStringLiteral("none.jpg"))).isNull());
        QVERIFY(JpegImage::Load(dir.path()).isNull()); // a folder
    }

    void glyphsAreCompiledIn()
    {
        for (int i = 0; i < Glyphs::kCount; ++i) {
            const QImage glyph(Glyphs::Path(i));
            QVERIFY2(glyph.size() == QSize(16, 16), qPrintable(Glyphs::Path(i)));
        }
        QVERIFY(Glyphs::Icon(Glyphs::kCount).isNull());
    }
};

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
