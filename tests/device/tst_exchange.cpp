#include "tests/common/EngineRig.h"

#include "device/DialerFrames.h"
#include "device/ExchangeEngine.h"
#include "device/ReadStamp.h"
#include "model/Cp1250.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"

#include <QRandomGenerator>
#include <QtTest>

#include <array>

namespace {

using Image = ExchangeEngine::Image;
using Rig = EngineRig;

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QString Msg(const char* kind, const char* text)
{
    return QString::fromLatin1(kind) + QString::fromUtf8(text);
}

// An image that adds up to 0 modulo 256, unlike the factory one everywhere.
Image GoodImage()
{
    Image image;
    for (int i = 0; i < 256; ++i)
        image[i] = static_cast<std::uint8_t>(i * 13 + 5);
    image[0] = ZeroSumByte(image.data() + 1, 255);
    return image;
}

// Feeds reply in pieces of the given sizes (the last size repeats).
void Feed(ExchangeEngine& engine, const QByteArray& reply, const QList<int>& pieces)
{
    int at = 0;
    for (int i = 0; at < reply.size(); ++i) {
        const int size = pieces.value(i, pieces.last());
        engine.PortRxChar(reply.mid(at, size));
        at += size;
    }
}

QList<int> Deduplicated(const QList<int>& values)
{
    QList<int> out;
    for (int v : values)
        if (out.isEmpty() || out.last() != v)
            out.append(v);
    return out;
}

} // namespace

class TstExchange : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void readInChunks_data();
    void readInChunks();
    void readRefused_data();
    void readRefused();
    void copyWaitsForTheBoxToClose();
    void writeSendsSixtyFourFrames();
    void writeRefusedMidway();
    void silence_data();
    void silence();
    void partialReplyWaitsWithoutResending();
    void retransmittedReadDropsHalfReply();
    void strayBytesKeepTimerRunning_data();
    void strayBytesKeepTimerRunning();
    void notAcknowledgedWhileIdle();
    void failedFirstFrameEndsExchange();
    void endAfterErrorEndsOnce();
    void restartDuringExchange();
    void stampFollowsLocale();
    void randomInputStaysInBounds();
    void hostileLine_data();
    void hostileLine();
};

void TstExchange::frames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("restart 9:07") << DialerFrames::Restart(9, 7) << Hex("6A50A009076A");
    QTest::newRow("restart 23:59") << DialerFrames::Restart(23, 59) << Hex("6A50A02359D6");
    QTest::newRow("restart 0:00") << DialerFrames::Restart(0, 0) << Hex("6A50A000005A");
    QTest::newRow("read 40@00") << DialerFrames::Read(64, 0) << Hex("6A50A140009B00");
    QTest::newRow("read 40@C0") << DialerFrames::Read(64, 0xC0) << Hex("6A50A140C05B00");
    const std::uint8_t data[4] = {0x01, 0x02, 0xFE, 0xFF};
    QTest::newRow("write 04@FC") << DialerFrames::Write(4, 0xFC, data)
                                 << Hex("6A50A204FC0102FEFF5C");
}

void TstExchange::frames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
}

void TstExchange::readInChunks_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("whole replies") << QList<int>{67};
    QTest::newRow("byte by byte") << QList<int>{1};
    QTest::newRow("three bytes first") << QList<int>{3, 64};
    QTest::newRow("last byte late") << QList<int>{66, 1};
    QTest::newRow("uneven") << QList<int>{5, 17, 40, 5};
}

