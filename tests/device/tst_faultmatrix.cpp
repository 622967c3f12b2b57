// What a cheap cable and a misbehaving dialer can do to an exchange, one row per fault:
// each must end with its message and without a hang, leave the configuration as it
// should be, and leave the link ready for the next exchange, which must succeed.

#include "ScriptedDialer.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/FakeReporter.h"

#include "device/DataManagement.h"
#include "emulator/DialerImage.h"
#include "model/Cp1250.h"
#include "model/ErrorSink.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"
#include "serial/CPort.h"

#include <QtTest>

#include <memory>

namespace {

// Long enough that a loaded machine running sanitizers never makes a healthy dialer look
// silent, short enough that the silences of the whole table take seconds, not minutes.
constexpr int kReplyInterval = 1000;  // ms
constexpr int kExchangeLimit = 30000; // ms: far beyond two reply intervals per frame
// Longer than the product's: the emulated dialer's answer to a retransmission must come
// within it also on a loaded machine, or the row would test the machine.
constexpr int kGuardInterval = 400; // ms
// Later than the reply interval: the link has retransmitted before the answer comes.
constexpr const char* kLate = "late-ms=1300";

QString Box(const char* kind, const char* text)
{
    return QString::fromLatin1(kind) + QString::fromUtf8(text);
}

// The link with everything it tells its user recorded in one list: boxes ("I:", "E:"),
// errors handed to the error sink ("S:") and errors thrown by a start ("T:").
struct Rig
{
    Rig()
    {
        link.SetReplyInterval(kReplyInterval);
        link.SetGuardInterval(kGuardInterval);
        link.OnTransferStart = [this](TZorvexSettingsControl*) { events.append("start"); };
        link.OnTransferEnd = [this](TZorvexSettingsControl*) { events.append("end"); };
        link.OnTransferProgress = [this](int percent) { resends += percent == -1; };
        previousSink = ErrorSink::Install([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                sunk.append("S:" + QString::fromUtf8(e.what()));
            }
        });
    }
    ~Rig() { ErrorSink::Install(previousSink); }

    void Start(const QString& operation)
    {
        try {
            if (operation == "read")
                link.ReadFromDevice();
            else if (operation == "write")
                link.WriteToDevice();
            else
                link.RestartDevice(QTime(9, 7));
        } catch (const Exception& e) {
            thrown.append("T:" + QString::fromUtf8(e.what()));
        }
    }
    QStringList Outcomes() const { return reporter.shown + sunk + thrown; }
    bool WaitForEnd()
    {
        return QTest::qWaitFor(
            [this] { return link.Operation() == Operation::Idle && !Outcomes().isEmpty(); },
            kExchangeLimit);
    }
    void Reset()
    {
        reporter.shown.clear();
        sunk.clear();
        thrown.clear();
        events.clear();
        resends = 0;
    }

    FakeReporter reporter;
    TZorvexSettingsControl link{reporter};
    QStringList events;
    QStringList sunk;
    QStringList thrown;
    int resends = 0;
    ErrorSink::Handler previousSink;
};

QByteArray Garbage()
{
    // Neither an (n)acknowledgement nor anything that could pass for a block.
    return QByteArray("\x00\xFF\x13\x6A\x50", 5);
}

// The scripts of the bent dialers.
ScriptedDialer::Script ScriptFor(const QString& line)
{
    if (line == "garbage")
        return [](int number, const DialerFrame&, const QByteArray& reply) {
            return number == 1 ? Garbage() + reply : reply;
        };
    if (line == "long")
        return [](int, const DialerFrame& frame, const QByteArray& reply) {
            return frame.kind == FrameKind::Read ? reply + QByteArray("\x11\x22\x33\x44\x55")
                                                 : reply;
        };
    if (line == "ack-once") // an acknowledgement instead of the first block
        return [](int number, const DialerFrame&, const QByteArray& reply) {
            return number == 1 ? QByteArray(1, char(DialerWire::Ack)) : reply;
        };
    if (line == "ack-always")
        return [](int, const DialerFrame&, const QByteArray&) {
            return QByteArray(1, char(DialerWire::Ack));
        };
    if (line == "stale-ack") // and the last write block refused
        return [](int number, const DialerFrame&, const QByteArray& reply) {
            return number == 64 ? QByteArray(1, char(DialerWire::Nak)) : reply;
        };
    if (line == "stale-tail")
        return [](int, const DialerFrame&, const QByteArray& reply) { return reply; };
    return {};
}

// Another program holding the port: a second copy of the port component has the device
// open for its exclusive use, as another copy of this program (or any program that
// locks the device) would.
class PortHolder
{
public:
    explicit PortHolder(const QString& path)
    {
        m_port.SetPort(path);
        m_port.Open();
    }
    bool Held() const { return m_port.Connected(); }

private:
    TComPort m_port;
};

} // namespace

class TstFaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void exchangeEnds_data();
    void exchangeEnds();
    void interruptedReadLeavesNoTrace();
};

void TstFaultMatrix::exchangeEnds_data()
{
    QTest::addColumn<QString>("operation");
    // "emulator:<faults>" ("paced:<faults>": at the line's own speed, so that every answer
    // comes on its own), a scripted dialer ("garbage", "long", "ack-once",
    // "ack-always"; "stale-ack", "stale-tail": bytes already waiting when the port
    // opens), or the port itself ("in-use", "missing", "reselect:<faults>").
    QTest::addColumn<QString>("line");
    // The one thing the user is told, or its beginning for port errors.
    QTest::addColumn<QString>("outcome");
    // "unchanged", "sealed" (only image byte 0, set to the image checksum), "read" (the
    // dialer's image and the read records), "written" (sealed, and the dialer holds it).
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("resends"); // frames sent a second time; -1: any number

    const QString noAnswer = Box("E:", ConstsZVX::TransferNoAnswer);
    const QString badRecord = Box("E:", ConstsZVX::BadRecordChecksum);
    const QString lineGone = Box("S:", ConstsZVX::ComPortErrors[EComPort::CodeWrite]);
    const QString cannotOpen = Box("T:", ConstsZVX::ComPortErrors[EComPort::CodeOpen]);
    const QString readDone = Box("I:", ConstsZVX::ReadDone);
    const QString writeDone = Box("I:", ConstsZVX::WriteDone);

    QTest::newRow("silence, read") << "read"
                                   << "emulator:silent" << noAnswer << "unchanged" << 1;
    QTest::newRow("silence, write") << "write"
                                    << "emulator:silent" << noAnswer << "sealed" << 1;
    QTest::newRow("silence, restart")
        << "restart"
        << "emulator:silent" << Box("E:", ConstsZVX::RestartNoAnswer) << "unchanged" << 1;
    QTest::newRow("one lost reply, read") << "read"
                                          << "emulator:silent-frame=3" << readDone << "read" << 1;
    QTest::newRow("one lost reply, write")
        << "write"
        << "emulator:silent-frame=33" << writeDone << "written" << 1;
    QTest::newRow("one lost reply, restart")
        << "restart"
        << "emulator:silent-frame=1" << Box("I:", ConstsZVX::RestartDone) << "unchanged" << 1;
    QTest::newRow("half a reply then silence") << "read"
                                               << "emulator:cut=30" << noAnswer << "unchanged" << 1;
    QTest::newRow("0x34 on the first write block")
        << "write"
        << "emulator:nak-frame=1" << badRecord << "sealed" << 0;
    QTest::newRow("0x34 on a middle write block")
        << "write"
        << "emulator:nak-frame=32" << badRecord << "sealed" << 0;
    QTest::newRow("0x34 on the last write block")
        << "write"
        << "emulator:nak-frame=64" << badRecord << "sealed" << 0;
    QTest::newRow("bad block checksum") << "read"
                                        << "emulator:bad-block" << badRecord << "unchanged" << 0;
    QTest::newRow("bad image checksum")
        << "read"
        << "emulator:bad-image" << Box("E:", ConstsZVX::BadImageChecksum) << "unchanged" << 0;
    // A dialer says exactly its answer: a reply begins A1 00, a write is answered 27 or 34,
    // and nothing follows an answer.
    QTest::newRow("garbage before a block") << "read"
                                            << "garbage" << noAnswer << "unchanged" << 0;
    QTest::newRow("garbage before an acknowledgement") << "write"
                                                       << "garbage" << noAnswer << "sealed" << 0;
    QTest::newRow("replies longer than asked") << "read"
                                               << "long" << noAnswer << "unchanged" << 0;
    // A line held in BREAK delivers zeros, whose sums check out as well as any; a noisy
    // line may say 27 now and then. Neither is a dialer.
    QTest::newRow("zeros, read") << "read"
                                 << "emulator:zeros" << noAnswer << "unchanged" << 0;
    QTest::newRow("zeros, write") << "write"
                                  << "emulator:zeros" << noAnswer << "sealed" << 0;
    QTest::newRow("zeros, restart") << "restart"
                                    << "emulator:zeros" << noAnswer << "unchanged" << 0;
    QTest::newRow("noise, read") << "read"
                                 << "emulator:noise" << noAnswer << "unchanged" << 0;
    QTest::newRow("noise, write") << "write"
                                  << "emulator:noise" << noAnswer << "sealed" << 0;
    QTest::newRow("noise, restart") << "restart"
                                    << "emulator:noise" << noAnswer << "unchanged" << 0;
    QTest::newRow("acknowledgement during a read, once") << "read"
                                                         << "ack-once" << readDone << "read" << 1;
    QTest::newRow("acknowledgements only during a read")
        << "read"
        << "ack-always" << noAnswer << "unchanged" << 1;
    QTest::newRow("line lost during a read")
        << "read"
        << "emulator:hangup-frame=2" << lineGone << "unchanged" << -1;
    QTest::newRow("line lost during a write")
        << "write"
        << "emulator:hangup-frame=20" << lineGone << "sealed" << -1;
    QTest::newRow("line lost during a restart")
        << "restart"
        << "emulator:hangup-frame=1" << lineGone << "unchanged" << -1;
    QTest::newRow("port in use by another program") << "read"
                                                    << "in-use" << cannotOpen << "unchanged" << 0;
    QTest::newRow("port missing") << "write"
                                  << "missing" << cannotOpen << "unchanged" << 0;
    // Answers carry no block number: a late answer followed by the answer to the
    // retransmission must not be taken for the next frame's.
    QTest::newRow("late block, resend answered too")
        << "read" << QStringLiteral("paced:late-frame=2,") + kLate << readDone << "read" << 1;
    QTest::newRow("late ack mid-write, resend answered too")
        << "write" << QStringLiteral("paced:late-frame=20,") + kLate << writeDone << "written" << 1;
    QTest::newRow("late ack mid-write, last block refused")
        << "write" << QStringLiteral("paced:late-frame=20,nak-frame=65,") + kLate << badRecord
        << "sealed" << 1;
    QTest::newRow("late ack on the last block")
        << "write" << QStringLiteral("paced:late-frame=64,") + kLate << writeDone << "written" << 1;
    QTest::newRow("late restart ack") << "restart" << QStringLiteral("paced:late-frame=1,") + kLate
                                      << Box("I:", ConstsZVX::RestartDone) << "unchanged" << 1;
    // A dialer busy for longer answers both copies of block 20 late, the second after the
    // guard time: every later answer is taken for the next block's, and the last block's
    // comes after the write seems through; reading the image back tells. Whether a late
    // answer comes just after the next frame went out (the answers shift: the write is not
    // confirmed) or just before (bytes nobody asked for: a line fault) is the machine's
    // timing, and so is how many frames are resent; either way the write must fail.
    const QString failed = Box("E:", "");
    QTest::newRow("answers shifted, the last block lost")
        << "write" << QStringLiteral("paced:late-frame=20,late-frame=21,silent-frame=65,") + kLate
        << failed << "sealed" << -1;
    QTest::newRow("answers shifted, the last block refused")
        << "write" << QStringLiteral("paced:late-frame=20,late-frame=21,nak-frame=65,") + kLate
        << failed << "sealed" << -1;
    QTest::newRow("acknowledgement waiting at open, last block refused")
        << "write"
        << "stale-ack" << badRecord << "sealed" << 0;
    QTest::newRow("end of a reply waiting at open") << "read"
                                                    << "stale-tail" << readDone << "read" << 0;
    QTest::newRow("port re-selected during a read")
        << "read"
        << "reselect:silent-frame=2,silent-frame=3" << lineGone << "unchanged" << -1;
}

