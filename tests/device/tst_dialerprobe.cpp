#include "device/DialerFrames.h"
#include "device/DialerProbe.h"
#include "emulator/DialerEmulator.h"
#include "tests/serial/PtyPair.h"

#include <QSocketNotifier>
#include <QtTest>

#include <memory>

namespace {

using Kind = TransferLogEntry::Kind;

struct RecordingLog : TransferLog
{
    void Entry(const TransferLogEntry& entry) noexcept override { entries.append(entry); }
    QList<TransferLogEntry> entries;
};

std::unique_ptr<DialerEmulator> Dialer(const std::string& fault = {})
{
    DialerEmulator::Options options;
    options.pacing = false;
    if (!fault.empty() && !AddFault(options.faults, fault))
        qFatal("bad fault %s", fault.c_str());
    auto dialer = std::make_unique<DialerEmulator>(options);
    dialer->Start();
    return dialer;
}

// A far end that answers the first frame it gets with answer (nothing when empty).
class ScriptedEnd
{
public:
    explicit ScriptedEnd(QByteArray answer) : m_answer(std::move(answer))
    {
        m_notifier = std::make_unique<QSocketNotifier>(m_pty.Master(), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            char buffer[256];
            const ssize_t n = ::read(m_pty.Master(), buffer, sizeof buffer);
            if (n <= 0) {
                m_notifier->setEnabled(false);
                return;
            }
            received.append(buffer, int(n));
            if (!m_answered && received.size() >= DialerFrames::ReadFrameSize) {
                m_answered = true;
                if (!m_answer.isEmpty())
                    m_pty.Send(m_answer);
            }
        });
    }
    QString Path() const { return m_pty.SlavePath(); }
    QByteArray received;

private:
    PtyPair m_pty;
    QByteArray m_answer;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_answered = false;
};

// A reply to the read frame of block 0: lead, 64 bytes, the checksum (right or not).
QByteArray DataReply(bool goodChecksum, const QByteArray& lead = QByteArray("\xA1\x00", 2))
{
    QByteArray reply = lead;
    reply.append(QByteArray(64, '\x02'));
    std::uint8_t sum = 0;
    for (char c : reply)
        sum = std::uint8_t(sum + std::uint8_t(c));
    reply.append(char(goodChecksum ? sum : sum ^ 0x55));
    return reply;
}

} // namespace

class TstDialerProbe : public QObject
{
    Q_OBJECT

private slots:
    void eightPortsAtOnce();
    void answers_data();
    void answers();
    void lines_data();
    void lines();
    void nothingToProbe();
    void newProbeAbandonsTheOld();
};

void TstDialerProbe::eightPortsAtOnce()
{
    // Seven silent lines and the dialer fourth: the probe asks all eight before the first
    // silent one is given up, so the whole probe is one reply time, not eight.
    std::vector<std::unique_ptr<ScriptedEnd>> silent;
    QStringList ports;
    auto dialer = Dialer();
    const QString dialerPath = QString::fromStdString(dialer->SlavePath());
    for (int i = 0; i < 8; ++i) {
        if (i == 3) {
            ports << dialerPath;
            continue;
        }
        silent.push_back(std::make_unique<ScriptedEnd>(QByteArray()));
        ports << silent.back()->Path();
    }

    DialerProbe probe;
    probe.SetReplyInterval(1000);
    RecordingLog log;
    probe.SetLog(&log);
    QSignalSpy progress(&probe, &DialerProbe::Progress);
    const QList<DialerProbe::Result> results = probe.Run(ports);

    QCOMPARE(results.size(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(results[i].port, ports[i]);
        QCOMPARE(results[i].answered, i == 3);
        if (i != 3)
            QCOMPARE(results[i].problem, QStringLiteral("brak odpowiedzi"));
    }
    QCOMPARE(progress.size(), 8);
    QCOMPARE(progress.last().at(0).toInt(), 8);

    // Every frame went out before any port was given up.
    int sent = 0;
    for (const auto& e : log.entries) {
        if (e.kind == Kind::Sent)
            ++sent;
        if (e.kind == Kind::End && !e.ok)
            QCOMPARE(sent, 8);
    }
    QCOMPARE(sent, 8);
    // The silent lines got one read frame of block 0 each and nothing else.
    for (const auto& end : silent)
        QTRY_COMPARE(end->received, DialerFrames::Read(64, 0));
    // The dialer was only asked.
    QCOMPARE(dialer->GetCounters().frames, 1);
}

void TstDialerProbe::answers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("problem");

    QTest::newRow("well-formed reply") << DataReply(true) << true << QString();
    QTest::newRow("reply in the wrong checksum")
        << DataReply(false) << false << QStringLiteral("odpowiedź niepoprawna");
    QTest::newRow("negative acknowledgement")
        << QByteArray("\x34", 1) << false << QStringLiteral("odpowiedź NAK");
    QTest::newRow("half a reply") << DataReply(true).left(30) << false
                                  << QStringLiteral("niepełna odpowiedź");
    // Told at once: no reply to a read begins 27.
    QTest::newRow("an acknowledgement is no reply")
        << QByteArray("\x27", 1) << false << QStringLiteral("odpowiedź niepoprawna");
    // A line held in BREAK: 67 zeros add up right.
    QTest::newRow("zeros") << QByteArray(67, '\0') << false
                           << QStringLiteral("odpowiedź niepoprawna");
    QTest::newRow("a reply not beginning A1 00")
        << DataReply(true, QByteArray("\x01\x01", 2)) << false
        << QStringLiteral("odpowiedź niepoprawna");
    QTest::newRow("a reply with more after it") << DataReply(true) + QByteArray("\x27", 1) << false
                                                << QStringLiteral("zakłócenia na linii");
}

