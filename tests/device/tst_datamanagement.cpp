#include "tests/common/EmulatedDialer.h"
#include "tests/common/FakeReporter.h"

#include "device/DataManagement.h"
#include "model/Cp1250.h"
#include "model/ErrorSink.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"

#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString Msg(const char* kind, const char* text)
{
    return QString::fromLatin1(kind) + QString::fromUtf8(text);
}

QList<int> Deduplicated(const QList<int>& values)
{
    QList<int> out;
    for (int v : values)
        if (out.isEmpty() || out.last() != v)
            out.append(v);
    return out;
}

// The link on one side of a pseudo-terminal, the emulated dialer on the other, and a
// record of everything the link told its user.
struct Rig
{
    explicit Rig(const DialerEmulator::Options& options = Unpaced())
        : dialer(std::make_unique<DialerEmulator>(options))
    {
        dialer->Start();
        link.SerialPort().SetPort(PathOf(*dialer));
        link.OnTransferStart = [this](TZorvexSettingsControl*) { events.append("start"); };
        link.OnTransferEnd = [this](TZorvexSettingsControl*) { events.append("end"); };
        link.OnTransferConfirm = [this](ConfigEvent event) {
            confirmed.append(QString::fromUtf8(ConfigEventName(event)));
        };
        link.OnTransferProgress = [this](int percent) {
            progress.append(percent);
            if (throwAtProgress == percent)
                throw Exception("przerwane w obsłudze postępu");
        };
        previousSink = ErrorSink::Install([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                sunk.append(QString::fromUtf8(e.what()));
            }
        });
    }
    ~Rig() { ErrorSink::Install(previousSink); }

    // Waits for the end of the exchange and for the outcome that follows it.
    bool WaitForEnd(int timeoutMs = 20000)
    {
        return QTest::qWaitFor(
            [this] {
                return events.contains("end") && (!reporter.shown.isEmpty() || !sunk.isEmpty());
            },
            timeoutMs);
    }
    void Reset()
    {
        events.clear();
        confirmed.clear();
        progress.clear();
        reporter.shown.clear();
        sunk.clear();
    }

    std::unique_ptr<DialerEmulator> dialer;
    QStringList confirmed; // the exchanges that confirmed themselves
    FakeReporter reporter;
    TZorvexSettingsControl link{reporter};
    QStringList events;
    QList<int> progress;
    QStringList sunk;
    int throwAtProgress = -2;
    ErrorSink::Handler previousSink;
};

