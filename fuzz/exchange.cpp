// The dialer link's exchange state machine fed with any sequence of starts, received
// chunks (garbage, (n)acknowledgements, well-formed replies cut anywhere), reply-timer
// and guard-timer ticks and port failures, also while an outcome box is open. It must
// never crash or leave its buffers, never leave an exchange running without one of its
// timers, and change the configuration only by a complete, valid read (or image byte 0
// when a write starts).
//
// A modelled dialer with its own image answers the frames too, as slowly as the input
// likes (so its answers come late, after a retransmission, and both copies of a frame
// get answered, the second one after the guard time too), losing frames or answers,
// refusing frames, or with a byte of an answer damaged on the way. Its line may also be
// held in BREAK (zeros in place of an answer, or between answers) or carry noise (bytes
// the input chooses; a noisy line stays noisy until an exchange starts, so whenever the
// link looks at the line or time passes, noise has come). Whenever such an exchange met
// what the link may assume of a line (the dialer quiet when it starts, every frame it
// heard answered once the line has been quiet for a reply time after a resent exchange,
// no bytes but the dialer's and the line's), a success means the dialer's image and ours
// are equal, byte for byte.

#include "device/DialerFrames.h"
#include "device/ExchangeEngine.h"
#include "fuzz/FuzzCheck.h"
#include "model/Cp1250.h"
#include "model/Exception.h"
#include "model/ImageChecksum.h"
#include "resources/ConstsZVX.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace {

