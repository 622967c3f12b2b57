#include "emulator/DialerFrame.h"

#include <cstdio>

std::string DescribeFrame(const DialerFrame& frame)
{
    char text[32];
    switch (frame.kind) {
    case FrameKind::Restart:
        // The bytes are packed decimal, so their hexadecimal digits are the time's digits.
        std::snprintf(text, sizeof text, "restart %02X:%02X", frame.hour, frame.minute);
        break;
    case FrameKind::Read:
        std::snprintf(text, sizeof text, "odczyt %02X@%02X", frame.count, frame.offset);
        break;
    case FrameKind::Write:
        std::snprintf(text, sizeof text, "zapis %02X@%02X", frame.count, frame.offset);
        break;
    }
    return text;
}