void TstFaultMatrix::exchangeEnds()
{
    QFETCH(QString, operation);
    QFETCH(QString, line);
    QFETCH(QString, outcome);
    QFETCH(QString, settings);
    QFETCH(int, resends);

    Rig rig;
    TZorvexSettings& mine = rig.link.Settings();
    // Every write block differs from the dialer's: a block the dialer did not take shows.
    const TCfg dialerHeld = DefaultDialerImage();
    for (int i = 2; i < 256; i += 4)
        mine.Cfg.SetByte(i, dialerHeld.GetByte(i) ^ 0x5A);
    mine.Cfg.SetByte(0, ZeroSumByte(mine.Cfg.Bytes().data() + 1, 255) + 1); // not sealed
    mine.Comment.SetText(3, "Data: wczoraj");
    mine.Comment.SetText(7, "Sklep przy rynku");
    const TZorvexSettings before = mine;

    std::unique_ptr<DialerEmulator> emulator;
    std::unique_ptr<ScriptedDialer> scripted;
    std::unique_ptr<PortHolder> holder;
    QString path;
    if (line.startsWith("emulator:") || line.startsWith("paced:") || line == "in-use" ||
        line.startsWith("reselect")) {
        DialerEmulator::Options options =
            Unpaced(line.section(u':', 1).split(u',', Qt::SkipEmptyParts));
        options.pacing = line.startsWith("paced:");
        emulator = std::make_unique<DialerEmulator>(options);
        emulator->Start();
        path = PathOf(*emulator);
    } else if (line == "missing") {
        path = QStringLiteral("/nonexistent/ttyZVX");
    } else {
        scripted = std::make_unique<ScriptedDialer>(ScriptFor(line));
        path = scripted->Path();
        if (line == "stale-ack")
            scripted->Put(QByteArray(1, char(DialerWire::Ack)));
        else if (line == "stale-tail")
            scripted->Put(QByteArray("\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4A\x4B\x4C", 12));
    }
    if (line == "in-use") {
        holder = std::make_unique<PortHolder>(path);
        QVERIFY(holder->Held());
    }
    rig.link.SerialPort().SetPort(path);

    rig.Start(operation);
    if (line.startsWith("reselect")) {
        // Half-way through: the first block is in, the second asked for (and, so that
        // this moment lasts, not answered).
        QTRY_VERIFY_WITH_TIMEOUT(rig.link.Position() >= 64, kExchangeLimit);
        rig.link.SelectPort(3);
        QCOMPARE(rig.link.SerialPort().Port(), QStringLiteral("COM3"));
    }
    QVERIFY(rig.WaitForEnd());
    const QStringList outcomes = rig.Outcomes();
    QCOMPARE(outcomes.size(), 1);
    QVERIFY2(outcomes.first().startsWith(outcome), qPrintable(outcomes.first()));
    if (outcome.startsWith("T:"))
        QVERIFY(rig.events.isEmpty()); // refused before anything was sent
    else
        QCOMPARE(rig.events, (QStringList{"start", "end"}));
    if (resends >= 0)
        QCOMPARE(rig.resends, resends);
    QCOMPARE(rig.link.Operation(), Operation::Idle);

    const TCfg dialerImage = emulator ? emulator->Image() : scripted ? scripted->Image() : TCfg{};
    TZorvexSettings sealed = before;
    sealed.Cfg.SetByte(0, ZeroSumByte(before.Cfg.Bytes().data() + 1, 255));
    if (settings == "unchanged") {
        QVERIFY(mine == before);
    } else if (settings == "sealed" || settings == "written") {
        QVERIFY(mine == sealed);
        if (settings == "written")
            QVERIFY(dialerImage == mine.Cfg);
    } else {
        QVERIFY(mine.Cfg == dialerImage);
        QCOMPARE(mine.Comment.GetText(0), Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
        QVERIFY(mine.Comment.GetText(3).starts_with("Data: "));
        QVERIFY(mine.Comment.GetText(3) != before.Comment.GetText(3));
        QCOMPARE(mine.Comment.GetText(7), before.Comment.GetText(7));
    }

    // The next exchange, on a healthy dialer (the other program gone, the adapter back).
    holder.reset();
    DialerEmulator healthy(Unpaced());
    healthy.Start();
    rig.link.SerialPort().SetPort(PathOf(healthy));
    rig.Reset();
    const TZorvexSettings beforeNext = mine;
    rig.Start(operation);
    QVERIFY(rig.WaitForEnd());
    const char* done = operation == "read"    ? ConstsZVX::ReadDone
                       : operation == "write" ? ConstsZVX::WriteDone
                                              : ConstsZVX::RestartDone;
    QCOMPARE(rig.Outcomes(), QStringList{Box("I:", done)});
    if (operation == "read")
        QVERIFY(mine.Cfg == healthy.Image());
    else if (operation == "write")
        QVERIFY(healthy.Image() == mine.Cfg);
    else
        QVERIFY(mine == beforeNext);
}

// A read interrupted while the dialer answers (the program closed, Ctrl+C in a console)
// leaves the rest of the answer on the line; the next program to open the port must not
// take it for the answer to its own first frame.
void TstFaultMatrix::interruptedReadLeavesNoTrace()
{
    DialerEmulator::Options paced; // as slow as the real line: the answer takes 0.5 s
    DialerEmulator dialer(paced);
    dialer.Start();
    const QString path = PathOf(dialer);
    {
        Rig first;
        first.link.SerialPort().SetPort(path);
        first.Start("read");
        QTRY_VERIFY_WITH_TIMEOUT(first.link.RxCount() > 0, kExchangeLimit);
        // The program goes away, half-way through the dialer's answer.
    }
    // The rest of the answer goes out to nobody.
    QTRY_COMPARE_WITH_TIMEOUT(dialer.GetCounters().frames, 1, kExchangeLimit);

    for (const QString operation : {"read", "read"}) {
        Rig next;
        next.link.SerialPort().SetPort(path);
        next.Start(operation);
        QVERIFY(next.WaitForEnd());
        QCOMPARE(next.Outcomes(), QStringList{Box("I:", ConstsZVX::ReadDone)});
        QVERIFY(next.link.Settings().Cfg == dialer.Image());
    }
}

QTEST_GUILESS_MAIN(TstFaultMatrix)
#include "tst_faultmatrix.moc"
