#include "tests/common/EngineRig.h"

#include "device/DialerFrames.h"
#include "device/ExchangeEngine.h"
#include "device/TransferLogText.h"
#include "model/ImageChecksum.h"

#include <QBuffer>
#include <QtTest>

namespace {

using Kind = TransferLogEntry::Kind;

struct RecordingLog : TransferLog
{
    void Entry(const TransferLogEntry& entry) noexcept override { entries.append(entry); }
    QList<TransferLogEntry> entries;
};

QString Letters(const QList<TransferLogEntry>& entries)
{
    // One word per entry, so a failing row shows where the story went wrong.
    static const char* const names[] = {"start",   "sent",      "resent", "rx",      "ack",
                                        "nak",     "partial",   "good",   "bad",     "ignored",
                                        "timeout", "duplicate", "fault",  "confirm", "end"};
    QStringList words;
    for (const auto& e : entries) {
        QString word = QString::fromLatin1(names[int(e.kind)]);
        if (e.kind == Kind::End)
            word += e.ok ? QStringLiteral("+") : QStringLiteral("-");
        words << word;
    }
    return words.join(QLatin1Char(' '));
}

QByteArray Reply(int offset, bool goodChecksum)
{
    QByteArray reply("\xA1\x00", 2);
    for (int i = 0; i < 64; ++i)
        reply.append(char(offset + i));
    const auto sum = Sum8(reinterpret_cast<const std::uint8_t*>(reply.constData()), reply.size());
    reply.append(char(goodChecksum ? sum : sum + 1));
    return reply;
}

} // namespace

class TstTransferLog : public QObject
{
    Q_OBJECT

private slots:
    void story_data();
    void story();
    void silentWhenOff();
    void lines_data();
    void lines();
    void textLogFlushesEveryLine();
};

// A script: "rx:HEX" a chunk from the dialer, "reply0"/"badreply0" a whole read reply
// for offset 0, "half0" its first ten bytes, "rest0" the rest, "block" the reply for the
// block asked of an image that adds up, "tick" the reply timer, "guard" the guard timer.
void TstTransferLog::story_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("expected");

    QTest::newRow("restart acknowledged")
        << "restart" << QStringList{"rx:27", "guard"} << "start sent rx ack end+";
    QTest::newRow("restart acknowledged, then a byte unasked")
        << "restart" << QStringList{"rx:27", "rx:00"} << "start sent rx ack rx fault end-";
    QTest::newRow("zeros for a read")
        << "read" << QStringList{"rx:00000000000000000000"} << "start sent rx partial fault end-";
    QTest::newRow("resent read, confirmed by a second read")
        << "read" << QStringList{"tick", "block", "guard", "block", "block", "block",
                                 "tick", "block", "block", "block", "block"}
        << "start sent timeout resent rx good sent rx good sent rx good sent rx good confirm "
           "confirm sent rx good sent rx good sent rx good sent rx good end+";
    QTest::newRow("restart, silence twice")
        << "restart" << QStringList{"tick", "tick"} << "start sent timeout resent timeout end-";
    QTest::newRow("resent, both copies answered")
        << "restart" << QStringList{"tick", "rx:27", "rx:27", "guard"}
        << "start sent timeout resent rx ack rx duplicate end+";
    QTest::newRow("resent, then a different answer")
        << "restart" << QStringList{"tick", "rx:27", "rx:34"}
        << "start sent timeout resent rx ack rx fault end-";
    QTest::newRow("write refused") << "write" << QStringList{"rx:34"} << "start sent rx nak end-";
    QTest::newRow("stray bytes while restarting")
        << "restart" << QStringList{"rx:999999"} << "start sent rx fault end-";
    QTest::newRow("read block with a bad checksum")
        << "read" << QStringList{"badreply0"} << "start sent rx bad end-";
    QTest::newRow("read block in two pieces, next frame")
        << "read" << QStringList{"half0", "rest0"} << "start sent rx partial rx good sent";
    QTest::newRow("acknowledgement means nothing to a read")
        << "read" << QStringList{"rx:27"} << "start sent rx ignored";
}