void TstExchange::readInChunks()
{
    QFETCH(QList<int>, pieces);
    Rig rig;
    const TZorvexSettings before = rig.settings;
    const Image image = GoodImage();

    rig.engine.StartRead();
    QCOMPARE(rig.engine.Operation(), Operation::Read);
    for (int offset = 0; offset < 256; offset += 64) {
        QCOMPARE(rig.link.frames.size(), offset / 64 + 1);
        QCOMPARE(rig.link.frames.last(), DialerFrames::Read(64, offset));
        QVERIFY(rig.link.timerRunning);
        Feed(rig.engine, ReadReply(image, offset), pieces);
    }
    QCOMPARE(rig.link.frames.size(), 4);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QVERIFY(!rig.link.timerRunning);
    QCOMPARE(Deduplicated(rig.link.progress), (QList<int>{0, 25, 50, 75}));
    QCOMPARE(rig.link.events.first(), QStringLiteral("start"));
    QCOMPARE(rig.link.events.last(), QStringLiteral("end"));
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
    QCOMPARE(rig.settings.Cfg.Bytes(), image);
    QCOMPARE(rig.settings.Comment.GetText(0), Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
    QVERIFY(QString::fromStdString(Cp1250ToUtf8(rig.settings.Comment.GetText(3)))
                .startsWith(QStringLiteral("Data: ")));
    for (int r : {1, 2, 4, 13})
        QCOMPARE(rig.settings.Comment.GetText(r), before.Comment.GetText(r));
}

void TstExchange::readRefused_data()
{
    QTest::addColumn<int>("badBlock");  // block with a broken checksum, or -1
    QTest::addColumn<bool>("badImage"); // blocks fine, image sum wrong
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("framesSent");
    QTest::newRow("bad first block") << 0 << false << Msg("E:", ConstsZVX::BadRecordChecksum) << 1;
    QTest::newRow("bad third block") << 2 << false << Msg("E:", ConstsZVX::BadRecordChecksum) << 3;
    QTest::newRow("bad image checksum")
        << -1 << true << Msg("E:", ConstsZVX::BadImageChecksum) << 4;
}

void TstExchange::readRefused()
{
    QFETCH(int, badBlock);
    QFETCH(bool, badImage);
    QFETCH(QString, message);
    QFETCH(int, framesSent);
    Rig rig;
    rig.settings.Comment.SetText(3, "poprzedni odczyt");
    const TZorvexSettings before = rig.settings;
    Image image = GoodImage();
    if (badImage)
        ++image[200];

    rig.engine.StartRead();
    for (int block = 0; block < 4 && rig.engine.Operation() == Operation::Read; ++block) {
        QByteArray reply = ReadReply(image, block * 64);
        if (block == badBlock)
            reply[66] = static_cast<char>(reply[66] + 1);
        rig.engine.PortRxChar(reply);
    }
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.link.frames.size(), framesSent);
    QCOMPARE(rig.link.events.count(QStringLiteral("end")), 1);
    QVERIFY(!rig.link.timerRunning);
    QCOMPARE(rig.reporter.shown, QStringList{message});
    QVERIFY(rig.settings == before);
}

void TstExchange::copyWaitsForTheBoxToClose()
{
    Rig rig;
    const TZorvexSettings before = rig.settings;
    bool unchangedWhileShown = false;
    rig.reporter.onShown = [&] { unchangedWhileShown = rig.settings == before; };
    const Image image = GoodImage();
    rig.engine.StartRead();
    for (int offset = 0; offset < 256; offset += 64)
        rig.engine.PortRxChar(ReadReply(image, offset));
    QVERIFY(unchangedWhileShown);
    QCOMPARE(rig.settings.Cfg.Bytes(), image);
}

void TstExchange::writeSendsSixtyFourFrames()
{
    Rig rig;
    rig.settings.Cfg.SetByte(0, 0x55);
    rig.engine.StartWrite();
    const auto& image = rig.settings.Cfg.Bytes();
    QCOMPARE(Sum8(image.data(), 256), 0);
    QList<int> expectedProgress;
    for (int block = 0; block < 64; ++block) {
        QCOMPARE(rig.link.frames.size(), block + 1);
        QCOMPARE(
            rig.link.frames.last(),
            DialerFrames::Write(4, static_cast<std::uint8_t>(block * 4), image.data() + block * 4));
        QCOMPARE(rig.engine.RetriesLeft(), 2);
        rig.engine.PortRxChar(QByteArray(1, '\x27'));
        expectedProgress.append((block + 1) * 4 * 100 / 256);
    }
    QCOMPARE(rig.link.frames.size(), 64);
    QCOMPARE(rig.link.progress, expectedProgress);
    QCOMPARE(rig.link.progress.mid(0, 4), (QList<int>{1, 3, 4, 6}));
    QCOMPARE(rig.link.progress.last(), 100);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.engine.Position(), 0);
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::WriteDone)});
}

void TstExchange::writeRefusedMidway()
{
    Rig rig;
    rig.engine.StartWrite();
    for (int block = 0; block < 10; ++block)
        rig.engine.PortRxChar(QByteArray("'"));
    rig.engine.PortRxChar(QByteArray("4"));
    QCOMPARE(rig.link.frames.size(), 11);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QVERIFY(!rig.link.timerRunning);
    QCOMPARE(rig.reporter.shown, QStringList{Msg("E:", ConstsZVX::BadRecordChecksum)});
    rig.engine.TimerTick();
    QCOMPARE(rig.link.frames.size(), 11);
}

