#include "LinePeer.h"

#include "emulator/DialerEmulator.h"
#include "emulator/DialerFaults.h"
#include "emulator/DialerImage.h"
#include "model/Bcd.h"
#include "model/ImageChecksum.h"
#include "model/TZorvexSettings.h"
#include "tests/common/EmulatedDialer.h"

#include <QtTest>

#include <memory>
#include <mutex>

namespace {

// A data block as the wire tables describe it, from the leading bytes the dialer sent.
QByteArray ExpectedBlock(const TCfg& image, int count, int offset, const QByteArray& lead)
{
    QByteArray block = lead;
    for (int i = 0; i < count; ++i)
        block.append(static_cast<char>(image.GetByte((offset + i) % 256)));
    return Frames::WithChecksum(block);
}

TCfg PatternImage()
{
    TCfg image;
    for (int i = 1; i < 256; ++i)
        image.SetByte(i, static_cast<std::uint8_t>(i * 7 + 3));
    SealImage(image);
    return image;
}

} // namespace

class TstDialerEmulator : public QObject
{
    Q_OBJECT

private slots:
    void defaultImageIsAServicedFactoryImage();
    void restartIsAcknowledged();
    void readReturnsChecksummedBlock_data();
    void readReturnsChecksummedBlock();
    void fullWriteReadsBack();
    void badFrameChecksumIsRefused_data();
    void badFrameChecksumIsRefused();
    void noiseBeforeFrameIsSkipped_data();
    void noiseBeforeFrameIsSkipped();
    void abandonedFrameIsDropped();
    void lineIsRawBeforePcSetsItUp();
    void faults_data();
    void faults();
    void hangUpClosesLine();
    void faultTexts_data();
    void faultTexts();
    void lineOfItsOwn_data();
    void lineOfItsOwn();
    void pacedExchangeIsCorrect();
    void stopEndsPacedReply();

private:
    std::unique_ptr<DialerEmulator> m_emulator;
    std::unique_ptr<LinePeer> m_peer;

    // False when the test's end of the line could not be opened.
    bool Open(DialerEmulator::Options options = Unpaced(), bool raw = true)
    {
        m_peer.reset();
        m_emulator = std::make_unique<DialerEmulator>(std::move(options));
        m_emulator->Start();
        m_peer = std::make_unique<LinePeer>(m_emulator->SlavePath(), raw);
        return m_peer->IsOpen();
    }
    // Waits until the emulator has answered this many frames in full.
    bool WaitFrames(int count)
    {
        return QTest::qWaitFor([&] { return m_emulator->GetCounters().frames >= count; }, 20000);
    }
};

void TstDialerEmulator::defaultImageIsAServicedFactoryImage()
{
    const TCfg image = DefaultDialerImage();
    QCOMPARE(int(Sum8(image.Bytes().data(), 256)), 0);
    TZorvexSettings factory;
    factory.LoadDefaults();
    int times = 0;
    for (int i = 1; i < 256; ++i) {
        if (i < 6 || i > 13)
            QCOMPARE(image.GetByte(i), factory.Cfg.GetByte(i));
    }
    for (int at = 6; at < 14; at += 2) {
        if (image.GetByte(at) == 0xFF)
            continue;
        QVERIFY(IsBcdTime(image.GetByte(at), image.GetByte(at + 1)));
        ++times;
    }
    QVERIFY(times >= 2);
}

void TstDialerEmulator::restartIsAcknowledged()
{
    QVERIFY(Open());
    QVERIFY(m_peer->Send(QByteArray::fromHex("6A50A009076A")));
    QCOMPARE(m_peer->Receive(1), QByteArray("\x27"));
    QVERIFY(WaitFrames(1));
    const DialerEmulator::Counters counters = m_emulator->GetCounters();
    QCOMPARE(counters.restarts, 1);
    QCOMPARE(int(counters.restartHour), 0x09);
    QCOMPARE(int(counters.restartMinute), 0x07);
}

void TstDialerEmulator::readReturnsChecksummedBlock_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("offset");
    QTest::newRow("first block, PC's frame") << 0x40 << 0x00;
    QTest::newRow("last block") << 0x40 << 0xC0;
    QTest::newRow("count looks like ack") << 0x27 << 0x34;
    QTest::newRow("offset looks like ack") << 0x34 << 0x27;
    QTest::newRow("empty") << 0 << 0x10;
    QTest::newRow("wraps round the image") << 0x10 << 0xF8;
    QTest::newRow("whole image and more") << 0xFF << 0x00;
}

