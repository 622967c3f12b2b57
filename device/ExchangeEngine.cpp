#include "device/ExchangeEngine.h"

#include "device/DialerFrames.h"
#include "device/ReadStamp.h"
#include "model/Cp1250.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"

#include <QDateTime>

#include <algorithm>
#include <utility>

namespace {

QString Text(const char* message)
{
    return QString::fromUtf8(message);
}

} // namespace

ExchangeEngine::ExchangeEngine(TZorvexSettings& settings, ExchangeLink& link,
                               OutcomeReporter& reporter)
    : m_settings(settings), m_link(link), m_reporter(reporter)
{}

void ExchangeEngine::StartRead()
{
    m_checkRead = nullptr;
    m_event = ConfigEvent::Read;
    BeginRead();
}

void ExchangeEngine::StartCheckRead(ImageHandler done)
{
    m_checkRead = std::move(done);
    m_event = ConfigEvent::Verify;
    BeginRead();
}

void ExchangeEngine::BeginRead()
{
    m_position = 0;
    m_blockSize = DialerFrames::ReadBlockSize;
    m_rxCount = 0;
    Begin(Operation::Read, DialerFrames::Read(m_blockSize, 0));
}

void ExchangeEngine::StartWrite()
{
    m_event = ConfigEvent::Write;
    const auto& image = m_settings.Cfg.Bytes();
    m_settings.Cfg.SetByte(0, ZeroSumByte(image.data() + 1, ImageSize - 1));
    m_position = 0;
    m_blockSize = DialerFrames::WriteBlockSize;
    m_rxCount = 0;
    Begin(Operation::Write, DialerFrames::Write(m_blockSize, 0, image.data()));
}

void ExchangeEngine::StartRestart(int hour, int minute)
{
    m_event = ConfigEvent::Restart;
    Begin(Operation::Restart, DialerFrames::Restart(hour, minute));
}

void ExchangeEngine::Begin(::Operation operation, const QByteArray& frame)
{
    m_clock.start();
    if (m_log) {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::Start;
        entry.text = Text(ConfigEventText(m_event));
        Note(std::move(entry));
    }
    m_link.TransferStarted();
    m_operation = operation;
    try {
        Send(frame);
    } catch (...) {
        // The progress display is up by now; it must not stay up for a frame that
        // never left.
        EndAfterError();
        throw;
    }
}

void ExchangeEngine::Send(const QByteArray& frame)
{
    if (m_guarding) {
        // A new start in the guard time: the old exchange's answer no longer matters.
        m_guarding = false;
        m_link.StopGuardTimer();
    }
    m_lastFrame = frame;
    m_retriesLeft = MaxRetries;
    m_resent = false;
    m_link.StartReplyTimer();
    if (m_log)
        Note(TransferLogEntry::Kind::Sent, frame);
    m_link.SendFrame(frame);
}

// The state is idle before anyone hears of the end: a message box runs its own event
// loop, and bytes arriving meanwhile must not be taken for part of this exchange.
void ExchangeEngine::Finish()
{
    m_operation = Operation::Idle;
    m_guarding = false;
    m_link.StopReplyTimer();
    m_link.StopGuardTimer();
    m_link.TransferEnded();
}

void ExchangeEngine::Done(bool succeeded, const char* failure)
{
    if (m_log) {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::End;
        entry.ok = succeeded;
        entry.text = failure ? Text(failure) : QString();
        Note(std::move(entry));
    }
    m_link.ExchangeDone({m_event, succeeded, false, failure ? Text(failure) : QString()});
}

bool ExchangeEngine::Stop(const QString& why) noexcept
{
    if (m_operation == Operation::Idle)
        return false;
    if (m_log) {
        try {
            TransferLogEntry entry;
            entry.kind = TransferLogEntry::Kind::End;
            entry.text = why;
            Note(std::move(entry));
        } catch (...) { // memory: the exchange must end all the same
        }
    }
    m_operation = Operation::Idle;
    m_retriesLeft = 0;
    m_rxCount = 0;
    m_guarding = false;
    try {
        m_link.StopReplyTimer();
        m_link.StopGuardTimer();
    } catch (...) {
    }
    try {
        m_link.TransferEnded();
    } catch (...) {
    }
    return true;
}