void TstExchange::silence_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("message");
    QTest::newRow("restart") << int(Operation::Restart) << Msg("E:", ConstsZVX::RestartNoAnswer);
    QTest::newRow("read") << int(Operation::Read) << Msg("E:", ConstsZVX::TransferNoAnswer);
    QTest::newRow("write") << int(Operation::Write) << Msg("E:", ConstsZVX::TransferNoAnswer);
}

void TstExchange::silence()
{
    QFETCH(int, operation);
    QFETCH(QString, message);
    Rig rig;
    if (operation == int(Operation::Restart))
        rig.engine.StartRestart(12, 30);
    else if (operation == int(Operation::Read))
        rig.engine.StartRead();
    else
        rig.engine.StartWrite();
    const QByteArray first = rig.link.frames.first();

    rig.engine.TimerTick();
    QCOMPARE(rig.link.frames, (QList<QByteArray>{first, first}));
    QCOMPARE(rig.link.progress, QList<int>{-1});
    QCOMPARE(rig.engine.RetriesLeft(), 1);
    QVERIFY(rig.link.timerRunning);
    QVERIFY(rig.reporter.shown.isEmpty());

    rig.engine.TimerTick();
    QCOMPARE(rig.link.frames.size(), 2);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.engine.RetriesLeft(), 0);
    QVERIFY(!rig.link.timerRunning);
    QCOMPARE(rig.link.events, (QStringList{"start", "-1", "end"}));
    QCOMPARE(rig.reporter.shown, QStringList{message});
}

void TstExchange::partialReplyWaitsWithoutResending()
{
    Rig rig;
    const QByteArray half = ReadReply(GoodImage(), 0).left(30);
    rig.engine.StartRead();
    rig.engine.PortRxChar(half);
    QCOMPARE(rig.engine.RxCount(), 30);
    QCOMPARE(rig.engine.RetriesLeft(), 2);
    QCOMPARE(rig.link.timerStarts, 2);
    QVERIFY(rig.link.timerRunning);
    QCOMPARE(rig.link.frames.size(), 1);

    // A dialer that always answers short: asked once more, then given up.
    rig.engine.TimerTick();
    QCOMPARE(rig.link.frames.size(), 2);
    rig.engine.PortRxChar(half);
    QCOMPARE(rig.engine.RetriesLeft(), 1);
    QVERIFY(rig.link.timerRunning);
    rig.engine.TimerTick();
    QCOMPARE(rig.link.frames.size(), 2);
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.reporter.shown, QStringList{Msg("E:", ConstsZVX::TransferNoAnswer)});
}

void TstExchange::retransmittedReadDropsHalfReply()
{
    Rig rig;
    const Image image = GoodImage();
    rig.engine.StartRead();
    rig.engine.PortRxChar(ReadReply(image, 0).left(20));
    rig.engine.TimerTick();
    QCOMPARE(rig.engine.RxCount(), 0);
    QCOMPARE(rig.link.frames.size(), 2);
    for (int offset = 0; offset < 256; offset += 64) {
        rig.engine.PortRxChar(ReadReply(image, offset));
        if (offset == 0) // the answer to a retransmitted frame: the line must go quiet
            rig.engine.GuardTick();
    }
    // A read that resent a frame reads the image once more before it is believed.
    rig.engine.TimerTick();
    for (int offset = 0; offset < 256; offset += 64)
        rig.engine.PortRxChar(ReadReply(image, offset));
    QCOMPARE(rig.link.frames.size(), 2 + 3 + 4);
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
    QCOMPARE(rig.settings.Cfg.Bytes(), image);
}

void TstExchange::strayBytesKeepTimerRunning_data()
{
    QTest::addColumn<QByteArray>("stray");
    // An acknowledgement means nothing to a read; anything else a write or a restart gets
    // is no answer of a dialer's (see hostileLine).
    QTest::newRow("ack while reading") << QByteArray("'");
    QTest::newRow("two acks while reading") << QByteArray("''");
}

