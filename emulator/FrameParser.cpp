#include "emulator/FrameParser.h"

#include "model/ImageChecksum.h"

namespace {
// A write frame's length is known once its count byte (index 3) has arrived.
constexpr int kCountIndex = 3;
} // namespace

std::optional<DialerFrame> FrameParser::Feed(std::uint8_t byte)
{
    switch (m_state) {
    case State::TrailingZero:
        m_state = State::Hunt;
        if (byte == 0x00)
            return std::nullopt;
        [[fallthrough]];
    case State::Hunt:
        if (byte == DialerWire::Sync1) {
            m_frame.assign(1, byte);
            m_state = State::Sync;
        } else {
            Skip(1);
        }
        return std::nullopt;
    case State::Sync:
        if (byte == DialerWire::Sync2) {
            m_frame.push_back(byte);
            m_state = State::Command;
        } else if (byte == DialerWire::Sync1) {
            Skip(1); // the earlier 6A was noise; this one may begin the frame
        } else {
            Skip(2);
            m_state = State::Hunt;
        }
        return std::nullopt;
    case State::Command:
        if (byte == DialerWire::CmdRestart)
            m_length = DialerWire::RestartLength;
        else if (byte == DialerWire::CmdRead)
            m_length = DialerWire::ReadLength - 1; // the trailing 00 is not waited for
        else if (byte == DialerWire::CmdWrite)
            m_length = DialerWire::WriteHeaderLength; // until the count byte says more
        else {
            // Not a command: 6A 50 was noise, and this byte may itself begin a frame.
            Skip(2);
            m_state = State::Hunt;
            return Feed(byte);
        }
        m_frame.push_back(byte);
        m_state = State::Body;
        return std::nullopt;
    case State::Body:
        m_frame.push_back(byte);
        if (static_cast<int>(m_frame.size()) == kCountIndex + 1 &&
            m_frame[2] == DialerWire::CmdWrite)
            m_length = DialerWire::WriteHeaderLength + byte;
        if (static_cast<int>(m_frame.size()) < m_length)
            return std::nullopt;
        m_state = m_frame[2] == DialerWire::CmdRead ? State::TrailingZero : State::Hunt;
        return Complete();
    }
    return std::nullopt;
}

void FrameParser::DropPartial()
{
    if (m_state == State::Sync || InFrame())
        Skip(static_cast<long long>(m_frame.size()));
    m_frame.clear();
    m_state = State::Hunt;
}

DialerFrame FrameParser::Complete() const
{
    DialerFrame frame;
    const int last = static_cast<int>(m_frame.size()) - 1;
    frame.checksumOk = Sum8(m_frame.data(), last) == m_frame[last];
    switch (m_frame[2]) {
    case DialerWire::CmdRestart:
        frame.kind = FrameKind::Restart;
        frame.hour = m_frame[3];
        frame.minute = m_frame[4];
        break;
    case DialerWire::CmdRead:
        frame.kind = FrameKind::Read;
        frame.count = m_frame[3];
        frame.offset = m_frame[4];
        break;
    default:
        frame.kind = FrameKind::Write;
        frame.count = m_frame[3];
        frame.offset = m_frame[4];
        frame.data.assign(m_frame.begin() + 5, m_frame.begin() + last);
        break;
    }
    return frame;
}