void TstDialerProbe::answers()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, answered);
    QFETCH(QString, problem);

    ScriptedEnd end(answer);
    DialerProbe probe;
    probe.SetReplyInterval(500);
    const auto results = probe.Run({end.Path(), QStringLiteral("/nonexistent/ttyUSB9")});
    QCOMPARE(results.size(), 2);
    QCOMPARE(results[0].answered, answered);
    QCOMPARE(results[0].problem, problem);
    // A port that cannot be opened says why, and does not hold up the others.
    QVERIFY(!results[1].answered);
    QVERIFY(!results[1].problem.isEmpty());
}

void TstDialerProbe::lines_data()
{
    QTest::addColumn<QString>("fault"); // the emulated dialer's; "" a healthy one
    QTest::addColumn<bool>("answered");
    QTest::newRow("a dialer") << "" << true;
    QTest::newRow("a line held in BREAK") << "zeros" << false;
    QTest::newRow("a noisy line") << "noise" << false;
}

// Lines that deliver bytes of their own, asked or not.
void TstDialerProbe::lines()
{
    QFETCH(QString, fault);
    QFETCH(bool, answered);
    auto dialer = Dialer(fault.toStdString());
    DialerProbe probe;
    probe.SetReplyInterval(2000);
    const auto results = probe.Run({QString::fromStdString(dialer->SlavePath())});
    QCOMPARE(results.size(), 1);
    QCOMPARE(results[0].answered, answered);
    if (!answered) // told at once, not at the end of the reply time
        QVERIFY2(results[0].problem != QStringLiteral("brak odpowiedzi"),
                 qPrintable(results[0].problem));
}

void TstDialerProbe::nothingToProbe()
{
    DialerProbe probe;
    QSignalSpy finished(&probe, &DialerProbe::Finished);
    QVERIFY(probe.Run({}).isEmpty());
    QCOMPARE(finished.size(), 1);
    QVERIFY(!probe.Running());
}

void TstDialerProbe::newProbeAbandonsTheOld()
{
    // The old probe's ports fail at once, so its end is already queued when the new one
    // starts; it must not end the new probe, whose dialer answers later.
    auto dialer = Dialer();
    DialerProbe probe;
    probe.SetReplyInterval(1000);
    QSignalSpy finished(&probe, &DialerProbe::Finished);
    probe.Start({QStringLiteral("/nonexistent/ttyUSB8")});
    QCOMPARE(finished.size(), 1);
    const auto results = probe.Run({QString::fromStdString(dialer->SlavePath())});
    QCOMPARE(finished.size(), 2);
    QCOMPARE(results.size(), 1);
    QVERIFY(results[0].answered);
}

QTEST_GUILESS_MAIN(TstDialerProbe)
#include "tst_dialerprobe.moc"