void TstDialerEmulator::readReturnsChecksummedBlock()
{
    QFETCH(int, count);
    QFETCH(int, offset);
    QVERIFY(Open());
    const TCfg image = PatternImage();
    m_emulator->SetImage(image);
    QVERIFY(m_peer->Send(Frames::Read(count, offset)));
    const QByteArray block = m_peer->Receive(count + 3);
    QCOMPARE(block.size(), count + 3);
    // The PC would take a block that begins with 27 or 34 for an (n)acknowledgement.
    for (int i = 0; i < 2; ++i)
        QVERIFY(block[i] != '\x27' && block[i] != '\x34');
    QCOMPARE(block, ExpectedBlock(image, count, offset, block.left(2)));
}

void TstDialerEmulator::fullWriteReadsBack()
{
    QVERIFY(Open());
    std::mutex mutex;
    TCfg saved;
    int writesSeen = 0;
    m_emulator->Stop();
    m_emulator->SetWriteHandler([&](const TCfg& image) {
        const std::lock_guard lock(mutex);
        saved = image;
        ++writesSeen;
    });
    m_emulator->Start();

    const TCfg image = PatternImage();
    for (int offset = 0; offset < 256; offset += 4) {
        const QByteArray data(reinterpret_cast<const char*>(image.Bytes().data()) + offset, 4);
        QVERIFY(m_peer->Send(Frames::Write(offset, data)));
        QCOMPARE(m_peer->Receive(1), QByteArray("\x27"));
    }
    QVERIFY(WaitFrames(64));
    QCOMPARE(m_emulator->GetCounters().completedWrites, 1);
    QCOMPARE(m_emulator->Image(), image);
    {
        const std::lock_guard lock(mutex);
        QCOMPARE(writesSeen, 1);
        QCOMPARE(saved, image);
    }

    QByteArray readBack;
    for (int offset = 0; offset < 256; offset += 64) {
        QVERIFY(m_peer->Send(Frames::Read(64, offset)));
        const QByteArray block = m_peer->Receive(67);
        QCOMPARE(block, ExpectedBlock(image, 64, offset, block.left(2)));
        readBack += block.mid(2, 64);
    }
    QCOMPARE(readBack, QByteArray(reinterpret_cast<const char*>(image.Bytes().data()), 256));
}

void TstDialerEmulator::badFrameChecksumIsRefused_data()
{
    QTest::addColumn<QByteArray>("frame");
    auto spoil = [](QByteArray frame, int at) {
        frame[at] = static_cast<char>(frame[at] ^ 0x01);
        return frame;
    };
    QTest::newRow("restart") << spoil(Frames::Restart(0x09, 0x07), 5);
    QTest::newRow("read") << spoil(Frames::Read(0x40, 0x00), 5);
    QTest::newRow("write, checksum") << spoil(Frames::Write(0x10, "\x01\x02\x03\x04"), 9);
    QTest::newRow("write, data") << spoil(Frames::Write(0x10, "\x01\x02\x03\x04"), 6);
}

void TstDialerEmulator::badFrameChecksumIsRefused()
{
    QFETCH(QByteArray, frame);
    QVERIFY(Open());
    const TCfg before = m_emulator->Image();
    QVERIFY(m_peer->Send(frame));
    QCOMPARE(m_peer->Receive(1), QByteArray("\x34"));
    QVERIFY(WaitFrames(1));
    const DialerEmulator::Counters counters = m_emulator->GetCounters();
    QCOMPARE(counters.badFrames, 1);
    QCOMPARE(counters.restarts, 0);
    QCOMPARE(counters.bytesSent, 1LL);
    QCOMPARE(m_emulator->Image(), before);
}

void TstDialerEmulator::noiseBeforeFrameIsSkipped_data()
{
    QTest::addColumn<QByteArray>("noise");
    QTest::newRow("line noise") << QByteArray::fromHex("00FF1327");
    QTest::newRow("lone sync bytes") << QByteArray::fromHex("6A6A6A");
    QTest::newRow("sync then noise") << QByteArray::fromHex("6A0050");
    QTest::newRow("unknown command") << QByteArray::fromHex("6A50A3");
    QTest::newRow("header cut short") << QByteArray::fromHex("6A50");
    QTest::newRow("read without its trailing 00")
        << Frames::Read(0x01, 0x03).chopped(1) + Frames::Restart(0x12, 0x00);
}

void TstDialerEmulator::noiseBeforeFrameIsSkipped()
{
    QFETCH(QByteArray, noise);
    QVERIFY(Open());
    QVERIFY(m_peer->Send(noise + Frames::Restart(0x23, 0x59)));
    const bool withRead = noise.startsWith(QByteArray::fromHex("6A50A1"));
    const QByteArray answers = m_peer->Receive(withRead ? 6 : 1);
    QVERIFY(answers.endsWith('\x27'));
    QVERIFY(WaitFrames(withRead ? 3 : 1));
    QCOMPARE(m_emulator->GetCounters().restarts, withRead ? 2 : 1);
    QCOMPARE(int(m_emulator->GetCounters().restartMinute), 0x59);
}

