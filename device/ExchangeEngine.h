#pragma once

#include "device/DialerFrames.h"
#include "device/ExchangeLink.h"
#include "device/ExchangeOutcome.h"
#include "device/OutcomeReporter.h"
#include "device/TransferLog.h"
#include "model/TZorvexSettings.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <array>
#include <cstdint>
#include <functional>

// What the link is doing: its own state, the values the dialer link has always used.
// What an exchange did is told as a ConfigEvent. Classes that also have a member
// function Operation() name the type ::Operation.
enum class Operation : std::uint8_t
{
    Idle = 0,
    Restart = 1,
    Read = 2,
    Write = 3,
};

// The exchange state machine of the dialer link: frames out, replies in, the reply
// time-out with one retransmission, progress and outcomes. It owns no port and no
// timer: received chunks and timer ticks are fed in, frames and events go out through
// ExchangeLink, outcomes through OutcomeReporter, and a good read lands in settings.
//
// Whatever arrives (garbage, replies longer than asked, chunks of any size) it never
// reads or writes outside its own buffers.
//
// Answers carry no block number, so one answer must never be taken for the next frame's.
// The link discards what is waiting before each frame goes out; and once a frame that
// went out twice has been answered, the engine waits for the guard timer before going
// on: the dialer may answer both copies. A second answer identical to the first in that
// time is the duplicate and is dropped; anything else (a different answer, 0x34, part of
// a reply, a third answer) means the line cannot be trusted, and the exchange ends with
// "Błędy w transmisji RS lub Dialer nie odpowiada" without copying or reporting success.
// A dialer busy long enough answers the second copy after the guard time, and no guard
// time can tell that answer from the next frame's; so an exchange that resent anything is
// confirmed before it is called a success: once the line has been quiet for a whole reply
// time, the image is read back (a write) or once more (a read), and must be the same.
// That confirming read may resend nothing; if it fails or differs, the exchange ends
// with a message telling the user to repeat it. A clean exchange waits for nothing.
//
// The line must look like a quiet dialer, which speaks only when asked and then says
// exactly its answer: a read reply begins with A1 00, a write or a restart is answered
// 27 or 34 and nothing else; and bytes that come when no answer is awaited (after an
// answer, before the next frame goes out or the outcome is given) end the exchange with
// the same line-fault message. A line held in BREAK (zeros) or carrying noise therefore
// never passes for a dialer. After a restart's answer, which cannot be read back, the
// line must stay quiet for the guard time.
//
// Single-threaded: every call on the thread that owns the link. Calls that may throw
// (they pass on exceptions of the link, the reporter and the settings) leave the
// state consistent; the caller then ends the exchange with EndAfterError().
class ExchangeEngine
{
public:
    static constexpr int ImageSize = 256;
    static constexpr int MaxRetries = 2; // a frame goes out at most twice per silence
    // While an exchange waits for the line to go quiet before it is confirmed: late
    // answers may still come (at most a few), but a line that has not been quiet for a
    // whole reply time after this many, or that brings more than this many bytes, is not
    // a quiet dialer.
    static constexpr int MaxQuietRounds = 3;
    static constexpr int MaxLateBytes =
        2 * DialerFrames::DataReplySize(DialerFrames::ReadBlockSize);
    using Image = std::array<std::uint8_t, ImageSize>;
    using ImageHandler = std::function<void(const Image& image)>;

    ExchangeEngine(TZorvexSettings& settings, ExchangeLink& link, OutcomeReporter& reporter);

    // Each start begins a new exchange, also while another one runs. If the first
    // frame cannot be sent the exchange is ended (TransferEnded) and the error goes on
    // to the caller.
    void StartRead();
    // The same read, to check the dialer against the configuration: a good image goes to
    // done (after TransferEnded) instead of into the settings, without the information
    // that a read went well and without touching the description records. Failures are
    // reported as for StartRead, and done is not called.
    void StartCheckRead(ImageHandler done);
    // Sets image byte 0 so that the image adds up to 0 modulo 256, then writes.
    void StartWrite();
    // hour 0..23, minute 0..59.
    void StartRestart(int hour, int minute);

    // One chunk of received bytes, as read from the port.
    void PortRxChar(const QByteArray& chunk);
    // The reply timer ran out.
    void TimerTick();
    // The guard timer ran out: the line stayed quiet after a retransmitted frame's answer.
    void GuardTick();

