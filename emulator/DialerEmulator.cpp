#include "emulator/DialerEmulator.h"

#include "emulator/DialerImage.h"
#include "emulator/DialerResponder.h"
#include "emulator/EEmulator.h"
#include "emulator/LineTiming.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace {

timespec ToTimespec(std::chrono::nanoseconds span)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>((span - seconds).count())};
}

} // namespace

DialerEmulator::DialerEmulator() : DialerEmulator(Options{}) {}

DialerEmulator::DialerEmulator(Options options)
    : m_options(std::move(options)), m_image(DefaultDialerImage())
{
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0)
        throw EEmulator::FromErrno(errno);
}

DialerEmulator::~DialerEmulator()
{
    Stop();
    close(m_stopFd);
}

void DialerEmulator::Start()
{
    if (m_thread.joinable())
        return;
    try {
        m_thread = std::thread(&DialerEmulator::Run, this);
    } catch (const std::system_error& e) {
        throw EEmulator::FromErrno(e.code().value());
    }
}

void DialerEmulator::Stop()
{
    if (!m_thread.joinable())
        return;
    const std::uint64_t one = 1;
    while (write(m_stopFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_thread.join();
    std::uint64_t count = 0;
    while (read(m_stopFd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

void DialerEmulator::SetImage(const TCfg& image)
{
    const std::lock_guard lock(m_mutex);
    m_image = image;
}

TCfg DialerEmulator::Image() const
{
    const std::lock_guard lock(m_mutex);
    return m_image;
}

DialerEmulator::Counters DialerEmulator::GetCounters() const
{
    const std::lock_guard lock(m_mutex);
    return m_counters;
}

bool DialerEmulator::StopRequested() const
{
    pollfd stop{m_stopFd, POLLIN, 0};
    return poll(&stop, 1, 0) > 0;
}

void DialerEmulator::Log(const std::string& line) const
{
    if (m_log)
        m_log(line);
}

void DialerEmulator::Run()
{
    std::uint8_t buffer[512];
    m_rxLineEnd = m_lastRxTime = Clock::now();
    const bool streaming = m_options.faults.zeros || m_options.faults.noise;
    Clock::time_point nextStreamByte = Clock::now();
    for (;;) {
        // Only a frame left half-way, or a line that carries bytes of its own, needs a
        // time limit; otherwise wait for bytes or Stop.
        int timeoutMs = -1;
        if (m_parser.InFrame())
            timeoutMs = MsUntil(m_lastRxTime + m_options.frameTimeout);
        if (streaming) {
            const int streamMs = MsUntil(nextStreamByte);
            timeoutMs = timeoutMs < 0 ? streamMs : std::min(timeoutMs, streamMs);
        }
        pollfd fds[2] = {{m_pty.MasterFd(), POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int ready = poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[1].revents)
            return;
        if (streaming && Clock::now() >= nextStreamByte) {
            StreamByte();
            // One byte a byte time; after a stall the line goes on from now, not in a burst.
            nextStreamByte = std::max(nextStreamByte + DialerLine::ByteTimes(1),
                                      Clock::now() - DialerLine::ByteTimes(1));
        }
        if (ready == 0) {
            if (!m_parser.InFrame() || Clock::now() < m_lastRxTime + m_options.frameTimeout)
                continue;
            const long long before = m_parser.SkippedBytes();
            m_parser.DropPartial();
            Log("ramka niedokończona, pominięto " +
                std::to_string(m_parser.SkippedBytes() - before) + " B");
            const std::lock_guard lock(m_mutex);
            ++m_counters.framesDropped;
            m_counters.bytesSkipped = m_parser.SkippedBytes();
            continue;
        }
        if (!(fds[0].revents & POLLIN)) {
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
                return;
            continue;
        }
        const ssize_t count = read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (count <= 0)
            return;

        // The bytes started to arrive no earlier than now, or than the end of the bytes
        // before them, and each took a byte time on the line.
        const Clock::time_point now = Clock::now();
        const Clock::time_point chunkStart = std::max(now, m_rxLineEnd);
        m_rxLineEnd = chunkStart + DialerLine::ByteTimes(count);
        m_lastRxTime = now;
        for (ssize_t i = 0; i < count; ++i) {
            const std::optional<DialerFrame> frame = m_parser.Feed(buffer[i]);
            if (!frame)
                continue;
            Clock::time_point frameEnd = chunkStart + DialerLine::ByteTimes(i + 1);
            if (frame->kind == FrameKind::Read)
                frameEnd += DialerLine::ByteTimes(1); // the trailing 00
            if (!Handle(*frame, frameEnd))
                return;
        }
        const std::lock_guard lock(m_mutex);
        m_counters.bytesSkipped = m_parser.SkippedBytes();
    }
}

int DialerEmulator::MsUntil(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    return static_cast<int>(
        std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
}

void DialerEmulator::StreamByte()
{
    std::uint8_t byte = 0;
    if (m_options.faults.noise) {
        do { // xorshift: the same noise every run, so a failure can be replayed
            m_noise ^= m_noise << 13;
            m_noise ^= m_noise >> 17;
            m_noise ^= m_noise << 5;
            byte = static_cast<std::uint8_t>(m_noise >> 24);
        } while (byte == 0x34);
    }
    // A byte nobody reads in time is lost, as a UART overrun loses it: never wait here.
    if (write(m_pty.MasterFd(), &byte, 1) == 1) {
        const std::lock_guard lock(m_mutex);
        ++m_counters.lineBytes;
    }
}

bool DialerEmulator::Handle(const DialerFrame& frame, Clock::time_point frameEnd)
{
    DialerReply reply;
    TCfg written;
    int number = 0;
    {
        const std::lock_guard lock(m_mutex);
        number = m_counters.frames + 1;
        reply = Respond(frame, number, m_options.faults, m_image);
        if (reply.completedWrite)
            written = m_image;
    }
    const bool late = m_options.faults.lateFrames.count(number) > 0 && !reply.hangUp;
    if (late)
        reply.note += ", spóźniona o " + std::to_string(m_options.faults.lateMs) + " ms";
    Log("#" + std::to_string(number) + " " + DescribeFrame(frame) + " " + reply.note);

    if (reply.hangUp) {
        m_pty.Close();
        const std::lock_guard lock(m_mutex);
        ++m_counters.frames;
        m_counters.hungUp = true;
        return false;
    }
    // The write handler (a file save) runs before the acknowledgement goes out, so once the
    // PC has seen its write succeed, the file holds the image too.
    if (reply.completedWrite && m_writeDone)
        m_writeDone(written);

    const Clock::time_point now = Clock::now();
    Clock::time_point start =
        m_options.pacing ? std::max(now, frameEnd + m_options.turnaround) : now;
    if (late) {
        // Nothing else is taken off the line meanwhile: a retransmission waits its turn.
        // Unpaced, frameEnd is the modelled line's time, which may run ahead of the clock.
        const Clock::time_point heard = m_options.pacing ? std::max(now, frameEnd) : now;
        start = std::max(start, heard + std::chrono::milliseconds(m_options.faults.lateMs));
        if (!WaitUntil(start))
            return false;
    }
    const bool sent = Send(reply.bytes, start);

    const std::lock_guard lock(m_mutex);
    ++m_counters.frames;
    if (!frame.checksumOk)
        ++m_counters.badFrames;
    if (reply.completedWrite)
        ++m_counters.completedWrites;
    if (frame.kind == FrameKind::Restart && reply.obeyed) {
        ++m_counters.restarts;
        m_counters.restartHour = frame.hour;
        m_counters.restartMinute = frame.minute;
    }
    return sent;
}

bool DialerEmulator::Send(const std::vector<std::uint8_t>& bytes, Clock::time_point start)
{
    // Pacing sends each byte when its stop bit would have ended. Chunks go out a chunk at a
    // time at the same moments, also without pacing, or the pseudo-terminal would merge
    // them again before the PC reads.
    const int chunk = m_options.faults.chunkSize;
    const bool paced = m_options.pacing || chunk > 0;
    const std::size_t unit =
        chunk > 0 ? static_cast<std::size_t>(chunk) : (m_options.pacing ? 1 : bytes.size());
    for (std::size_t at = 0; at < bytes.size(); at += unit) {
        const std::size_t size = std::min(unit, bytes.size() - at);
        if (paced && !WaitUntil(start + DialerLine::ByteTimes(static_cast<long long>(at + size))))
            return false;
        if (!WriteAll(bytes.data() + at, size))
            return false;
        const std::lock_guard lock(m_mutex);
        m_counters.bytesSent += static_cast<long long>(size);
        ++m_counters.lineWrites;
    }
    return true;
}

bool DialerEmulator::WaitUntil(Clock::time_point deadline)
{
    // Absolute deadlines: each wait is for what is left, so late wake-ups never add up.
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return !StopRequested();
        pollfd stop{m_stopFd, POLLIN, 0};
        const timespec timeout =
            ToTimespec(std::chrono::duration_cast<std::chrono::nanoseconds>(left));
        const int ready = ppoll(&stop, 1, &timeout, nullptr);
        if (ready > 0)
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

bool DialerEmulator::WriteAll(const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(m_pty.MasterFd(), data, size);
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return false;
        // The PC is not reading and the line's buffer is full: wait for room or Stop.
        pollfd fds[2] = {{m_pty.MasterFd(), POLLOUT, 0}, {m_stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents)
            return false;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return false;
    }
    return true;
}
