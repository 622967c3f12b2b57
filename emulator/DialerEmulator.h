#pragma once

#include "emulator/DialerFaults.h"
#include "emulator/DialerFrame.h"
#include "emulator/FrameParser.h"
#include "emulator/PseudoTerminal.h"
#include "model/TCfg.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The dialer's side of the serial line, on a pseudo-terminal. It answers restart, read
// and write frames from its own 256-byte image, paces what it sends as the 1339 bit/s
// line would, and makes the faults it is told to make.
//
// Threads: the protocol runs on the emulator's own thread between Start and Stop, so the
// PC side may run on any other thread (the tests' and the GUI's main thread). Every
// public function may be called from any thread except the handler setters, which are
// called before Start. The handlers run on the emulator's thread.
class DialerEmulator
{
public:
    struct Options
    {
        // Model the line at 1339 bit/s, 10 bits a byte: no answer before the frame's last
        // byte could have arrived, and every byte sent when it would have been received.
        bool pacing = true;
        // From the end of a frame to the start of its answer, when pacing.
        std::chrono::microseconds turnaround{500};
        // A frame begun and then left without a byte for this long is dropped, so that a
        // frame with a damaged count byte does not swallow the frames after it.
        std::chrono::milliseconds frameTimeout{500};
        DialerFaults faults;
    };

    // A frame is counted once its answer has been written to the line in full, so whoever
    // sees the count knows the answer is already on its way. The byte counts grow as the
    // bytes go out.
    struct Counters
    {
        int frames = 0;                 // frames taken off the line, bad ones included
        int badFrames = 0;              // frames whose checksum was wrong
        int completedWrites = 0;        // writes of the image's last block
        int restarts = 0;               // restart frames obeyed
        std::uint8_t restartHour = 0;   // the last restart's time, packed decimal
        std::uint8_t restartMinute = 0; // packed decimal
        long long bytesSent = 0;        // bytes of answers written to the line
        long long lineWrites = 0;       // writes those bytes took (chunks, pacing)
        long long bytesSkipped = 0;     // noise skipped while looking for frames
        int framesDropped = 0;          // frames given up by frameTimeout
        long long lineBytes = 0;        // bytes of the line's own ("zeros", "noise")
        bool hungUp = false;            // the line has been closed ("hangup-frame")
    };

    // One line for each frame and event, e.g. "#3 odczyt 40@80 -> blok 67 B".
    using LogHandler = std::function<void(const std::string& line)>;
    // Told of every completed write, with the image as it now is.
    using WriteHandler = std::function<void(const TCfg& image)>;

    // Opens the pseudo-terminal (raises EEmulator) and takes DefaultDialerImage().
    DialerEmulator();
    explicit DialerEmulator(Options options);
    // Stops the thread and closes the line.
    ~DialerEmulator();
    DialerEmulator(const DialerEmulator&) = delete;
    DialerEmulator& operator=(const DialerEmulator&) = delete;

    // The path the PC opens; stays the same after a hang-up (when it no longer exists).
    const std::string& SlavePath() const { return m_pty.SlavePath(); }

    void SetLogHandler(LogHandler handler) { m_log = std::move(handler); }
    void SetWriteHandler(WriteHandler handler) { m_writeDone = std::move(handler); }

    // Starts answering (raises EEmulator when the thread cannot be had).
    void Start();
    // Stops answering within a moment, also in the middle of a paced answer, and returns
    // once the thread has ended. The line stays open (a hang-up aside).
    void Stop();

    void SetImage(const TCfg& image);
    TCfg Image() const;
    Counters GetCounters() const;

private:
    using Clock = std::chrono::steady_clock;

    void Run();
    // False when the thread must end (stop asked, line closed).
    bool Handle(const DialerFrame& frame, Clock::time_point frameEnd);
    bool Send(const std::vector<std::uint8_t>& bytes, Clock::time_point start);
    bool WaitUntil(Clock::time_point deadline);
    bool WriteAll(const std::uint8_t* data, std::size_t size);
    // One byte of a line that carries bytes of its own (the "zeros" and "noise" faults).
    void StreamByte();
    static int MsUntil(Clock::time_point deadline);
    bool StopRequested() const;
    void Log(const std::string& line) const;

    const Options m_options;
    PseudoTerminal m_pty;
    int m_stopFd = -1; // eventfd: readable once Stop has been asked
    std::thread m_thread;
    LogHandler m_log;
    WriteHandler m_writeDone;

    // Emulator thread only.
    FrameParser m_parser;
    Clock::time_point m_rxLineEnd;      // when the bytes read so far finished arriving
    Clock::time_point m_lastRxTime;     // when bytes were last read
    std::uint32_t m_noise = 0x2545F491; // the "noise" fault's generator

    mutable std::mutex m_mutex; // guards m_image and m_counters
    TCfg m_image;
    Counters m_counters;
};
