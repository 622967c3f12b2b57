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
    m_checkRead = nullptr;
    m_event = ConfigEvent::Write;
    const auto& image = m_settings.Cfg.Bytes();
    m_settings.Cfg.SetByte(0, ZeroSumByte(image.data() + 1, ImageSize - 1));
    m_position = 0;
    m_blockSize = DialerFrames::WriteBlockSize;
    m_rxCount = 0;
    std::copy_n(image.begin(), m_blockSize, m_expected.begin());
    Begin(Operation::Write, DialerFrames::Write(m_blockSize, 0, image.data()));
}

void ExchangeEngine::StartRestart(int hour, int minute)
{
    m_checkRead = nullptr;
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
    m_retransmitted = false;
    m_confirmation = Confirmation::None;
    try {
        Send(frame, true);
    } catch (...) {
        // The progress display is up by now; it must not stay up for a frame that
        // never left.
        EndAfterError();
        throw;
    }
}

// What waits on the line before an exchange's first frame is left over from before it
// (an answer to a program stopped a moment ago) and is dropped. Before any later frame,
// an answer has just been taken, and nothing more was asked: bytes then come from a line
// that is not a quiet dialer.
bool ExchangeEngine::Send(const QByteArray& frame, bool first)
{
    if (m_guarding) {
        // A new start in the guard time: the old exchange's answer no longer matters.
        m_guarding = false;
        m_link.StopGuardTimer();
    }
    if (!LineQuiet() && !first) {
        LineFault(QStringLiteral("bajty bez pytania przed ramką"));
        return false;
    }
    m_lastFrame = frame;
    m_retriesLeft = MaxRetries;
    m_resent = false;
    m_link.StartReplyTimer();
    if (m_log)
        Note(TransferLogEntry::Kind::Sent, frame);
    m_link.SendFrame(frame);
    return true;
}

// The block at Position, as the image holds it now; the confirming read compares the
// dialer's image with what went out.
bool ExchangeEngine::SendWriteBlock()
{
    const std::uint8_t* bytes = m_settings.Cfg.Bytes().data() + m_position;
    std::copy_n(bytes, m_blockSize, m_expected.begin() + m_position);
    return Send(DialerFrames::Write(m_blockSize, static_cast<std::uint8_t>(m_position), bytes));
}

bool ExchangeEngine::LineQuiet()
{
    const int dropped = m_link.DiscardInput();
    if (dropped > 0 && m_log) {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::Ignored;
        entry.count = dropped;
        Note(std::move(entry));
    }
    return dropped == 0;
}