    // Ends a running exchange without a message, after an error that interrupted it:
    // Operation 0, timer stopped, TransferEnded fired (once per exchange). Errors of
    // those calls are swallowed, the first error is what the user must see. Returns
    // false when no exchange was running.
    bool EndAfterError() noexcept { return Stop(QStringLiteral("przerwana błędem")); }
    // The same for an exchange the user broke off; why goes to the log.
    bool Stop(const QString& why) noexcept;

    // Every frame, chunk and decision of the exchanges from now on goes to log (nullptr:
    // none, the default). The log must outlive the engine or be unset first.
    void SetLog(TransferLog* log) { m_log = log; }
    TransferLog* Log() const { return m_log; }

    ::Operation Operation() const { return m_operation; }
    // The exchange running, or the one that ran last: Read, Verify, Write or Restart.
    ConfigEvent Event() const { return m_event; }
    std::uint8_t RetriesLeft() const { return m_retriesLeft; }
    const QByteArray& LastFrame() const { return m_lastFrame; }
    int Position() const { return m_position; }
    std::uint8_t BlockSize() const { return m_blockSize; }
    std::uint8_t RxCount() const { return m_rxCount; }
    // Waiting for the guard timer (the reply timer is stopped meanwhile).
    bool Guarding() const { return m_guarding; }
    // The exchange resent a frame and is being confirmed: waiting for the line to go quiet
    // (the reply timer runs), then reading the image back.
    bool Confirming() const { return m_confirmation != Confirmation::None; }
    bool WaitingForQuiet() const { return m_confirmation == Confirmation::Quiet; }
    const std::array<std::uint8_t, ImageSize>& RxBuffer() const { return m_rxBuffer; }
    const std::array<std::uint8_t, ImageSize>& ReadImage() const { return m_readImage; }

private:
    enum class Confirmation : std::uint8_t
    {
        None,
        Quiet,   // waiting for a reply time of silence
        Reading, // reading the image back
    };

    void BeginRead();
    void Begin(::Operation operation, const QByteArray& frame);
    // false when bytes waited on the line that can be no answer: the exchange has ended.
    bool Send(const QByteArray& frame, bool first = false);
    bool SendWriteBlock();
    void Finish();
    void Acknowledged();
    void NotAcknowledged();
    void DataArrived(const QByteArray& chunk);
    void Answered();
    void BlockTaken();
    void ReadComplete();
    void AllAnswered();
    void Succeed(const Image& checked);
    void BeginConfirmation();
    void QuietBytes(const QByteArray& chunk);
    void QuietTick();
    void BeginGuard();
    void GuardBytes(const QByteArray& chunk);
    bool LineQuiet();
    void LineFault(const QString& why = {});
    // Ends the exchange as failed with message (the confirmation's own while confirming).
    void Fail(const char* message);
    const char* NotConfirmed() const;
    void Progress();
    // Tells the link how the exchange went, after its message (ExchangeLink::ExchangeDone).
    void Done(bool succeeded, const char* failure = nullptr);

    void Note(TransferLogEntry entry) noexcept;
    void Note(TransferLogEntry::Kind kind, const QByteArray& bytes = {}) noexcept;
    void NoteConfirm(const QString& what) noexcept;

    TZorvexSettings& m_settings;
    ExchangeLink& m_link;
    OutcomeReporter& m_reporter;

    ::Operation m_operation = ::Operation::Idle;
    ConfigEvent m_event = ConfigEvent::Read;
    std::uint8_t m_retriesLeft = 0;
    QByteArray m_lastFrame;
    int m_position = 0;
    std::uint8_t m_blockSize = 4;
    std::uint8_t m_rxCount = 0;
    bool m_resent = false;           // LastFrame has gone out a second time
    bool m_guarding = false;         // its answer is taken; waiting for the line to stay quiet
    bool m_retransmitted = false;    // some frame of this exchange went out twice
    bool m_duplicateAllowed = false; // the guard time follows a frame that went out twice
    bool m_duplicateSeen = false;    // the second copy of the answer came in the guard time
    int m_duplicateCount = 0;        // bytes of a read reply's second copy matched so far
    Confirmation m_confirmation = Confirmation::None;
    bool m_quietHeard = false; // bytes came in this round of the quiet time
    int m_quietRounds = 0;     // reply times that were not quiet
    int m_lateBytes = 0;       // bytes that came in the quiet time
    ImageHandler m_checkRead;  // set while the read in progress is a check
    TransferLog* m_log = nullptr;
    QElapsedTimer m_clock; // since the exchange began, for the log
    std::array<std::uint8_t, ImageSize> m_rxBuffer{};
    std::array<std::uint8_t, ImageSize> m_readImage{};
    // What the confirming read must find: the blocks as they went out (a write), the image
    // first read (a read).
    Image m_expected{};
};
