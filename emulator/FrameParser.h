#pragma once

#include "emulator/DialerFrame.h"

#include <cstdint>
#include <optional>
#include <vector>

// Takes the bytes that the PC sends, one at a time, and cuts them into frames. Bytes
// before a frame's 6A 50 (line noise, a frame cut short, an unknown command) are skipped
// and counted. A read frame is complete at its checksum; the 00 that follows it is
// swallowed when it comes, so a PC that leaves it out is still answered.
// Not thread-safe: one thread feeds it.
class FrameParser
{
public:
    // Returns the frame that this byte completes, if it completes one.
    std::optional<DialerFrame> Feed(std::uint8_t byte);

    // True while a frame has begun (6A 50 seen) and is not yet complete.
    bool InFrame() const { return m_state == State::Command || m_state == State::Body; }
    // Forgets the frame in progress, counting its bytes as skipped (the line fell silent
    // in the middle of it).
    void DropPartial();

    // Bytes skipped so far while looking for frames.
    long long SkippedBytes() const { return m_skipped; }

private:
    enum class State
    {
        Hunt,
        Sync,
        Command,
        Body,
        TrailingZero
    };

    DialerFrame Complete() const;
    void Skip(long long count) { m_skipped += count; }

    State m_state = State::Hunt;
    std::vector<std::uint8_t> m_frame; // bytes of the frame in progress, 6A 50 included
    int m_length = 0;                  // its full length, once known
    long long m_skipped = 0;
};