const std::uint8_t* Bytes(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

// The port and the reply timer: frames are checked and recorded, a send can be made to
// fail as a pulled-out adapter makes it fail.
class FakePort : public ExchangeLink
{
public:
    explicit FakePort(const TZorvexSettings& settings) : m_settings(settings) {}

    void SendFrame(const QByteArray& frame) override
    {
        if (failNextSend) {
            failNextSend = false;
            throw Exception("Błąd funkcji WriteFile");
        }
        toDialer.push_back(frame);
        // A retransmission repeats the frame as it was first sent, even if the image has
        // changed since (a read finishing while its box is open, say).
        if (frame != m_lastFrame)
            CheckFrame(frame);
        m_lastFrame = frame;
        ++frames;
    }
    // What has arrived and not been handed over is dropped; what is still on its way is
    // not. A noisy line has always brought something.
    int DiscardInput() override
    {
        if (noise)
            noise(arrived);
        const int count = static_cast<int>(arrived.size());
        arrived.clear();
        return count;
    }
    void StartReplyTimer() override { timerRunning = true; }
    void StopReplyTimer() override { timerRunning = false; }
    void StartGuardTimer() override { guardRunning = true; }
    void StopGuardTimer() override { guardRunning = false; }
    void TransferStarted() override {}
    void TransferEnded() override {}
    void TransferProgress(int percent) override
    {
        FUZZ_CHECK(percent == -1 || (percent >= 0 && percent <= 100));
    }
    void TransferConfirming(ConfigEvent event) override
    {
        FUZZ_CHECK(event == ConfigEvent::Read || event == ConfigEvent::Verify ||
                   event == ConfigEvent::Write);
    }

    bool timerRunning = false;
    bool guardRunning = false;
    bool failNextSend = false;
    int frames = 0;
    std::deque<QByteArray> toDialer;               // frames sent, not yet taken by the dialer
    std::deque<char> onWire;                       // the dialer's answers, still on their way
    std::vector<char> arrived;                     // in the PC's input queue, not yet handed over
    std::function<void(std::vector<char>&)> noise; // adds the noise that came, while noisy

private:
    void CheckFrame(const QByteArray& frame) const
    {
        const std::uint8_t* f = Bytes(frame);
        FUZZ_CHECK(frame.size() >= 6 && f[0] == 0x6A && f[1] == 0x50);
        switch (f[2]) {
        case 0xA0:
            FUZZ_CHECK(frame.size() == 6 && f[5] == Sum8(f, 5));
            break;
        case 0xA1:
            FUZZ_CHECK(frame.size() == 7 && f[3] == 0x40 && f[4] % 0x40 == 0);
            FUZZ_CHECK(f[5] == Sum8(f, 5) && f[6] == 0);
            break;
        case 0xA2:
            FUZZ_CHECK(frame.size() == 10 && f[3] == 4 && f[4] % 4 == 0);
            FUZZ_CHECK(f[9] == Sum8(f, 9));
            // The frame carries what the image holds at its offset right now.
            FUZZ_CHECK(std::equal(f + 5, f + 9, m_settings.Cfg.Bytes().begin() + f[4]));
            break;
        default:
            FUZZ_CHECK(false);
        }
    }

    const TZorvexSettings& m_settings;
    QByteArray m_lastFrame;
};

// The outcome boxes. While one is "open" the user interface goes on running, so the
// next action of the input may happen inside it.
class Boxes : public OutcomeReporter
{
public:
    std::function<void(const QString& message)> onShown; // checks, before the box acts

    void Information(const QString& text) override { Shown("I:" + text); }
    void Error(const QString& text) override { Shown("E:" + text); }
    bool Confirm(const QString&) override { return true; }

    void Shown(const QString& message)
    {
        shown.push_back(message);
        // ZVX_FUZZ_TRACE=1 fuzz_exchange INPUT shows what an input makes the link say.
        static const bool trace = std::getenv("ZVX_FUZZ_TRACE") != nullptr;
        if (trace)
            std::fprintf(stderr, "%s\n", message.toUtf8().constData());
        if (onShown)
            onShown(message);
        if (whileOpen) {
            auto action = std::move(whileOpen);
            whileOpen = nullptr;
            action();
        }
    }

    std::vector<QString> shown;
    std::function<void()> whileOpen;
};

class Harness
{
public:
    explicit Harness(FuzzedDataProvider& input) : m_input(input)
    {
        m_settings.LoadDefaults();
        for (int i = 0; i < 256; ++i)
            m_dialer[i] = static_cast<std::uint8_t>(i * 13 + 5);
        m_dialer[0] = ZeroSumByte(m_dialer.data() + 1, 255);
        m_boxes.onShown = [this](const QString& message) { Succeeded(message); };
        m_port.noise = [this](std::vector<char>& arrived) {
            if (m_noisy)
                arrived.push_back(m_input.ConsumeIntegral<char>());
        };
    }

    void Run()
    {
        while (m_input.remaining_bytes() > 0)
            Step();
    }

private:
    enum Action
    {
        aRead,
        aWrite,
        aRestart,
        aGarbage,
        aAck,
        aNak,
        aReply,
        aTick,
        aFailSend,
        aInsideBox,
        // Later additions stay after the first ten, so that the seeds keep their meaning.
        aVerify,
        aDialer,
        aArrive,
        aHandOver,
        aGuardTick,
        aDialerRound,
        aZeros,
        aBreakAnswer,
        aNoise,
        aCount
    };

    void Step()
    {
        const auto action = static_cast<Action>(m_input.ConsumeIntegralInRange<int>(0, aCount - 1));
        if (action == aFailSend) {
            m_port.failNextSend = true;
            return;
        }
        if (action == aInsideBox) {
            // A message box runs the event loop: port deliveries and timer ticks go on
            // while it is open. The next box shown does one such action.
            const auto inner =
                static_cast<Action>(m_input.ConsumeIntegralInRange<int>(0, aCount - 1));
            m_boxes.whileOpen = [this, inner] { Guarded(inner); };
            return;
        }
        const TZorvexSettings before = m_settings;
        const std::size_t shownBefore = m_boxes.shown.size();
        const int writesBefore = m_writeStarts;
        Guarded(action);
        CheckState();
        CheckChange(before, shownBefore, writesBefore);
    }

    // As the link does it: an error inside an exchange ends the exchange.
    void Guarded(Action action)
    {
        try {
            Do(action);
        } catch (const Exception&) {
            m_engine.EndAfterError();
        }
    }

    void Do(Action action)
    {
        switch (action) {
        case aRead:
            Starting();
            m_engine.StartRead();
            break;
        case aVerify:
            Starting();
            m_engine.StartCheckRead([this](const ExchangeEngine::Image& image) {
                if (m_trusted)
                    FUZZ_CHECK(image == m_dialer);
            });
            break;
        case aWrite:
            ++m_writeStarts;
            Starting();
            m_engine.StartWrite();
            m_written = m_settings.Cfg.Bytes();
            break;
        case aRestart: {
            const int hour = m_input.ConsumeIntegralInRange<int>(0, 23);
            const int minute = m_input.ConsumeIntegralInRange<int>(0, 59);
            Starting();
            m_engine.StartRestart(hour, minute);
            break;
        }
        case aDialer:
            DialerAnswers();
            break;
        case aDialerRound:
            // The common case in one step: the dialer answers at once and the port hands
            // the whole answer over.
            DialerAnswers();
            m_port.arrived.insert(m_port.arrived.end(), m_port.onWire.begin(), m_port.onWire.end());
            m_port.onWire.clear();
            if (!m_port.arrived.empty())
                Feed(std::exchange(m_port.arrived, {}), true);
            break;
        case aArrive: {
            const std::size_t count = std::min<std::size_t>(
                m_port.onWire.size(), m_input.ConsumeIntegralInRange<std::size_t>(1, 80));
            m_port.arrived.insert(m_port.arrived.end(), m_port.onWire.begin(),
                                  m_port.onWire.begin() + static_cast<long>(count));
            m_port.onWire.erase(m_port.onWire.begin(),
                                m_port.onWire.begin() + static_cast<long>(count));
            break;
        }
        case aHandOver: {
            // As the port hands over what is waiting; in one piece or in two.
            const std::size_t count = std::min<std::size_t>(
                m_port.arrived.size(), m_input.ConsumeIntegralInRange<std::size_t>(1, 80));
            const std::vector<char> chunk(m_port.arrived.begin(),
                                          m_port.arrived.begin() + static_cast<long>(count));
            m_port.arrived.erase(m_port.arrived.begin(),
                                 m_port.arrived.begin() + static_cast<long>(count));
            if (!chunk.empty())
                Feed(chunk, true);
            break;
        }
        case aGuardTick:
            // Time passes: on a noisy line, noise comes first. The dialer's second answer
            // may still be on its way: no guard time is long enough for a busy dialer.
            Noise();
            if (m_port.guardRunning)
                m_engine.GuardTick();
            break;
        case aZeros: {
            // The line held in BREAK for a moment, between answers.
            const int count = m_input.ConsumeIntegralInRange<int>(1, 80);
            m_port.onWire.insert(m_port.onWire.end(), static_cast<std::size_t>(count), '\0');
            break;
        }
        case aBreakAnswer:
            DialerAnswers(true);
            break;
        case aNoise: {
            m_noisy = true;
            const std::vector<char> noise =
                m_input.ConsumeBytes<char>(m_input.ConsumeIntegralInRange<int>(1, 80));
            m_port.onWire.insert(m_port.onWire.end(), noise.begin(), noise.end());
            break;
        }
        case aGarbage:
            Feed(m_input.ConsumeBytes<char>(m_input.ConsumeIntegralInRange<int>(1, 80)));
            break;
        case aAck:
        case aNak: {
            std::vector<char> chunk{
                char(action == aAck ? DialerFrames::Acknowledge : DialerFrames::NotAcknowledge)};
            if (m_input.ConsumeBool())
                chunk.push_back(m_input.ConsumeIntegral<char>());
            Feed(chunk);
            break;
        }
        case aReply:
            Reply();
            break;
        case aTick:
            Noise();
            // A stopped QTimer never fires.
            if (m_port.timerRunning) {
                // A confirmation assumes that once the line has been quiet for a reply
                // time, the dialer has answered every frame it heard.
                if (m_engine.WaitingForQuiet() && !LineQuiet())
                    m_trusted = false;
                m_engine.TimerTick();
            }
            break;
        default:
            break;
        }
    }

    // A well-formed data block for the block the link is reading (right or wrong
    // checksums as the input says), arriving in pieces of any size.
    void Reply()
    {
        std::vector<std::uint8_t> reply = m_input.ConsumeBytes<std::uint8_t>(64);
        reply.resize(64);
        reply.insert(reply.begin(), DialerFrames::ReplyLead, DialerFrames::ReplyLead + 2);
        const bool lastBlock =
            m_engine.Operation() == Operation::Read && m_engine.Position() == 192;
        if (lastBlock && m_input.ConsumeBool()) {
            // Make the whole image add up to 0, so that a read can succeed.
            const auto& image = m_engine.ReadImage();
            const std::uint8_t earlier = Sum8(image.data(), 192);
            const std::uint8_t block = Sum8(reply.data() + 2, 63);
            reply[65] = static_cast<std::uint8_t>(0 - earlier - block);
        }
        std::uint8_t checksum = Sum8(reply.data(), 66);
        if (m_input.ConsumeBool())
            checksum =
                static_cast<std::uint8_t>(checksum + m_input.ConsumeIntegralInRange<int>(1, 255));
        reply.push_back(checksum);
        std::size_t at = 0;
        while (at < reply.size()) {
            const std::size_t piece = std::min<std::size_t>(
                reply.size() - at, m_input.ConsumeIntegralInRange<std::size_t>(1, 80));
            Feed(std::vector<char>(reply.begin() + at, reply.begin() + at + piece));
            at += piece;
        }
    }

    void Feed(const std::vector<char>& chunk, bool fromDialer = false)
    {
        // Bytes from nowhere can pass for anything: no promise holds after them.
        if (!fromDialer)
            m_trusted = false;
        m_fed.insert(m_fed.end(), chunk.begin(), chunk.end());
        m_engine.PortRxChar(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
    }

    // Time passing on a noisy line brings noise, handed over as the port would.
    void Noise()
    {
        if (!m_noisy)
            return;
        std::vector<char> chunk = std::exchange(m_port.arrived, {});
        chunk.push_back(m_input.ConsumeIntegral<char>());
        Feed(chunk, true);
    }

    bool LineQuiet() const
    {
        return m_port.toDialer.empty() && m_port.onWire.empty() && m_port.arrived.empty();
    }

    // A new exchange may trust the line when nothing of an earlier one can still come: the
    // dialer has answered all it heard (what has already arrived goes with the first frame).
    void Starting()
    {
        // The noise may end between exchanges (what is left of it on the wire then makes
        // the new exchange one the line did not keep its promises to).
        if (m_noisy && m_input.ConsumeBool())
            m_noisy = false;
        m_trusted = m_port.toDialer.empty() && m_port.onWire.empty();
        m_restartsAtStart = m_restarts;
    }

    // The dialer takes the next frame off the line and, as the input says, answers it,
    // loses it, loses its answer, refuses it, or has a byte of its answer damaged. With
    // held, the line is held in BREAK while it answers: zeros come in place of the answer.
    void DialerAnswers(bool held = false)
    {
        if (m_port.toDialer.empty())
            return;
        const QByteArray frame = m_port.toDialer.front();
        m_port.toDialer.pop_front();
        // Held: the frame was carried out (0) or never reached the dialer (4).
        const int fate =
            held ? (m_input.ConsumeBool() ? 0 : 4) : m_input.ConsumeIntegralInRange<int>(0, 7);
        if (held) {
            const int count = m_input.ConsumeIntegralInRange<int>(1, 80);
            m_port.onWire.insert(m_port.onWire.end(), static_cast<std::size_t>(count), '\0');
        }
        if (fate == 4)
            return; // the frame never reached it
        if (fate == 6) {
            m_port.onWire.push_back(char(DialerFrames::NotAcknowledge));
            return;
        }
        const std::uint8_t* f = Bytes(frame);
        std::vector<char> answer;
        if (f[2] == 0xA1) {
            answer = {char(DialerFrames::ReplyLead[0]), char(DialerFrames::ReplyLead[1])};
            for (int i = 0; i < f[3]; ++i)
                answer.push_back(char(m_dialer[(f[4] + i) % 256]));
            answer.push_back(char(Sum8(reinterpret_cast<const std::uint8_t*>(answer.data()),
                                       static_cast<int>(answer.size()))));
        } else {
            if (f[2] == 0xA2)
                std::copy_n(f + 5, f[3], m_dialer.begin() + f[4]);
            else
                ++m_restarts;
            answer = {char(DialerFrames::Acknowledge)};
        }
        if (fate == 5 || held)
            return; // carried out, the answer lost
        if (fate == 7) {
            const std::size_t at =
                m_input.ConsumeIntegralInRange<std::size_t>(0, answer.size() - 1);
            answer[at] = char(answer[at] ^ m_input.ConsumeIntegralInRange<int>(1, 255));
        }
        m_port.onWire.insert(m_port.onWire.end(), answer.begin(), answer.end());
    }

    // At the moment a success is shown: the line did what a line may do, so the outcome
    // must be true.
    void Succeeded(const QString& message)
    {
        if (!m_trusted)
            return;
        if (message == "I:" + QString::fromUtf8(ConstsZVX::ReadDone))
            FUZZ_CHECK(m_engine.ReadImage() == m_dialer);
        else if (message == "I:" + QString::fromUtf8(ConstsZVX::WriteDone)) {
            // Unless a read finishing under an open box changed the image while it was
            // being written: then no one image was written.
            if (m_settings.Cfg.Bytes() == m_written)
                FUZZ_CHECK(m_written == m_dialer);
        } else if (message == "I:" + QString::fromUtf8(ConstsZVX::RestartDone))
            FUZZ_CHECK(m_restarts > m_restartsAtStart);
    }

    void CheckState() const
    {
        // An exchange in progress always has one of its timers running: nothing can hang.
        FUZZ_CHECK((m_engine.Operation() != Operation::Idle) ==
                   (m_port.timerRunning || m_port.guardRunning));
        FUZZ_CHECK(!(m_port.timerRunning && m_port.guardRunning));
        FUZZ_CHECK(m_port.guardRunning == m_engine.Guarding());
        switch (m_engine.Operation()) {
        case Operation::Idle:
        case Operation::Restart:
            break;
        case Operation::Read:
            FUZZ_CHECK(m_engine.BlockSize() == 64);
            FUZZ_CHECK(m_engine.Position() >= 0 && m_engine.Position() < 256);
            FUZZ_CHECK(m_engine.Position() % 64 == 0);
            FUZZ_CHECK(m_engine.RxCount() < DialerFrames::DataReplySize(64));
            break;
        case Operation::Write:
            FUZZ_CHECK(m_engine.BlockSize() == 4);
            FUZZ_CHECK(m_engine.Position() >= 0 && m_engine.Position() < 256);
            FUZZ_CHECK(m_engine.Position() % 4 == 0);
            FUZZ_CHECK(m_engine.RxCount() == 0);
            break;
        default:
            FUZZ_CHECK(false);
        }
    }

    void CheckChange(const TZorvexSettings& before, std::size_t shownBefore, int writesBefore) const
    {
        static const QString readDone = "I:" + QString::fromUtf8(ConstsZVX::ReadDone);
        const bool read = std::find(m_boxes.shown.begin() + static_cast<long>(shownBefore),
                                    m_boxes.shown.end(), readDone) != m_boxes.shown.end();
        const auto& now = m_settings.Cfg.Bytes();
        if (read) {
            FUZZ_CHECK(Sum8(now.data(), 256) == 0);
            FUZZ_CHECK(CameAsReplies(now.data()));
            FUZZ_CHECK(m_settings.Comment.GetText(0) == Utf8ToCp1250(ConstsZVX::ReadSourceRecord));
            FUZZ_CHECK(m_settings.Comment.GetText(3).rfind("Data: ", 0) == 0);
            for (int r = 0; r < TComment::Count; ++r)
                if (r != 0 && r != 3)
                    FUZZ_CHECK(m_settings.Comment.GetText(r) == before.Comment.GetText(r));
            return;
        }
        FUZZ_CHECK(m_settings.Comment == before.Comment);
        const auto& old = before.Cfg.Bytes();
        FUZZ_CHECK(std::equal(now.begin() + 1, now.end(), old.begin() + 1));
        if (now[0] != old[0]) {
            // Only a write start seals the image.
            FUZZ_CHECK(m_writeStarts > writesBefore);
            FUZZ_CHECK(Sum8(now.data(), 256) == 0);
        }
    }

    // Every 64-byte block of image was received as a whole, checked reply (two bytes,
    // the block, the sum of the 66 before it), block after block.
    bool CameAsReplies(const std::uint8_t* image) const
    {
        auto from = m_fed.begin();
        for (int block = 0; block < 4; ++block) {
            const std::uint8_t* data = image + 64 * block;
            for (;;) {
                const auto at =
                    std::search(from, m_fed.end(), data, data + 64,
                                [](char a, std::uint8_t b) { return std::uint8_t(a) == b; });
                if (at == m_fed.end())
                    return false;
                const auto start = at - m_fed.begin();
                if (start >= 2 && m_fed.end() - at > 64) {
                    const auto* p = reinterpret_cast<const std::uint8_t*>(m_fed.data()) + start - 2;
                    if (Sum8(p, 66) == p[66]) {
                        from = at + 65;
                        break;
                    }
                }
                from = at + 1;
            }
        }
        return true;
    }

    FuzzedDataProvider& m_input;
    TZorvexSettings m_settings;
    FakePort m_port{m_settings};
    Boxes m_boxes;
    ExchangeEngine m_engine{m_settings, m_port, m_boxes};
    std::vector<char> m_fed; // every byte handed to the engine, in order
    int m_writeStarts = 0;
    std::array<std::uint8_t, 256> m_dialer{}; // the modelled dialer's image
    int m_restarts = 0;                       // restarts it has carried out
    int m_restartsAtStart = 0;
    std::array<std::uint8_t, 256> m_written{}; // our image as the last write started
    bool m_trusted = false; // the exchange in progress met the line's promises so far
    bool m_noisy = false;   // the line carries noise
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Harness harness(input);
    harness.Run();
    return 0;
}