// The state is idle before anyone hears of the end: a message box runs its own event
// loop, and bytes arriving meanwhile must not be taken for part of this exchange.
void ExchangeEngine::Finish()
{
    m_operation = Operation::Idle;
    m_guarding = false;
    m_confirmation = Confirmation::None;
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

void ExchangeEngine::Fail(const char* message)
{
    // Whatever broke the confirmation, the user must hear what it means for the dialer.
    if (m_confirmation != Confirmation::None)
        message = NotConfirmed();
    m_rxCount = 0;
    m_duplicateCount = 0;
    Finish();
    m_reporter.Error(Text(message));
    Done(false, message);
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
    m_confirmation = Confirmation::None;
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
    if (m_confirmation == Confirmation::Quiet) {
        QuietBytes(chunk);
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
    switch (m_operation) {
    case Operation::Read:
        DataArrived(chunk);
        return;
    case Operation::Write:
    case Operation::Restart:
        // A dialer answers these 27 or 34 and nothing else.
        LineFault(QStringLiteral("to nie jest odpowiedź dialera"));
        return;
    default:
        // Between exchanges nothing is awaited, and there is no exchange to fail.
        if (m_log)
            Note(TransferLogEntry::Kind::Ignored);
        return;
    }
}

void ExchangeEngine::Acknowledged()
{
    switch (m_operation) {
    case Operation::Restart:
        // The one answer that cannot be read back: the line must stay quiet after it, or
        // the 27 may have been noise.
        m_link.StopReplyTimer();
        BeginGuard();
        return;
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
        AllAnswered();
        return;
    case Operation::Read:
        BlockTaken();
        return;
    case Operation::Write:
        m_position += m_blockSize;
        Progress();
        if (m_position >= ImageSize) {
            m_position = 0;
            AllAnswered();
            return;
        }
        SendWriteBlock();
        return;
    default:
        return;
    }
}

void ExchangeEngine::NotAcknowledged()
{
    if (m_operation == Operation::Idle) {
        // Reported whatever the link is doing, also when idle; no exchange ends.
        Finish();
        m_reporter.Error(Text(ConstsZVX::BadRecordChecksum));
        return;
    }
    Fail(ConstsZVX::BadRecordChecksum);
}

void ExchangeEngine::DataArrived(const QByteArray& chunk)
{
    m_link.StopReplyTimer();
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
    // Checked as soon as the bytes are there: zeros or noise need not be waited for.
    if (!DialerFrames::DataReplyLeadValid(m_rxBuffer.data(), m_rxCount)) {
        LineFault(QStringLiteral("odpowiedź nie zaczyna się od A1 00"));
        return;
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
        Fail(ConstsZVX::BadRecordChecksum);
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
    if (take < chunk.size()) {
        // A reply longer than asked: the dialer says exactly its answer.
        LineFault(QStringLiteral("bajty po odpowiedzi"));
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
    if (m_confirmation == Confirmation::Reading) {
        if (m_readImage != m_expected) {
            if (m_log)
                NoteConfirm(QStringLiteral("obraz w dialerze inny"));
            Fail(NotConfirmed());
            return;
        }
        AllAnswered();
        return;
    }
    if (Sum8(m_readImage.data(), ImageSize) != 0) {
        Fail(ConstsZVX::BadImageChecksum);
        return;
    }
    m_expected = m_readImage;
    AllAnswered();
}

// The last answer is in. A clean exchange is done if the line is quiet; one that resent
// anything must first be confirmed.
void ExchangeEngine::AllAnswered()
{
    // A restart cannot be read back; its guard time has seen to it.
    if (m_retransmitted && m_confirmation == Confirmation::None &&
        m_event != ConfigEvent::Restart) {
        BeginConfirmation();
        return;
    }
    if (!LineQuiet()) {
        LineFault(QStringLiteral("bajty po ostatniej odpowiedzi"));
        return;
    }
    // What was checked is what gets copied, whatever happens while the box is open.
    Succeed(m_expected);
}

void ExchangeEngine::Succeed(const Image& checked)
{
    // A copy: a new exchange may start while the box is open.
    const Image image = checked;
    switch (m_event) {
    case ConfigEvent::Restart:
        Finish();
        m_reporter.Information(Text(ConstsZVX::RestartDone));
        break;
    case ConfigEvent::Write:
        Finish();
        m_reporter.Information(Text(ConstsZVX::WriteDone));
        break;
    case ConfigEvent::Verify: {
        const ImageHandler check = std::exchange(m_checkRead, nullptr);
        Finish();
        if (check)
            check(image);
        break;
    }
    default:
        Finish();
        m_reporter.Information(Text(ConstsZVX::ReadDone));
        m_settings.Cfg.WriteBytes(0, image.data(), ImageSize);
        m_settings.Comment.SetText(0, Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
        m_settings.Comment.SetText(
            3, Utf8ToCp1250(ReadStampText(QDateTime::currentDateTime()).toStdString()));
        break;
    }
    Done(true);
}

// A dialer that answered late may still be answering: the image is read only once the
// line has been quiet for a whole reply time.
void ExchangeEngine::BeginConfirmation()
{
    m_confirmation = Confirmation::Quiet;
    m_quietHeard = false;
    m_quietRounds = 0;
    m_lateBytes = 0;
    if (m_log)
        NoteConfirm(QStringLiteral("czekanie na ciszę na linii"));
    m_link.TransferConfirming(m_event);
    m_link.StartReplyTimer();
}

void ExchangeEngine::QuietBytes(const QByteArray& chunk)
{
    // Late answers are expected here, and dropped; the read that follows tells what the
    // dialer holds. A line that does not stop talking is no dialer.
    m_quietHeard = true;
    m_lateBytes += static_cast<int>(chunk.size());
    if (m_lateBytes > MaxLateBytes) {
        LineFault(QStringLiteral("linia nie cichnie"));
        return;
    }
    if (m_log)
        Note(TransferLogEntry::Kind::Ignored);
}

void ExchangeEngine::QuietTick()
{
    if (m_quietHeard) {
        if (++m_quietRounds >= MaxQuietRounds) {
            LineFault(QStringLiteral("linia nie cichnie"));
            return;
        }
        m_quietHeard = false;
        m_link.StartReplyTimer();
        return;
    }
    if (m_log)
        NoteConfirm(QStringLiteral("odczyt kontrolny"));
    m_confirmation = Confirmation::Reading;
    m_operation = Operation::Read;
    m_position = 0;
    m_blockSize = DialerFrames::ReadBlockSize;
    m_rxCount = 0;
    Progress();
    Send(DialerFrames::Read(m_blockSize, 0));
}

void ExchangeEngine::BeginGuard()
{
    m_guarding = true;
    m_duplicateAllowed = m_resent;
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
        if (m_duplicateSeen || !m_duplicateAllowed ||
            !DialerFrames::IsAnswer(chunk, DialerFrames::Acknowledge)) {
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

// Which answer belongs to which frame can no longer be told, or the line is not a quiet
// dialer: nothing that came in this exchange may be trusted.
void ExchangeEngine::LineFault(const QString& why)
{
    if (m_log) {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::LineFault;
        entry.text = why;
        Note(std::move(entry));
    }
    Fail(ConstsZVX::TransferNoAnswer);
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
    if (m_confirmation == Confirmation::Quiet) {
        QuietTick();
        return;
    }
    if (m_log)
        Note(TransferLogEntry::Kind::Timeout);
    // The confirming read must be clean: a resent frame would need confirming in turn.
    if (m_retriesLeft > 1 && m_confirmation == Confirmation::None) {
        m_link.TransferProgress(-1);
        m_link.StartReplyTimer();
        --m_retriesLeft;
        m_resent = true;
        m_retransmitted = true;
        // Half a reply followed by the whole reply again could never check out.
        if (m_operation == Operation::Read)
            m_rxCount = 0;
        if (m_log)
            Note(TransferLogEntry::Kind::Resent, m_lastFrame);
        // Whatever came since is no answer to anything; the answer to the first copy may
        // still come, and the guard time sees to it.
        m_link.DiscardInput();
        m_link.SendFrame(m_lastFrame);
        return;
    }
    m_retriesLeft = 0;
    Fail(m_operation == Operation::Restart ? ConstsZVX::RestartNoAnswer
                                           : ConstsZVX::TransferNoAnswer);
}

const char* ExchangeEngine::NotConfirmed() const
{
    return m_event == ConfigEvent::Write ? ConstsZVX::WriteNotConfirmed
                                         : ConstsZVX::ReadNotConfirmed;
}

void ExchangeEngine::NoteConfirm(const QString& what) noexcept
{
    try {
        TransferLogEntry entry;
        entry.kind = TransferLogEntry::Kind::Confirm;
        entry.text = what;
        Note(std::move(entry));
    } catch (...) {
    }
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