void TstExchange::strayBytesKeepTimerRunning()
{
    QFETCH(QByteArray, stray);
    Rig rig;
    rig.engine.StartRead();
    rig.engine.PortRxChar(stray);
    QCOMPARE(rig.engine.Operation(), Operation::Read);
    QCOMPARE(rig.engine.RxCount(), 0);
    QVERIFY(rig.link.timerRunning);
    QCOMPARE(rig.link.timerStarts, 1);
    QCOMPARE(rig.link.frames.size(), 1);
    // ... and the silence that follows still ends the exchange.
    rig.engine.TimerTick();
    rig.engine.TimerTick();
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.reporter.shown.size(), 1);
}

void TstExchange::notAcknowledgedWhileIdle()
{
    Rig rig;
    rig.engine.PortRxChar(QByteArray("'"));
    QVERIFY(rig.link.events.isEmpty());
    rig.engine.PortRxChar(QByteArray("4"));
    QCOMPARE(rig.link.events, QStringList{"end"});
    QCOMPARE(rig.reporter.shown, QStringList{Msg("E:", ConstsZVX::BadRecordChecksum)});
}

void TstExchange::failedFirstFrameEndsExchange()
{
    Rig rig;
    rig.link.failSendsFrom = 0;
    QVERIFY_THROWS_EXCEPTION(Exception, rig.engine.StartWrite());
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.link.events, (QStringList{"start", "end"}));
    QVERIFY(!rig.link.timerRunning);
    QCOMPARE(Sum8(rig.settings.Cfg.Bytes().data(), 256), 0); // byte 0 set all the same
}

void TstExchange::endAfterErrorEndsOnce()
{
    Rig rig;
    rig.engine.StartWrite();
    rig.engine.PortRxChar(QByteArray("'"));
    rig.link.failSendsFrom = rig.link.frames.size();
    QVERIFY_THROWS_EXCEPTION(Exception, rig.engine.PortRxChar(QByteArray("'")));
    QVERIFY(rig.engine.EndAfterError());
    QVERIFY(!rig.engine.EndAfterError());
    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QCOMPARE(rig.link.events.count(QStringLiteral("end")), 1);
    QVERIFY(!rig.link.timerRunning);
    // The next exchange starts from scratch.
    rig.link.failSendsFrom = -1;
    rig.engine.StartRestart(9, 7);
    rig.engine.PortRxChar(QByteArray("'"));
    rig.engine.GuardTick();
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::RestartDone)});
}

void TstExchange::restartDuringExchange()
{
    Rig rig;
    const Image image = GoodImage();
    rig.engine.StartRead();
    rig.engine.PortRxChar(ReadReply(image, 0).left(10));
    rig.engine.StartRestart(9, 7);
    QCOMPARE(rig.engine.Operation(), Operation::Restart);
    QCOMPARE(rig.engine.RetriesLeft(), 2);
    QCOMPARE(rig.engine.LastFrame(), Hex("6A50A009076A"));
    rig.engine.StartRead();
    QCOMPARE(rig.engine.RxCount(), 0);
    QCOMPARE(rig.engine.Position(), 0);
}

void TstExchange::stampFollowsLocale()
{
    const QDateTime when(QDate(2024, 3, 9), QTime(7, 5, 4));
    const QString text = ReadStampText(when);
    const QString prefix = QStringLiteral("Data: ") +
                           QLocale().toString(when.date(), QLocale::ShortFormat) +
                           QStringLiteral("     Godz: ");
    QVERIFY2(text.startsWith(prefix), qPrintable(text));
    const QString time = text.mid(prefix.size());
    QVERIFY2(time.contains(QStringLiteral("5:04")), qPrintable(text)); // seconds kept
    QVERIFY2(!time.contains(when.timeZoneAbbreviation()), qPrintable(text));
    QVERIFY(Utf8ToCp1250(text.toStdString()).size() <= 50);
}