// The PC's end of a bare pseudo-terminal, to see the frames exactly as they leave.
class BareLine
{
public:
    BareLine()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~BareLine()
    {
        if (m_master >= 0)
            close(m_master);
    }
    QString SlavePath() const { return m_slavePath; }
    // The next count bytes the PC sent. The event loop runs meanwhile, so that the link
    // can take the answers and send on.
    QByteArray Take(int count)
    {
        QByteArray bytes;
        (void)QTest::qWaitFor(
            [&] {
                pollfd p{m_master, POLLIN, 0};
                while (bytes.size() < count && poll(&p, 1, 0) > 0) {
                    char buffer[256];
                    const ssize_t n = read(m_master, buffer,
                                           qMin<qsizetype>(sizeof buffer, count - bytes.size()));
                    if (n <= 0)
                        return true;
                    bytes.append(buffer, n);
                }
                return bytes.size() >= count;
            },
            10000);
        return bytes;
    }
    bool Answer(const QByteArray& bytes)
    {
        return write(m_master, bytes.data(), bytes.size()) == bytes.size();
    }

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace

class TstDataManagement : public QObject
{
    Q_OBJECT

private slots:
    void framesOnTheWire();
    void readsTheDialer_data();
    void readsTheDialer();
    void writesTheDialer();
    void verifiesTheDialer_data();
    void verifiesTheDialer();
    void retransmitsAfterLostReply_data();
    void retransmitsAfterLostReply();
    void realReplyInterval();
    void silenceEndsExchange_data();
    void silenceEndsExchange();
    void refusals_data();
    void refusals();
    void lineLost_data();
    void lineLost();
    void handlerErrorEndsExchange();
    void portThatCannotOpen();
    void selectPort();
    void serialPortSettingsComeBack();
    void loadAndSave();
};

void TstDataManagement::framesOnTheWire()
{
    BareLine line;
    QVERIFY(!line.SlavePath().isEmpty());
    FakeReporter reporter;
    TZorvexSettingsControl link(reporter);
    link.SerialPort().SetPort(line.SlavePath());

    link.RestartDevice(QTime(9, 7, 59));
    QCOMPARE(line.Take(6).toHex(' '), QByteArray("6a 50 a0 09 07 6a"));
    QVERIFY(line.Answer("'"));
    QTRY_COMPARE(reporter.shown, QStringList{Msg("I:", ConstsZVX::RestartDone)});

    link.ReadFromDevice();
    QCOMPARE(line.Take(7).toHex(' '), QByteArray("6a 50 a1 40 00 9b 00"));
    QVERIFY(line.Answer("4"));
    QTRY_COMPARE(reporter.shown.size(), 2);

    link.WriteToDevice();
    const auto& image = link.Settings().Cfg.Bytes();
    for (int block = 0; block < 64; ++block) {
        QByteArray expected("\x6A\x50\xA2\x04", 4);
        expected.append(char(block * 4));
        expected.append(reinterpret_cast<const char*>(image.data()) + block * 4, 4);
        expected.append(char(Sum8(reinterpret_cast<const std::uint8_t*>(expected.data()), 9)));
        QCOMPARE(line.Take(10).toHex(' '), expected.toHex(' '));
        QVERIFY(line.Answer("'"));
    }
    QTRY_COMPARE(reporter.shown.last(), Msg("I:", ConstsZVX::WriteDone));
}

void TstDataManagement::readsTheDialer_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("pacing");
    QTest::newRow("whole replies") << QStringList{} << false;
    QTest::newRow("replies in chunks") << QStringList{"chunks=5"} << false;
    QTest::newRow("paced line") << QStringList{} << true;
}

void TstDataManagement::readsTheDialer()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, pacing);
    DialerEmulator::Options options = Unpaced(faults);
    options.pacing = pacing;
    Rig rig(options);
    rig.link.Settings().Comment.SetText(5, "Sklep przy rynku");
    const TZorvexSettings before = rig.link.Settings();

    rig.link.ReadFromDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
    QCOMPARE(Deduplicated(rig.progress), (QList<int>{0, 25, 50, 75}));
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.dialer->GetCounters().frames, 4);
    QVERIFY(rig.link.Settings().Cfg == rig.dialer->Image());
    const TComment& comment = rig.link.Settings().Comment;
    QCOMPARE(comment.GetText(0), Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
    QVERIFY(comment.GetText(3).starts_with("Data: "));
    for (int r = 1; r < TComment::Count; ++r)
        if (r != 3)
            QCOMPARE(comment.GetText(r), before.Comment.GetText(r));
    QCOMPARE(rig.link.Operation(), Operation::Idle);
    QVERIFY(rig.link.SerialPort().Connected()); // left open for the next exchange
}

void TstDataManagement::writesTheDialer()
{
    Rig rig;
    rig.link.Settings().Cfg.SetByte(0, 0);
    rig.link.Settings().Cfg.SetByte(100, 0x42);
    rig.link.WriteToDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::WriteDone)});
    QList<int> expected;
    for (int position = 4; position <= 256; position += 4)
        expected.append(position * 100 / 256);
    QCOMPARE(rig.progress, expected);
    QCOMPARE(rig.dialer->GetCounters().frames, 64);
    QCOMPARE(rig.dialer->GetCounters().completedWrites, 1);
    QVERIFY(rig.dialer->Image() == rig.link.Settings().Cfg);
    QCOMPARE(Sum8(rig.link.Settings().Cfg.Bytes().data(), 256), 0);
}

// The check read: the same frames and progress as a read, the dialer's image handed
// over, and the configuration in memory left exactly as it was, whatever the outcome.
void TstDataManagement::verifiesTheDialer_data()
{
    QTest::addColumn<QString>("dialerImage"); // "equal" or "different"
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("equal image") << "equal" << QStringList{} << QStringList{};
    QTest::newRow("differing image") << "different" << QStringList{} << QStringList{};
    QTest::newRow("silent dialer")
        << "equal" << QStringList{"silent"} << QStringList{Msg("E:", ConstsZVX::TransferNoAnswer)};
    QTest::newRow("bad image checksum") << "equal" << QStringList{"bad-image"}
                                        << QStringList{Msg("E:", ConstsZVX::BadImageChecksum)};
}

