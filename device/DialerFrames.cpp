#include "device/DialerFrames.h"

#include "model/ImageChecksum.h"
#include "model/TCfg.h"

#include <cstdio>

namespace DialerFrames {
namespace {

constexpr std::uint8_t kStart1 = 0x6A;
constexpr std::uint8_t kStart2 = 0x50;
constexpr std::uint8_t kRestart = 0xA0;
constexpr std::uint8_t kRead = 0xA1;
constexpr std::uint8_t kWrite = 0xA2;

void AppendChecksum(QByteArray& frame)
{
    frame.append(static_cast<char>(
        Sum8(reinterpret_cast<const std::uint8_t*>(frame.constData()), frame.size())));
}

// The dialer reads the two digits of the value as written with a leading zero.
std::uint8_t TwoDigits(int value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02d", ((value % 100) + 100) % 100);
    return DigitPairValue(text[0], text[1]);
}

} // namespace

QByteArray Restart(int hour, int minute)
{
    QByteArray frame;
    frame.append(static_cast<char>(kStart1));
    frame.append(static_cast<char>(kStart2));
    frame.append(static_cast<char>(kRestart));
    frame.append(static_cast<char>(TwoDigits(hour)));
    frame.append(static_cast<char>(TwoDigits(minute)));
    AppendChecksum(frame);
    return frame;
}

QByteArray Read(std::uint8_t count, std::uint8_t offset)
{
    QByteArray frame;
    frame.append(static_cast<char>(kStart1));
    frame.append(static_cast<char>(kStart2));
    frame.append(static_cast<char>(kRead));
    frame.append(static_cast<char>(count));
    frame.append(static_cast<char>(offset));
    AppendChecksum(frame);
    frame.append('\0');
    return frame;
}

QByteArray Write(std::uint8_t count, std::uint8_t offset, const std::uint8_t* bytes)
{
    QByteArray frame;
    frame.reserve(WriteFrameHeader + count + 1);
    frame.append(static_cast<char>(kStart1));
    frame.append(static_cast<char>(kStart2));
    frame.append(static_cast<char>(kWrite));
    frame.append(static_cast<char>(count));
    frame.append(static_cast<char>(offset));
    frame.append(reinterpret_cast<const char*>(bytes), count);
    AppendChecksum(frame);
    return frame;
}

bool DataReplyValid(const std::uint8_t* reply, int count)
{
    const int covered = DataReplySize(count) - 1;
    return Sum8(reply, covered) == reply[covered];
}

bool DataReplyLeadValid(const std::uint8_t* reply, int size)
{
    for (int i = 0; i < size && i < 2; ++i)
        if (reply[i] != ReplyLead[i])
            return false;
    return true;
}

bool IsAnswer(const QByteArray& chunk, std::uint8_t first)
{
    return (chunk.size() == 1 || chunk.size() == 2) &&
           static_cast<std::uint8_t>(chunk.at(0)) == first;
}

} // namespace DialerFrames