void ExchangeEngine::PortRxChar(const QByteArray& chunk)
{
    if (chunk.isEmpty())
        return;
    if (m_log)
        Note(TransferLogEntry::Kind::Received, chunk);
    if (m_guarding) {
        GuardBytes(chunk);
        return;
    }
    if (m_rxCount == 0 && DialerFrames::IsAnswer(chunk, DialerFrames::Acknowledge)) {
        if (m_log)
            Note(m_operation == Operation::Restart || m_operation == Operation::Write
                     ? TransferLogEntry::Kind::Ack
                     : TransferLogEntry::Kind::Ignored);
        Acknowledged();
        return;
    }
    if (m_rxCount == 0 && DialerFrames::IsAnswer(chunk, DialerFrames::NotAcknowledge)) {
        if (m_log)
            Note(TransferLogEntry::Kind::Nak);
        NotAcknowledged();
        return;
    }
    // Anything else matters only to a read. What is dropped leaves the reply timer
    // running, so a dialer that babbles instead of answering still times out.
    if (m_operation == Operation::Read)
        DataArrived(chunk);
    else if (m_log)
        Note(TransferLogEntry::Kind::Ignored);
}

void ExchangeEngine::Acknowledged()
{
    switch (m_operation) {
    case Operation::Restart:
    case Operation::Write:
        m_link.StopReplyTimer();
        if (m_resent)
            BeginGuard();
        else
            Answered();
        return;
    default:
        // An acknowledgement means nothing to a read (or to an idle link); the reply
        // timer keeps running and ends the read if nothing else comes.
        return;
    }
}

// The answer to LastFrame has been taken (and, after a retransmission, its guard time
// has passed): on to the next frame or to the outcome.
void ExchangeEngine::Answered()
{
    switch (m_operation) {
    case Operation::Restart:
        Finish();
        m_reporter.Information(Text(ConstsZVX::RestartDone));
        Done(true);
        return;
    case Operation::Read:
        BlockTaken();
        return;
    case Operation::Write:
        m_position += m_blockSize;
        Progress();
        if (m_position >= ImageSize) {
            m_position = 0;
            Finish();
            m_reporter.Information(Text(ConstsZVX::WriteDone));
            Done(true);
            return;
        }
        Send(DialerFrames::Write(m_blockSize, static_cast<std::uint8_t>(m_position),
                                 m_settings.Cfg.Bytes().data() + m_position));
        return;
    default:
        return;
    }
}

void ExchangeEngine::NotAcknowledged()
{
    // Reported whatever the link is doing, also when idle.
    const bool running = m_operation != Operation::Idle;
    Finish();
    m_reporter.Error(Text(ConstsZVX::BadRecordChecksum));
    if (running)
        Done(false, ConstsZVX::BadRecordChecksum);
}

void ExchangeEngine::DataArrived(const QByteArray& chunk)
{
    m_link.StopReplyTimer();
    // A reply is complete at count + 3 bytes; anything beyond that in the same chunk
    // belongs to no question we asked and is dropped.
    const int wanted = DialerFrames::DataReplySize(m_blockSize);
    const int take = std::min<int>(static_cast<int>(chunk.size()), wanted - m_rxCount);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(chunk.constData()), take,
                m_rxBuffer.begin() + m_rxCount);
    m_rxCount = static_cast<std::uint8_t>(m_rxCount + take);
    Progress();

    if (m_log) {
        TransferLogEntry entry;
        entry.count = m_rxCount;
        entry.total = wanted;
        entry.offset = m_position;
        entry.kind = m_rxCount < wanted ? TransferLogEntry::Kind::Partial
                     : DialerFrames::DataReplyValid(m_rxBuffer.data(), m_blockSize)
                         ? TransferLogEntry::Kind::BlockGood
                         : TransferLogEntry::Kind::BlockBad;
        Note(std::move(entry));
    }
    if (m_rxCount < wanted) {
        // Part of a reply: the rest is on its way, so the timer starts afresh and the
        // frame is not resent. Collecting goes on as the bytes arrive. The allowance is
        // renewed only before a retransmission: a dialer that always answers short
        // would otherwise be asked again and again for ever.
        if (!m_resent)
            m_retriesLeft = MaxRetries;
        m_link.StartReplyTimer();
        return;
    }
    if (!DialerFrames::DataReplyValid(m_rxBuffer.data(), m_blockSize)) {
        m_rxCount = 0;
        Finish();
        m_reporter.Error(Text(ConstsZVX::BadRecordChecksum));
        Done(false, ConstsZVX::BadRecordChecksum);
        return;
    }
    if (m_resent) {
        // The reply stays in RxBuffer while the guard time runs; whatever followed it in
        // the same chunk is already part of that time.
        m_rxCount = 0;
        BeginGuard();
        if (take < chunk.size())
            GuardBytes(chunk.mid(take));
        return;
    }
    BlockTaken();
}

void ExchangeEngine::BlockTaken()
{
    std::copy_n(m_rxBuffer.begin() + DialerFrames::DataReplyHeader, m_blockSize,
                m_readImage.begin() + m_position);
    m_position += m_blockSize;
    m_rxCount = 0;
    if (m_position < ImageSize) {
        Send(DialerFrames::Read(m_blockSize, static_cast<std::uint8_t>(m_position)));
        return;
    }
    ReadComplete();
}