void TstDataManagement::verifiesTheDialer()
{
    QFETCH(QString, dialerImage);
    QFETCH(QStringList, faults);
    QFETCH(QStringList, shown);
    Rig rig(Unpaced(faults));
    rig.link.SetReplyInterval(300);
    TZorvexSettings& settings = rig.link.Settings();
    settings.Cfg.SetByte(100, 0x42);
    settings.Comment.SetText(5, "Sklep przy rynku");
    TCfg image = settings.Cfg;
    if (dialerImage == "different")
        image.SetByte(120, 0x12);
    image.SetByte(0, ZeroSumByte(image.Bytes().data() + 1, TCfg::Size - 1));
    rig.dialer->SetImage(image);
    const TZorvexSettings before = settings;

    std::optional<TCfg> received;
    rig.link.VerifyDevice([&](const TCfg& dialer) {
        QVERIFY(rig.events.contains("end"));
        received = dialer;
    });
    QVERIFY(QTest::qWaitFor([&] { return received || !rig.reporter.shown.isEmpty(); }, 20000));
    QCOMPARE(rig.reporter.shown, shown);
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.link.Operation(), Operation::Idle);
    QVERIFY(settings == before);
    QCOMPARE(received.has_value(), shown.isEmpty());
    if (received) {
        QVERIFY(*received == image);
        QCOMPARE(Deduplicated(rig.progress), (QList<int>{0, 25, 50, 75}));
        QCOMPARE(rig.dialer->GetCounters().frames, 4);
    }

    // A plain read afterwards is a read again: it takes the image and says so.
    if (faults.isEmpty()) {
        rig.Reset();
        rig.link.ReadFromDevice();
        QVERIFY(rig.WaitForEnd());
        QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
        QVERIFY(settings.Cfg == image);
    }
}

void TstDataManagement::retransmitsAfterLostReply_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("frames");
    // The frames include the confirming read (four frames) of an exchange that resent one.
    QTest::newRow("read") << "read"
                          << "silent-frame=2" << Msg("I:", ConstsZVX::ReadDone) << 5 + 4;
    QTest::newRow("write") << "write"
                           << "silent-frame=30" << Msg("I:", ConstsZVX::WriteDone) << 65 + 4;
    QTest::newRow("first read frame lost")
        << "read"
        << "silent-frame=1" << Msg("I:", ConstsZVX::ReadDone) << 5 + 4;
}

void TstDataManagement::retransmitsAfterLostReply()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    QFETCH(QString, outcome);
    QFETCH(int, frames);
    Rig rig(Unpaced({fault}));
    // Long enough that a loaded machine never makes the dialer look silent.
    rig.link.SetReplyInterval(1000);
    if (operation == "read")
        rig.link.ReadFromDevice();
    else
        rig.link.WriteToDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{outcome});
    QCOMPARE(rig.progress.count(-1), 1);
    QCOMPARE(rig.dialer->GetCounters().frames, frames);
    QCOMPARE(rig.confirmed, QStringList{operation});
}

void TstDataManagement::realReplyInterval()
{
    Rig rig(Unpaced({"silent-frame=1"}));
    QCOMPARE(rig.link.ReplyInterval(), 3000);
    rig.link.RestartDevice(QDateTime(QDate(2024, 1, 1), QTime(23, 59, 30)));
    QVERIFY(rig.WaitForEnd(15000));
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::RestartDone)});
    QCOMPARE(rig.progress, QList<int>{-1});
    const auto counters = rig.dialer->GetCounters();
    QCOMPARE(counters.frames, 2);
    QCOMPARE(counters.restartHour, 0x23);
    QCOMPARE(counters.restartMinute, 0x59);
}

void TstDataManagement::silenceEndsExchange_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("frames");
    const QString noAnswer = Msg("E:", ConstsZVX::TransferNoAnswer);
    QTest::newRow("restart") << "restart"
                             << "silent" << Msg("E:", ConstsZVX::RestartNoAnswer) << 2;
    QTest::newRow("read") << "read"
                          << "silent" << noAnswer << 2;
    QTest::newRow("write") << "write"
                           << "silent" << noAnswer << 2;
    QTest::newRow("half a reply then silence") << "read"
                                               << "cut=30" << noAnswer << 2;
    QTest::newRow("read, later silence") << "read"
                                         << "silent-frame=3,4" << noAnswer << 4;
}

