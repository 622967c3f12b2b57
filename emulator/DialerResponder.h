#pragma once

#include "emulator/DialerFaults.h"
#include "emulator/DialerFrame.h"
#include "model/TCfg.h"

#include <cstdint>
#include <string>
#include <vector>

// Leading bytes of every data block. The PC takes a short chunk that begins with 0x27 or
// 0x34 for an (n)acknowledgement, so a block must never begin with either; fixed bytes
// (the read command echoed, then a zero status) guarantee that for any count and offset.
namespace DialerBlock {
inline constexpr std::uint8_t Lead1 = 0xA1;
inline constexpr std::uint8_t Lead2 = 0x00;
} // namespace DialerBlock

// What the dialer does about one frame.
struct DialerReply
{
    std::vector<std::uint8_t> bytes; // to send back, already cut short by a "cut" fault
    bool hangUp = false;             // close the line instead of answering
    bool obeyed = false;             // the frame was carried out (restart, read, write)
    bool completedWrite = false;     // this frame wrote the image's last byte (offset 255)
    std::string note;                // for the log: "-> 27", "-> blok 67 B", ...
};

// Answers frame number `number` (counted from 1, see DialerFaults) as the dialer does:
// restart -> 27; read -> data block of count + 3 bytes (two leading bytes, count image
// bytes from offset, the low 8 bits of the sum of the count + 2 bytes before it); write
// -> the data stored into image, then 27; a wrong frame checksum -> 34 and nothing done.
// Offsets wrap round the 256-byte image. The faults are applied here.
DialerReply Respond(const DialerFrame& frame, int number, const DialerFaults& faults, TCfg& image);