// What a fuzz target will do: random chunks and ticks. Nothing may go outside the
// buffers, and every exchange ends exactly once.
void TstExchange::randomInputStaysInBounds()
{
    Rig rig;
    QRandomGenerator random(20240309);
    const Image image = GoodImage();
    for (int step = 0; step < 20000; ++step) {
        const int what = random.bounded(11);
        if (what == 10) {
            if (rig.link.guardRunning)
                rig.engine.GuardTick();
        } else if (what == 0) {
            const int start = random.bounded(3);
            if (start == 0)
                rig.engine.StartRead();
            else if (start == 1)
                rig.engine.StartWrite();
            else
                rig.engine.StartRestart(random.bounded(24), random.bounded(60));
        } else if (what == 1) {
            rig.engine.TimerTick();
        } else if (what == 2) {
            rig.engine.PortRxChar(ReadReply(image, 64 * random.bounded(4)));
        } else {
            QByteArray chunk(random.bounded(1, what == 3 ? 600 : 4), '\0');
            for (auto& c : chunk)
                c = static_cast<char>(random.bounded(256));
            if (random.bounded(4) == 0)
                chunk[0] = random.bounded(2) ? '\x27' : '\x34';
            rig.engine.PortRxChar(chunk);
        }
        QVERIFY(rig.engine.RxCount() <= DialerFrames::DataReplySize(64));
        QVERIFY(rig.engine.Position() >= 0 && rig.engine.Position() < 256);
        QVERIFY(rig.engine.Operation() <= Operation::Write);
        // Exactly one of the two timers runs while an exchange is on.
        QCOMPARE(rig.link.timerRunning || rig.link.guardRunning,
                 rig.engine.Operation() != Operation::Idle);
        QVERIFY(!(rig.link.timerRunning && rig.link.guardRunning));
        QCOMPARE(rig.link.guardRunning, rig.engine.Guarding());
    }
}