void TstDataManagement::silenceEndsExchange()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(int, frames);
    QStringList faults;
    for (const QString& number : fault.section('=', 1).split(',', Qt::SkipEmptyParts))
        faults.append(fault.section('=', 0, 0) + '=' + number);
    if (faults.isEmpty())
        faults.append(fault);
    Rig rig(Unpaced(faults));
    rig.link.SetReplyInterval(300);
    const TZorvexSettings before = rig.link.Settings();
    if (operation == "restart")
        rig.link.RestartDevice(QTime::currentTime());
    else if (operation == "read")
        rig.link.ReadFromDevice();
    else
        rig.link.WriteToDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{message});
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.progress.count(-1), 1);
    QCOMPARE(rig.dialer->GetCounters().frames, frames);
    QCOMPARE(rig.link.Operation(), Operation::Idle);
    QCOMPARE(rig.link.RetriesLeft(), 0);
    if (operation == "read")
        QVERIFY(rig.link.Settings() == before);
    if (operation == "write") // byte 0 is set even though the write failed
        QCOMPARE(Sum8(rig.link.Settings().Cfg.Bytes().data(), 256), 0);
}

void TstDataManagement::refusals_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("frames");
    const QString badRecord = Msg("E:", ConstsZVX::BadRecordChecksum);
    QTest::newRow("0x34 in the middle of a write") << "write"
                                                   << "nak-frame=10" << badRecord << 10;
    QTest::newRow("0x34 to a read") << "read"
                                    << "nak-frame=2" << badRecord << 2;
    QTest::newRow("bad block") << "read"
                               << "bad-block" << badRecord << 1;
    QTest::newRow("bad image checksum")
        << "read"
        << "bad-image" << Msg("E:", ConstsZVX::BadImageChecksum) << 4;
}

void TstDataManagement::refusals()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(int, frames);
    Rig rig(Unpaced({fault}));
    rig.link.Settings().Comment.SetText(3, "Data: wczoraj");
    if (operation == "write")
        rig.link.Settings().Cfg.SetByte(
            0, ZeroSumByte(rig.link.Settings().Cfg.Bytes().data() + 1, 255));
    const TZorvexSettings before = rig.link.Settings();
    if (operation == "read")
        rig.link.ReadFromDevice();
    else
        rig.link.WriteToDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{message});
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.dialer->GetCounters().frames, frames);
    QVERIFY(!rig.progress.contains(-1)); // nothing resent
    QVERIFY(rig.link.Settings() == before);
}

void TstDataManagement::lineLost_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    QTest::newRow("mid-read") << "read"
                              << "hangup-frame=2";
    QTest::newRow("mid-write") << "write"
                               << "hangup-frame=20";
}

void TstDataManagement::lineLost()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    Rig rig(Unpaced({fault}));
    rig.link.SetReplyInterval(300);
    const TCfg before = rig.link.Settings().Cfg;
    if (operation == "read")
        rig.link.ReadFromDevice();
    else
        rig.link.WriteToDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.sunk.size(), 1);
    QVERIFY2(rig.sunk.first().startsWith(QStringLiteral("Błąd funkcji")),
             qPrintable(rig.sunk.first()));
    QCOMPARE(rig.link.Operation(), Operation::Idle);
    if (operation == "read")
        QVERIFY(rig.link.Settings().Cfg == before);

    // The adapter is back (maybe under the same name): the next exchange works.
    rig.dialer = std::make_unique<DialerEmulator>(Unpaced());
    rig.dialer->Start();
    rig.link.SerialPort().SetPort(PathOf(*rig.dialer));
    rig.Reset();
    rig.link.ReadFromDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
    QVERIFY(rig.sunk.isEmpty());
}

