#include "device/DialerProbe.h"

#include "device/DialerFrames.h"
#include "device/TSerialPort.h"
#include "serial/EComPort.h"

#include <QEventLoop>

struct DialerProbe::Candidate
{
    QString name;
    TSerialPort port;
    QByteArray reply;
    QTimer quiet; // runs once a well-formed reply is in
    bool settled = false;
    bool answered = false;
    QString problem;
};

namespace {

constexpr int kReplySize = DialerFrames::DataReplySize(DialerFrames::ReadBlockSize);

void DialerLine(TSerialPort& port, const QString& name)
{
    port.SetPort(name.startsWith(QLatin1Char('/')) ? name : name.toUpper());
    port.SetBaudRate(br1339);
    port.SetStopBits(sbOneStopBit);
    port.SetDataBits(dbEight);
    port.Parity().SetBits(prNone);
    port.FlowControl().SetFlowControl(fcNone);
    port.Timeouts().SetReadInterval(-1);
}

} // namespace

DialerProbe::DialerProbe(QObject* parent) : QObject(parent)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        for (auto& candidate : m_candidates) {
            if (candidate->settled)
                continue;
            if (candidate->quiet.isActive())
                Settle(*candidate, true, QString());
            else
                Settle(*candidate, false,
                       candidate->reply.isEmpty() ? QStringLiteral("brak odpowiedzi")
                                                  : QStringLiteral("niepełna odpowiedź"));
        }
    });
}

DialerProbe::~DialerProbe()
{
    // The ports close with their candidates; no delivery may reach a half-gone probe.
    for (auto& candidate : m_candidates)
        candidate->port.OnRxChar = nullptr;
}

void DialerProbe::Start(const QStringList& ports)
{
    for (auto& candidate : m_candidates)
        candidate->port.OnRxChar = nullptr;
    m_candidates.clear();
    m_settled = 0;
    ++m_generation;
    m_running = true;
    m_finishQueued = false;
    m_clock.start();
    const QByteArray frame = DialerFrames::Read(DialerFrames::ReadBlockSize, 0);
    for (const QString& name : ports) {
        auto candidate = std::make_unique<Candidate>();
        candidate->name = name;
        candidate->quiet.setSingleShot(true);
        connect(&candidate->quiet, &QTimer::timeout, this, [this, c = candidate.get()] {
            if (!c->settled)
                Settle(*c, true, QString());
        });
        DialerLine(candidate->port, name);
        m_candidates.push_back(std::move(candidate));
    }
    // The deadline starts before the first port opens; opening is quick, and a port that
    // hangs in open is still bounded by its own time-outs.
    m_deadline.start(m_replyInterval);
    for (auto& owned : m_candidates) {
        Candidate& candidate = *owned;
        candidate.port.OnRxChar = [this, &candidate](TCustomComPort*, int count) {
            Received(candidate, count);
        };
        try {
            candidate.port.Open();
            candidate.port.DiscardInput();
            Note(candidate, TransferLogEntry::Kind::Sent, frame);
            candidate.port.WriteText(frame);
        } catch (const EComPort& e) {
            Settle(candidate, false, QString::fromStdString(e.Message()));
        }
    }
    if (m_candidates.empty() || m_settled == int(m_candidates.size()))
        Finish();
}

QList<DialerProbe::Result> DialerProbe::Run(const QStringList& ports)
{
    QList<Result> results;
    QEventLoop loop;
    const auto connection =
        connect(this, &DialerProbe::Finished, &loop, [&](const QList<Result>& got) {
            results = got;
            loop.quit();
        });
    Start(ports);
    if (m_running)
        loop.exec();
    disconnect(connection);
    return results;
}

void DialerProbe::Received(Candidate& candidate, int count)
{
    QByteArray chunk;
    try {
        candidate.port.ReadText(chunk, count);
    } catch (const EComPort& e) {
        if (!candidate.settled)
            Settle(candidate, false, QString::fromStdString(e.Message()));
        return;
    }
    if (chunk.isEmpty() || candidate.settled)
        return;
    Note(candidate, TransferLogEntry::Kind::Received, chunk);
    if (candidate.reply.isEmpty() && DialerFrames::IsAnswer(chunk, DialerFrames::NotAcknowledge)) {
        Settle(candidate, false, QStringLiteral("odpowiedź NAK"));
        return;
    }
    if (candidate.quiet.isActive()) {
        // A dialer says its reply and nothing more.
        candidate.quiet.stop();
        Settle(candidate, false, QStringLiteral("zakłócenia na linii"));
        return;
    }
    candidate.reply += chunk;
    const auto* reply = reinterpret_cast<const std::uint8_t*>(candidate.reply.constData());
    if (!DialerFrames::DataReplyLeadValid(reply, int(candidate.reply.size()))) {
        Settle(candidate, false, QStringLiteral("odpowiedź niepoprawna"));
        return;
    }
    if (candidate.reply.size() < kReplySize)
        return;
    if (candidate.reply.size() > kReplySize) {
        Settle(candidate, false, QStringLiteral("zakłócenia na linii"));
        return;
    }
    if (!DialerFrames::DataReplyValid(reply, DialerFrames::ReadBlockSize)) {
        Settle(candidate, false, QStringLiteral("odpowiedź niepoprawna"));
        return;
    }
    candidate.quiet.start(m_quietInterval);
}

void DialerProbe::Settle(Candidate& candidate, bool answered, const QString& problem)
{
    candidate.settled = true;
    candidate.quiet.stop();
    candidate.answered = answered;
    candidate.problem = problem;
    ++m_settled;
    if (m_log) {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::End;
        entry.ok = answered;
        entry.text = problem;
        entry.port = candidate.name;
        entry.ms = m_clock.elapsed();
        m_log->Entry(entry);
    }
    emit Progress(m_settled, int(m_candidates.size()));
    // Ports are closed only from the event loop: this may run inside a port's delivery,
    // whose monitor the close waits for.
    if (m_settled == int(m_candidates.size()) && !m_finishQueued) {
        m_finishQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this, generation = m_generation] {
                if (generation == m_generation)
                    Finish();
            },
            Qt::QueuedConnection);
    }
}

void DialerProbe::Note(const Candidate& candidate, TransferLogEntry::Kind kind,
                       const QByteArray& bytes)
{
    if (!m_log)
        return;
    TransferLogEntry entry;
    entry.kind = kind;
    entry.bytes = bytes;
    entry.port = candidate.name;
    entry.ms = m_clock.elapsed();
    m_log->Entry(entry);
}

void DialerProbe::Finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_deadline.stop();
    QList<Result> results;
    for (auto& candidate : m_candidates) {
        candidate->port.OnRxChar = nullptr;
        try {
            candidate->port.Close();
        } catch (...) {
        }
        results << Result{candidate->name, candidate->answered, candidate->problem};
    }
    emit Finished(results);
}
