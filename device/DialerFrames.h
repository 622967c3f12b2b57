#pragma once

#include <QByteArray>

#include <cstdint>

// The frames the PC sends to the dialer and the checks on what comes back.
// Every frame starts with 6A 50 ("jP") and a command byte; its checksum is the low
// 8 bits of the sum of the bytes before it.
namespace DialerFrames {

inline constexpr std::uint8_t Acknowledge = 0x27;    // "'": frame taken
inline constexpr std::uint8_t NotAcknowledge = 0x34; // "4": the dialer saw a bad frame

inline constexpr int ReadBlockSize = 64; // image bytes per read reply
inline constexpr int WriteBlockSize = 4; // image bytes per write frame
inline constexpr int RestartFrameSize = 6;
inline constexpr int ReadFrameSize = 7;
inline constexpr int WriteFrameHeader = 5; // 6A 50 A2 count offset

// 6A 50 A0 hour minute checksum. hour and minute 0..99 go out as two decimal digits
// packed into one byte, tens high (9:07 -> 09 07).
QByteArray Restart(int hour, int minute);
// 6A 50 A1 count offset checksum 00; the trailing zero is not covered by the checksum.
QByteArray Read(std::uint8_t count, std::uint8_t offset);
// 6A 50 A2 count offset bytes[0..count-1] checksum.
QByteArray Write(std::uint8_t count, std::uint8_t offset, const std::uint8_t* bytes);

// The reply to a read frame for count bytes is count + 3 bytes: the read command echoed
// and a zero (A1 00), the data, and the low 8 bits of the sum of all before it.
inline constexpr std::uint8_t ReplyLead[2] = {0xA1, 0x00};
constexpr int DataReplySize(int count)
{
    return count + 3;
}
// reply must hold at least DataReplySize(count) bytes; only those are looked at.
bool DataReplyValid(const std::uint8_t* reply, int count);
// The first size bytes of a reply (any number; only the first two are looked at) are
// what every reply begins with. A line held in BREAK delivers zeros, whose sum checks
// out as well as any; the leading bytes do not.
bool DataReplyLeadValid(const std::uint8_t* reply, int size);
// Where the data of a checked reply starts.
inline constexpr int DataReplyHeader = 2;

// A chunk of one or two bytes starting with first, while no reply is being collected.
bool IsAnswer(const QByteArray& chunk, std::uint8_t first);

} // namespace DialerFrames