void TstDialerEmulator::abandonedFrameIsDropped()
{
    DialerEmulator::Options options = Unpaced();
    options.frameTimeout = std::chrono::milliseconds(20);
    QVERIFY(Open(options));
    // A damaged count byte announces 255 data bytes that never come.
    QVERIFY(m_peer->Send(QByteArray::fromHex("6A50A2FF000102")));
    QTRY_COMPARE_WITH_TIMEOUT(m_emulator->GetCounters().framesDropped, 1, 20000);
    QVERIFY(m_peer->Send(Frames::Restart(0x01, 0x02)));
    QCOMPARE(m_peer->Receive(1), QByteArray("\x27"));
    QCOMPARE(m_emulator->GetCounters().bytesSkipped, 7LL);
}

void TstDialerEmulator::lineIsRawBeforePcSetsItUp()
{
    QVERIFY(Open(Unpaced(), false));
    // Bytes a cooked line would translate, swallow or turn into signals.
    const QByteArray data = QByteArray::fromHex("0D0A1113037F1A04");
    QVERIFY(m_peer->Send(Frames::Write(0x80, data.left(4)) + Frames::Write(0x84, data.mid(4))));
    QCOMPARE(m_peer->Receive(2), QByteArray("\x27\x27"));
    QVERIFY(m_peer->Send(Frames::Read(8, 0x80)));
    QCOMPARE(m_peer->Receive(11).mid(2, 8), data);
}

void TstDialerEmulator::faults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<int>("lineWrites"); // -1: not checked

    const TCfg image = DefaultDialerImage();
    const QByteArray lead("\xA1\x00", 2);
    const QByteArray ack("\x27"), nak("\x34");
    const QByteArray restart = Frames::Restart(0x10, 0x20);
    const QByteArray read0 = Frames::Read(0x40, 0x00);
    const QByteArray block0 = ExpectedBlock(image, 64, 0, lead);

    QTest::newRow("no answer to frame 2")
        << QStringList{"silent-frame=2"} << QList<QByteArray>{restart, read0, restart} << ack + ack
        << -1;
    QTest::newRow("no answer to frames 1 and 3")
        << QStringList{"silent-frame=1", "silent-frame=3"}
        << QList<QByteArray>{restart, read0, restart, read0} << block0 + block0 << -1;
    QTest::newRow("never any answer")
        << QStringList{"silent"} << QList<QByteArray>{restart, read0} << QByteArray() << 0;
    QTest::newRow("34 to frame 1")
        << QStringList{"nak-frame=1"} << QList<QByteArray>{read0, restart} << nak + ack << -1;
    QByteArray badBlock = block0;
    badBlock[66] = static_cast<char>(badBlock[66] + 1);
    QTest::newRow("bad block checksum")
        << QStringList{"bad-block"} << QList<QByteArray>{read0, restart} << badBlock + ack << -1;
    TCfg badImage = image;
    badImage.SetByte(0, static_cast<std::uint8_t>(image.GetByte(0) + 1));
    QList<QByteArray> reads;
    QByteArray blocks;
    for (int offset = 0; offset < 256; offset += 64) {
        reads << Frames::Read(0x40, offset);
        blocks += ExpectedBlock(badImage, 64, offset, lead);
    }
    QTest::newRow("bad image checksum") << QStringList{"bad-image"} << reads << blocks << -1;
    QTest::newRow("reply cut after 10 bytes")
        << QStringList{"cut=10"} << QList<QByteArray>{read0, restart} << block0.left(10) + ack << 2;
    QTest::newRow("replies cut to nothing")
        << QStringList{"cut=0"} << QList<QByteArray>{read0, restart} << QByteArray() << 0;
    QTest::newRow("replies in chunks of 8")
        << QStringList{"chunks=8"} << QList<QByteArray>{read0, restart} << block0 + ack << 9 + 1;
    QTest::newRow("replies byte by byte")
        << QStringList{"chunks=1"} << QList<QByteArray>{restart, read0} << ack + block0 << 1 + 67;
    QTest::newRow("late answer to frame 1")
        << QStringList{"late-frame=1", "late-ms=30"} << QList<QByteArray>{read0, restart}
        << block0 + ack << -1;
}

void TstDialerEmulator::faults()
{
    QFETCH(QStringList, faults);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QByteArray, answers);
    QFETCH(int, lineWrites);

    DialerEmulator::Options options = Unpaced();
    for (const QString& fault : faults)
        QVERIFY(AddFault(options.faults, fault.toStdString()));
    QVERIFY(Open(options));
    // One frame at a time, as the PC sends them.
    for (int i = 0; i < frames.size(); ++i) {
        QVERIFY(m_peer->Send(frames[i]));
        QVERIFY(WaitFrames(i + 1));
    }
    const QByteArray got = m_peer->Receive(answers.size());
    QCOMPARE(got.toHex(' '), answers.toHex(' '));
    // Everything written has been counted, and nothing beyond the answers was sent.
    const DialerEmulator::Counters counters = m_emulator->GetCounters();
    QCOMPARE(counters.bytesSent, static_cast<long long>(answers.size()));
    QCOMPARE(m_peer->Waiting(), 0);
    if (lineWrites >= 0)
        QCOMPARE(counters.lineWrites, static_cast<long long>(lineWrites));
}

