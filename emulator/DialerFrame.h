#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bytes of the dialer's wire protocol.
namespace DialerWire {
inline constexpr std::uint8_t Sync1 = 0x6A; // every frame begins "jP"
inline constexpr std::uint8_t Sync2 = 0x50;
inline constexpr std::uint8_t CmdRestart = 0xA0; // 6A 50 A0 hh mm cs
inline constexpr std::uint8_t CmdRead = 0xA1;    // 6A 50 A1 count offset cs 00
inline constexpr std::uint8_t CmdWrite = 0xA2;   // 6A 50 A2 count offset data... cs
inline constexpr std::uint8_t Ack = 0x27;
inline constexpr std::uint8_t Nak = 0x34;
inline constexpr int RestartLength = 6;
inline constexpr int ReadLength = 7;        // the trailing 00 follows the checksum
inline constexpr int WriteHeaderLength = 6; // plus count data bytes
} // namespace DialerWire

enum class FrameKind
{
    Restart,
    Read,
    Write
};

// One frame as the dialer took it off the line. A frame whose checksum is wrong is still
// a frame (the dialer answers it with 0x34); its fields are whatever arrived.
struct DialerFrame
{
    FrameKind kind = FrameKind::Restart;
    std::uint8_t hour = 0;          // restart: packed decimal, tens in the high nibble
    std::uint8_t minute = 0;        // restart: packed decimal
    std::uint8_t count = 0;         // read, write: bytes of image
    std::uint8_t offset = 0;        // read, write: first image offset
    std::vector<std::uint8_t> data; // write: the count image bytes
    bool checksumOk = true;
};

// A short line for the log: "restart 09:07", "odczyt 40@00", "zapis 04@FC".
std::string DescribeFrame(const DialerFrame& frame);