void TstDataManagement::handlerErrorEndsExchange()
{
    Rig rig;
    rig.throwAtProgress = 50;
    rig.link.ReadFromDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.events, (QStringList{"start", "end"}));
    QCOMPARE(rig.sunk, QStringList{"przerwane w obsłudze postępu"});
    QVERIFY(rig.reporter.shown.isEmpty());
    QCOMPARE(rig.link.Operation(), Operation::Idle);

    rig.Reset();
    rig.throwAtProgress = -2;
    rig.link.ReadFromDevice();
    QVERIFY(rig.WaitForEnd());
    QCOMPARE(rig.reporter.shown, QStringList{Msg("I:", ConstsZVX::ReadDone)});
}

void TstDataManagement::portThatCannotOpen()
{
    FakeReporter reporter;
    TZorvexSettingsControl link(reporter);
    QStringList events;
    link.OnTransferStart = [&](TZorvexSettingsControl*) { events.append("start"); };
    link.SerialPort().SetPort(QStringLiteral("/nonexistent/ttyZVX"));
    try {
        link.ReadFromDevice();
        QFAIL("no error");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), EComPort::CodeOpen);
    }
    QVERIFY(events.isEmpty());
    QCOMPARE(link.Operation(), Operation::Idle);
    QVERIFY(!link.SerialPort().Connected());
}

void TstDataManagement::selectPort()
{
    Rig rig;
    const QString path = rig.link.SerialPort().Port();
    rig.link.RestartDevice(QTime(9, 7));
    QVERIFY(rig.WaitForEnd());
    QVERIFY(rig.link.SerialPort().Connected());

    rig.link.SelectPort(17);
    QVERIFY(!rig.link.SerialPort().Connected());
    QCOMPARE(rig.link.SerialPort().Port(), path);
    rig.link.SelectPort(3);
    QCOMPARE(rig.link.SerialPort().Port(), QStringLiteral("COM3"));
    rig.link.SelectPort(16);
    QCOMPARE(rig.link.SerialPort().Port(), QStringLiteral("COM16"));
    rig.link.SelectPort(0);
    QCOMPARE(rig.link.SerialPort().Port(), QStringLiteral("COM16"));
}

void TstDataManagement::serialPortSettingsComeBack()
{
    DialerEmulator dialer(Unpaced());
    TSerialPort port;
    port.SetPort(PathOf(dialer));
    port.SetBaudRate(br1339);
    port.Connect();
    QVERIFY(port.Connected());
    port.SetBaudRate(br9600);
    port.Parity().SetBits(prEven);
    port.Connect(); // already open: stays open, saves what it has now
    port.SetBaudRate(br2400);
    port.Disconnect();
    QVERIFY(!port.Connected());
    QCOMPARE(port.BaudRate(), br9600);
    QCOMPARE(port.Parity().Bits(), prEven);

    // A saved port that has gone away is no error: the port just stays closed.
    port.SetPort(QStringLiteral("/nonexistent/ttyZVX"));
    port.SaveSettings();
    port.RestoreSettings();
    QVERIFY(!port.Connected());
}

void TstDataManagement::loadAndSave()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sklep.zvx"));
    FakeReporter reporter;
    TZorvexSettingsControl link(reporter);
    QCOMPARE(link.Settings().Cfg.GetByte(0), 0);
    link.Settings().Comment.SetText(0, Utf8ToCp1250("Żabka, ul. Łąkowa"));
    QCOMPARE(link.SaveToFile(file), ConfigFile::Success);
    QCOMPARE(link.Settings().Cfg.GetByte(0), 0); // saving leaves byte 0 alone

    const TZorvexSettings saved = link.Settings();
    link.Settings().LoadDefaults();
    const TZorvexSettings factory = link.Settings();
    reporter.confirmAnswer = false;
    QCOMPARE(link.LoadFromFile(file), ConfigFile::Success);
    QCOMPARE(reporter.shown, QStringList{"C:Żabka, ul. Łąkowa"});
    QVERIFY(link.Settings() == factory);

    reporter.confirmAnswer = true;
    QCOMPARE(link.LoadFromFile(file), ConfigFile::Success);
    QVERIFY(link.Settings().Comment == saved.Comment);
    QCOMPARE(Sum8(link.Settings().Cfg.Bytes().data(), 256), 0);
    QCOMPARE(link.LoadFromFile(dir.filePath(QStringLiteral("brak.zvx"))),
             ConfigFile::Result::System(ENOENT));
}

QTEST_GUILESS_MAIN(TstDataManagement)
#include "tst_datamanagement.moc"