void TstDialerEmulator::hangUpClosesLine()
{
    DialerEmulator::Options options = Unpaced();
    QVERIFY(AddFault(options.faults, "hangup-frame=2"));
    QVERIFY(Open(options));
    QVERIFY(m_peer->Send(Frames::Restart(0x08, 0x00)));
    QCOMPARE(m_peer->Receive(1), QByteArray("\x27"));
    QVERIFY(m_peer->Send(Frames::Read(0x40, 0x00)));
    QVERIFY(m_peer->WaitHangUp());
    QTRY_VERIFY_WITH_TIMEOUT(m_emulator->GetCounters().hungUp, 20000);
    QCOMPARE(m_emulator->GetCounters().frames, 2);
    m_emulator->Stop();
}

void TstDialerEmulator::faultTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    for (const char* good :
         {"silent", "silent-frame=1", "nak-frame=64", "hangup-frame=3", "bad-block", "bad-image",
          "cut=0", "cut=66", "chunks=1", "late-frame=2", "late-ms=1", "zeros", "noise"})
        QTest::newRow(good) << QString::fromLatin1(good) << true;
    for (const char* bad :
         {"", "loud", "silent=1", "silent-frame", "silent-frame=", "silent-frame=0", "nak-frame=-1",
          "cut=x", "chunks=0", "chunks=1.5", "cut=99999999", "bad-block=2", "late-frame=0",
          "late-ms=0", "late-ms", "zeros=1", "noise=0"})
        QTest::newRow(bad[0] ? bad : "empty") << QString::fromLatin1(bad) << false;
}

void TstDialerEmulator::faultTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    DialerFaults faults;
    QCOMPARE(AddFault(faults, text.toStdString()), valid);
    QCOMPARE(faults == DialerFaults{}, !valid);
}

void TstDialerEmulator::lineOfItsOwn_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("held in BREAK") << "zeros";
    QTest::newRow("noise") << "noise";
}

// The line brings bytes unasked, and the dialer behind it hears nothing.
void TstDialerEmulator::lineOfItsOwn()
{
    QFETCH(QString, fault);
    QVERIFY(Open(Unpaced({fault})));
    QVERIFY(m_peer->Send(Frames::Write(0x10, "\x11\x22\x33\x44")));
    const QByteArray got = m_peer->Receive(40); // about 0.3 s of the line
    QCOMPARE(got.size(), 40);
    if (fault == "zeros") {
        QCOMPARE(got, QByteArray(40, '\0'));
    } else {
        QVERIFY(!got.contains('\x34')); // never a refusal, so the PC sees a line fault
        QVERIFY(got.count(got.at(0)) < got.size());
    }
    m_emulator->Stop();
    QCOMPARE(m_emulator->GetCounters().frames, 1);
    QCOMPARE(m_emulator->Image().GetByte(0x10), DefaultDialerImage().GetByte(0x10));
    QCOMPARE(m_emulator->GetCounters().bytesSent, 0);
    QVERIFY(m_emulator->GetCounters().lineBytes >= 40);
}

void TstDialerEmulator::pacedExchangeIsCorrect()
{
    QVERIFY(Open(DialerEmulator::Options{}));
    const TCfg image = m_emulator->Image();
    QVERIFY(m_peer->Send(Frames::Restart(0x09, 0x07) + Frames::Read(0x40, 0x40)));
    const QByteArray got = m_peer->Receive(1 + 67);
    QCOMPARE(got.left(1), QByteArray("\x27"));
    QCOMPARE(got.mid(1), ExpectedBlock(image, 64, 0x40, got.mid(1, 2)));
    QVERIFY(m_peer->Send(Frames::Write(0x04, "\x11\x22\x33\x44")));
    QCOMPARE(m_peer->Receive(1), QByteArray("\x27"));
    QCOMPARE(int(m_emulator->Image().GetByte(0x07)), 0x44);
}

void TstDialerEmulator::stopEndsPacedReply()
{
    QVERIFY(Open(DialerEmulator::Options{}));
    QVERIFY(m_peer->Send(Frames::Read(0xFF, 0x00)));
    QVERIFY(!m_peer->Receive(1).isEmpty());
    // Most of the two seconds that the answer takes on the line are still to go.
    m_emulator->Stop();
    m_emulator.reset();
}

QTEST_GUILESS_MAIN(TstDialerEmulator)
#include "tst_dialer_emulator.moc"