void TstTransferLog::story()
{
    QFETCH(QString, start);
    QFETCH(QStringList, script);
    QFETCH(QString, expected);

    TZorvexSettings settings;
    settings.LoadDefaults();
    FakeLink link;
    FakeReporter reporter;
    ExchangeEngine engine{settings, link, reporter};
    RecordingLog log;
    engine.SetLog(&log);

    if (start == QLatin1String("restart"))
        engine.StartRestart(9, 7);
    else if (start == QLatin1String("write"))
        engine.StartWrite();
    else
        engine.StartRead();
    for (const QString& step : script) {
        if (step.startsWith(QLatin1String("rx:")))
            engine.PortRxChar(QByteArray::fromHex(step.mid(3).toLatin1()));
        else if (step == QLatin1String("reply0"))
            engine.PortRxChar(Reply(0, true));
        else if (step == QLatin1String("badreply0"))
            engine.PortRxChar(Reply(0, false));
        else if (step == QLatin1String("half0"))
            engine.PortRxChar(Reply(0, true).left(10));
        else if (step == QLatin1String("rest0"))
            engine.PortRxChar(Reply(0, true).mid(10));
        else if (step == QLatin1String("block"))
            engine.PortRxChar(ReadReply(ImageSummingTo(0), engine.Position()));
        else if (step == QLatin1String("tick"))
            engine.TimerTick();
        else if (step == QLatin1String("guard"))
            engine.GuardTick();
        else
            QFAIL(qPrintable(step));
    }
    QCOMPARE(Letters(log.entries), expected);

    // The log tells the same frames the link was given, in the same order.
    QList<QByteArray> logged;
    for (const auto& e : log.entries)
        if (e.kind == Kind::Sent || e.kind == Kind::Resent)
            logged << e.bytes;
    QCOMPARE(logged, link.frames);
    for (int i = 1; i < log.entries.size(); ++i)
        QVERIFY(log.entries[i].ms >= log.entries[i - 1].ms);
    for (const auto& e : log.entries)
        if (e.kind == Kind::Partial)
            QCOMPARE((std::pair{e.count, e.total}), (std::pair{10, 67}));
}

void TstTransferLog::silentWhenOff()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    FakeLink link;
    FakeReporter reporter;
    ExchangeEngine engine{settings, link, reporter};
    RecordingLog log;
    engine.SetLog(&log);
    engine.SetLog(nullptr);
    engine.StartRestart(9, 7);
    engine.PortRxChar(QByteArray::fromHex("27"));
    engine.GuardTick();
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(link.done.size(), 1);
}

void TstTransferLog::lines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("hiddenFrom"); // image offsets from here to +3 hidden; -1 none
    QTest::addColumn<QString>("contains");

    QTest::newRow("read frame") << int(Kind::Sent) << DialerFrames::Read(64, 0x40) << -1
                                << "-> 6A 50 A1 40 40 DB 00";
    QTest::newRow("read frame meaning")
        << int(Kind::Sent) << DialerFrames::Read(64, 0x40) << -1 << "odczyt 64 B od 0x40";
    QTest::newRow("restart frame meaning")
        << int(Kind::Resent) << DialerFrames::Restart(9, 7) << -1 << "powtórzenie: restart 09:07";
    const std::uint8_t code[4] = {0x12, 0x34, 0xFF, 0xFF};
    QTest::newRow("write frame, shown")
        << int(Kind::Sent) << DialerFrames::Write(4, 0x10, code) << -1 << "A2 04 10 12 34 FF FF";
    QTest::newRow("write frame, code hidden")
        << int(Kind::Sent) << DialerFrames::Write(4, 0x10, code) << 0x10 << "A2 04 10 ** ** ** **";
    QTest::newRow("write frame, other bytes hidden")
        << int(Kind::Sent) << DialerFrames::Write(4, 0x10, code) << 0x20
        << "A2 04 10 12 34 FF FF B4";
    // The checksum after hidden bytes would give away their sum.
    QTest::newRow("write frame, checksum after a code hidden")
        << int(Kind::Sent) << DialerFrames::Write(4, 0x10, code) << 0x10
        << "A2 04 10 ** ** ** ** **";
    QTest::newRow("write frame, half a code hidden")
        << int(Kind::Sent) << DialerFrames::Write(4, 0x10, code) << 0x12
        << "A2 04 10 12 34 ** ** **";
    QTest::newRow("read frame never hidden")
        << int(Kind::Sent) << DialerFrames::Read(64, 0) << 0 << "6A 50 A1 40 00 9B 00";
    QTest::newRow("received") << int(Kind::Received) << QByteArray::fromHex("27") << -1 << "<- 27";
    QTest::newRow("nak") << int(Kind::Nak) << QByteArray() << -1 << "NAK";
    QTest::newRow("timer") << int(Kind::Timeout) << QByteArray() << -1 << "minął czas odpowiedzi";
}

void TstTransferLog::lines()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, hiddenFrom);
    QFETCH(QString, contains);

    TransferLogEntry entry;
    entry.kind = Kind(kind);
    entry.bytes = bytes;
    entry.ms = 412;
    TransferLogText::HideByte hide;
    if (hiddenFrom >= 0)
        hide = [hiddenFrom](int offset) { return offset >= hiddenFrom && offset < hiddenFrom + 4; };
    const QString line = TransferLogText::Line(entry, hide);
    QVERIFY2(line.contains(contains), qPrintable(line));
    QVERIFY2(line.startsWith(QLatin1String("   412 ms")), qPrintable(line));
}

void TstTransferLog::textLogFlushesEveryLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    auto file = std::make_unique<QFile>(path);
    QVERIFY(file->open(QIODevice::WriteOnly));
    TextTransferLog log(std::move(file));
    TransferLogEntry entry;
    entry.kind = Kind::Sent;
    entry.bytes = DialerFrames::Read(64, 0);
    log.Entry(entry);
    // Already on disk while the log is still open: a crash loses nothing seen.
    QFile reader(path);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QVERIFY(reader.readAll().contains("6A 50 A1 40 00 9B 00"));
}

QTEST_GUILESS_MAIN(TstTransferLog)
#include "tst_transferlog.moc"