void ExchangeEngine::ReadComplete()
{
    m_position = 0;
    // What was checked is what gets copied, whatever happens while the box is open.
    const auto image = m_readImage;
    const ImageHandler check = std::exchange(m_checkRead, nullptr);
    Finish();
    if (Sum8(image.data(), ImageSize) != 0) {
        m_reporter.Error(Text(ConstsZVX::BadImageChecksum));
        Done(false, ConstsZVX::BadImageChecksum);
        return;
    }
    if (check) {
        check(image);
        Done(true);
        return;
    }
    m_reporter.Information(Text(ConstsZVX::ReadDone));
    m_settings.Cfg.WriteBytes(0, image.data(), ImageSize);
    m_settings.Comment.SetText(0, Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
    m_settings.Comment.SetText(
        3, Utf8ToCp1250(ReadStampText(QDateTime::currentDateTime()).toStdString()));
    Done(true);
}

void ExchangeEngine::BeginGuard()
{
    m_guarding = true;
    m_duplicateSeen = false;
    m_duplicateCount = 0;
    m_link.StartGuardTimer();
}

void ExchangeEngine::GuardBytes(const QByteArray& chunk)
{
    m_link.StopGuardTimer();
    if (m_operation == Operation::Read) {
        // The duplicate must be the same reply, byte for byte, and may come in pieces.
        const int size = DialerFrames::DataReplySize(m_blockSize);
        for (const char byte : chunk) {
            if (m_duplicateSeen ||
                static_cast<std::uint8_t>(byte) != m_rxBuffer[m_duplicateCount]) {
                LineFault();
                return;
            }
            if (++m_duplicateCount == size) {
                m_duplicateSeen = true;
                m_duplicateCount = 0;
            }
        }
    } else {
        if (m_duplicateSeen || !DialerFrames::IsAnswer(chunk, DialerFrames::Acknowledge)) {
            LineFault();
            return;
        }
        m_duplicateSeen = true;
    }
    if (m_log && m_duplicateSeen && m_duplicateCount == 0)
        Note(TransferLogEntry::Kind::Duplicate);
    // The line must be quiet for a whole guard time after the duplicate too.
    m_link.StartGuardTimer();
}

void ExchangeEngine::GuardTick()
{
    m_link.StopGuardTimer();
    if (!m_guarding || m_operation == Operation::Idle)
        return;
    m_guarding = false;
    if (m_duplicateCount != 0) {
        // A second copy that stopped half-way: neither the duplicate nor nothing.
        LineFault();
        return;
    }
    Answered();
}

// Which answer belongs to which frame can no longer be told: nothing that came in this
// exchange may be trusted.
void ExchangeEngine::LineFault()
{
    if (m_log)
        Note(TransferLogEntry::Kind::LineFault);
    m_rxCount = 0;
    m_duplicateCount = 0;
    Finish();
    m_reporter.Error(Text(ConstsZVX::TransferNoAnswer));
    Done(false, ConstsZVX::TransferNoAnswer);
}

void ExchangeEngine::Progress()
{
    m_link.TransferProgress(m_position * 100 / ImageSize);
}

void ExchangeEngine::TimerTick()
{
    m_link.StopReplyTimer();
    // The reply timer does not run in the guard time; a tick already on its way is stale.
    if (m_operation == Operation::Idle || m_guarding)
        return;
    if (m_log)
        Note(TransferLogEntry::Kind::Timeout);
    if (m_retriesLeft > 1) {
        m_link.TransferProgress(-1);
        m_link.StartReplyTimer();
        --m_retriesLeft;
        m_resent = true;
        // Half a reply followed by the whole reply again could never check out.
        if (m_operation == Operation::Read)
            m_rxCount = 0;
        if (m_log)
            Note(TransferLogEntry::Kind::Resent, m_lastFrame);
        m_link.SendFrame(m_lastFrame);
        return;
    }
    const ::Operation operation = m_operation;
    m_retriesLeft = 0;
    Finish();
    m_reporter.Error(Text(operation == Operation::Restart ? ConstsZVX::RestartNoAnswer
                                                          : ConstsZVX::TransferNoAnswer));
    Done(false, operation == Operation::Restart ? ConstsZVX::RestartNoAnswer
                                                : ConstsZVX::TransferNoAnswer);
}

void ExchangeEngine::Note(TransferLogEntry entry) noexcept
{
    entry.ms = m_clock.isValid() ? m_clock.elapsed() : 0;
    m_log->Entry(entry);
}

void ExchangeEngine::Note(TransferLogEntry::Kind kind, const QByteArray& bytes) noexcept
{
    TransferLogEntry entry;
    entry.kind = kind;
    entry.bytes = bytes;
    Note(std::move(entry));
}