void TstExchange::hostileLine_data()
{
    QTest::addColumn<QString>("operation");
    // What happens on the line, in order: "ack", "nak", "junk" (garbage), "zeros" (a line
    // held in BREAK: 67 zero bytes), "reply" (the dialer's reply to the block last asked
    // for: of the image read, or of the image written when the write reads it back),
    // "reply2" (two copies in one chunk), "half" and "rest" (that reply's first 30 bytes
    // and the others), "next" (the reply to the block after it), "other" (a reply whose
    // block differs in one byte, its checksum right), "lead" (a reply that does not begin
    // A1 00, its checksum right), "long" (a reply with garbage after it in the same
    // chunk), "stray" (3 bytes waiting on the line when the link next looks), "tick"
    // (reply timer), "stale" (a reply-timer tick after the timer was stopped), "guard"
    // (guard timer); "x*N" repeats.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("frames"); // frames sent, retransmissions included

    const QString noAnswer = Msg("E:", ConstsZVX::TransferNoAnswer);
    const QString readDone = Msg("I:", ConstsZVX::ReadDone);
    const QString writeDone = Msg("I:", ConstsZVX::WriteDone);
    const QString restartDone = Msg("I:", ConstsZVX::RestartDone);
    const QString writeUnsure = Msg("E:", ConstsZVX::WriteNotConfirmed);
    const QString readUnsure = Msg("E:", ConstsZVX::ReadNotConfirmed);

    QTest::newRow("clean write") << "write"
                                 << "ack*64" << writeDone << 64;
    QTest::newRow("clean read") << "read"
                                << "reply*4" << readDone << 4;
    QTest::newRow("clean restart, the line quiet after its answer")
        << "restart"
        << "ack guard" << restartDone << 1;

    // A frame resent: the guard time catches a duplicate that comes quickly, and the
    // image read back (or read once more) confirms the whole exchange.
    QTest::newRow("late ack mid-write, resend answered too")
        << "write"
        << "ack*10 tick ack ack guard ack*53 tick reply*4" << writeDone << 69;
    QTest::newRow("late ack, resend answered once")
        << "write"
        << "ack*63 tick ack guard tick reply*4" << writeDone << 69;
    QTest::newRow("late ack on the last block, resend refused")
        << "write"
        << "ack*63 tick ack nak" << noAnswer << 65;
    QTest::newRow("late ack, the next block never answered")
        << "write"
        << "ack*62 tick ack ack guard tick tick" << noAnswer << 66;
    QTest::newRow("three acks for two copies") << "write"
                                               << "tick ack ack ack" << noAnswer << 2;
    QTest::newRow("garbage in the guard time") << "write"
                                               << "tick ack junk" << noAnswer << 2;
    QTest::newRow("refused after a retransmission")
        << "write"
        << "ack tick nak" << Msg("E:", ConstsZVX::BadRecordChecksum) << 3;
    QTest::newRow("late block, resend answered too")
        << "read"
        << "reply tick reply reply guard reply reply tick reply*4" << readDone << 9;
    QTest::newRow("late block, duplicate in the same chunk")
        << "read"
        << "tick reply2 guard reply*3 tick reply*4" << readDone << 9;
    QTest::newRow("late block, duplicate in pieces")
        << "read"
        << "tick reply half rest guard reply*3 tick reply*4" << readDone << 9;
    QTest::newRow("late block, stale reply tick in the guard time")
        << "read"
        << "reply tick reply stale reply guard reply*2 tick reply*4" << readDone << 9;
    QTest::newRow("duplicate cut short") << "read"
                                         << "tick reply half guard" << noAnswer << 2;
    QTest::newRow("another block in the guard time") << "read"
                                                     << "tick reply next" << noAnswer << 2;
    QTest::newRow("ack in the guard time of a read") << "read"
                                                     << "tick reply ack" << noAnswer << 2;
    QTest::newRow("three copies of a block") << "read"
                                             << "tick reply reply reply" << noAnswer << 2;
    QTest::newRow("late restart ack, resend answered too")
        << "restart"
        << "tick ack ack guard" << restartDone << 2;
    QTest::newRow("late restart ack, resend refused") << "restart"
                                                      << "tick ack nak" << noAnswer << 2;

    // A busy dialer answers the second copy after the guard time: every later answer is
    // taken for the next frame's, and the last frame's answer comes after the end.
    QTest::newRow("answers shifted, the last block never answered")
        << "write"
        << "ack*10 tick ack guard ack*53 tick reply*3 other" << writeUnsure << 69;
    QTest::newRow("answers shifted, the last block refused after the end")
        << "write"
        << "ack*10 tick ack guard ack*53 nak tick tick reply*3 other" << writeUnsure << 69;
    QTest::newRow("late answers after the end, the image confirmed")
        << "write"
        << "ack*63 tick ack guard ack tick tick reply*4" << writeDone << 69;
    QTest::newRow("the line never quiet after a resent write")
        << "write"
        << "ack*63 tick ack guard ack tick ack tick ack tick" << writeUnsure << 65;
    QTest::newRow("the confirming read unanswered")
        << "write"
        << "ack*63 tick ack guard tick tick" << writeUnsure << 66;
    QTest::newRow("the confirming read refused")
        << "write"
        << "ack*63 tick ack guard tick reply nak" << writeUnsure << 67;
    QTest::newRow("the confirming read on a line that is no dialer")
        << "write"
        << "ack*63 tick ack guard tick zeros" << writeUnsure << 66;
    QTest::newRow("a resent read, the second read differs")
        << "read"
        << "tick reply guard reply*3 tick reply*3 other" << readUnsure << 9;

    // A line that is not a quiet dialer: held in BREAK, noisy, or talking unasked.
    QTest::newRow("zeros for a read") << "read"
                                      << "zeros" << noAnswer << 1;
    QTest::newRow("zeros for a write") << "write"
                                       << "zeros" << noAnswer << 1;
    QTest::newRow("zeros for a restart") << "restart"
                                         << "zeros" << noAnswer << 1;
    QTest::newRow("garbage instead of an ack") << "write"
                                               << "ack junk" << noAnswer << 2;
    QTest::newRow("garbage instead of a restart's ack") << "restart"
                                                        << "junk" << noAnswer << 1;
    QTest::newRow("garbage after a restart's ack") << "restart"
                                                   << "ack junk" << noAnswer << 1;
    QTest::newRow("a restart's ack twice") << "restart"
                                           << "ack ack" << noAnswer << 1;
    QTest::newRow("a reply not beginning A1 00") << "read"
                                                 << "reply lead" << noAnswer << 2;
    QTest::newRow("a reply longer than asked") << "read"
                                               << "long" << noAnswer << 1;
    QTest::newRow("bytes waiting before the next write frame")
        << "write"
        << "ack*5 stray ack" << noAnswer << 6;
    QTest::newRow("bytes waiting after the last write block")
        << "write"
        << "ack*63 stray ack" << noAnswer << 64;
    QTest::newRow("bytes waiting after the last block read")
        << "read"
        << "reply*3 stray reply" << noAnswer << 4;
    QTest::newRow("bytes waiting after a restart's ack and guard")
        << "restart"
        << "ack stray guard" << noAnswer << 1;
}

// Answers carry no block number: an answer meant for one frame must never be taken for
// the next, an exchange the line has muddled must end without success, and a line that
// does not behave as a dialer does is no dialer.
void TstExchange::hostileLine()
{
    QFETCH(QString, operation);
    QFETCH(QString, script);
    QFETCH(QString, outcome);
    QFETCH(int, frames);
    Rig rig;
    const Image image = GoodImage();
    if (operation == "read")
        rig.engine.StartRead();
    else if (operation == "write")
        rig.engine.StartWrite();
    else
        rig.engine.StartRestart(9, 7);
    const TZorvexSettings before = rig.settings;
    // What the dialer holds: what was written, or the image the read finds.
    const Image dialer = operation == "write" ? rig.settings.Cfg.Bytes() : image;

    const auto asked = [&] { return std::uint8_t(rig.link.frames.last().at(4)); };
    for (const QString& token : script.split(u' ')) {
        const QString what = token.section(u'*', 0, 0);
        const int times = token.contains(u'*') ? token.section(u'*', 1).toInt() : 1;
        for (int i = 0; i < times; ++i) {
            QVERIFY2(rig.engine.Operation() != Operation::Idle, qPrintable(token));
            if (what == "tick") {
                QVERIFY(rig.link.timerRunning);
                rig.engine.TimerTick();
            } else if (what == "stale") {
                rig.engine.TimerTick(); // a tick that was already on its way
            } else if (what == "guard") {
                QVERIFY(rig.link.guardRunning);
                rig.engine.GuardTick();
            } else if (what == "ack" || what == "nak") {
                rig.engine.PortRxChar(QByteArray(1, what == "ack" ? '\x27' : '\x34'));
            } else if (what == "junk") {
                rig.engine.PortRxChar(QByteArray("\x00\x91\xFF", 3));
            } else if (what == "zeros") {
                rig.engine.PortRxChar(QByteArray(67, '\0'));
            } else if (what == "stray") {
                rig.link.waiting = 3;
            } else if (what == "reply" || what == "reply2" || what == "long") {
                const QByteArray reply = ReadReply(dialer, asked());
                rig.engine.PortRxChar(what == "reply"    ? reply
                                      : what == "reply2" ? reply + reply
                                                         : reply + QByteArray("\x11\x22", 2));
            } else if (what == "half" || what == "rest") {
                const QByteArray reply = ReadReply(dialer, asked());
                rig.engine.PortRxChar(what == "half" ? reply.left(30) : reply.mid(30));
            } else if (what == "next") {
                rig.engine.PortRxChar(ReadReply(dialer, (asked() + 64) % 256));
            } else if (what == "other") {
                Image changed = dialer;
                ++changed[asked() + 5];
                rig.engine.PortRxChar(ReadReply(changed, asked()));
            } else if (what == "lead") {
                QByteArray reply = ReadReply(dialer, asked());
                reply[0] = '\x11'; // and the checksum still right
                reply[66] = char(reply[66] + 0x11 - 0xA1);
                rig.engine.PortRxChar(reply);
            } else {
                QFAIL(qPrintable(token));
            }
        }
    }

    QCOMPARE(rig.engine.Operation(), Operation::Idle);
    QVERIFY(!rig.link.timerRunning && !rig.link.guardRunning);
    QCOMPARE(rig.reporter.shown, QStringList{outcome});
    QCOMPARE(rig.link.frames.size(), frames);
    QCOMPARE(rig.link.events.count(QStringLiteral("end")), 1);
    // Only a read or write that retransmitted waits for the line to go quiet, and is
    // confirmed; a clean one pays nothing.
    const bool resent = script.contains(QStringLiteral("tick"));
    if (operation != "restart") {
        if (!resent)
            QCOMPARE(rig.link.guardStarts, 0);
        if (outcome.startsWith(u'I'))
            QCOMPARE(rig.link.events.contains(QStringLiteral("confirm ") + operation), resent);
    }
    if (outcome == Msg("I:", ConstsZVX::ReadDone)) {
        QCOMPARE(rig.settings.Cfg.Bytes(), image);
        return;
    }
    QVERIFY(rig.settings == before);
    if (outcome == Msg("I:", ConstsZVX::WriteDone)) {
        // Every block went out, in order, each once or twice in a row.
        QList<QByteArray> blocks;
        for (const QByteArray& frame : rig.link.frames)
            if (frame.at(2) == '\xA2' && (blocks.isEmpty() || blocks.last() != frame))
                blocks.append(frame);
        QCOMPARE(blocks.size(), 64);
        for (int block = 0; block < 64; ++block)
            QCOMPARE(std::uint8_t(blocks[block].at(4)), std::uint8_t(block * 4));
    }
}

QTEST_GUILESS_MAIN(TstExchange)
#include "tst_exchange.moc"
