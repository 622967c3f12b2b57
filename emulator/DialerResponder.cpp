#include "emulator/DialerResponder.h"

#include "model/ImageChecksum.h"

#include <algorithm>
#include <string>

namespace {

std::vector<std::uint8_t> DataBlock(const DialerFrame& frame, const DialerFaults& faults,
                                    const TCfg& image)
{
    std::vector<std::uint8_t> block{DialerBlock::Lead1, DialerBlock::Lead2};
    for (int i = 0; i < frame.count; ++i) {
        const int offset = (frame.offset + i) % TCfg::Size;
        std::uint8_t byte = image.GetByte(offset);
        if (offset == 0 && faults.badImage)
            byte = static_cast<std::uint8_t>(byte + 1);
        block.push_back(byte);
    }
    std::uint8_t checksum = Sum8(block.data(), static_cast<int>(block.size()));
    if (faults.badBlock)
        checksum = static_cast<std::uint8_t>(checksum + 1);
    block.push_back(checksum);
    return block;
}

// True when the write reached the image's last byte: the whole image has been sent.
bool Store(const DialerFrame& frame, TCfg& image)
{
    for (int i = 0; i < static_cast<int>(frame.data.size()); ++i)
        image.SetByte((frame.offset + i) % TCfg::Size, frame.data[i]);
    return frame.count > 0 && frame.offset + frame.count == TCfg::Size;
}

} // namespace

DialerReply Respond(const DialerFrame& frame, int number, const DialerFaults& faults, TCfg& image)
{
    DialerReply reply;
    if (faults.hangUpFrame == number) {
        reply.hangUp = true;
        reply.note = "-> rozłączenie linii";
        return reply;
    }
    if (faults.silent || faults.silentFrames.count(number)) {
        reply.note = "-> brak odpowiedzi (usterka)";
        return reply;
    }
    if (faults.zeros || faults.noise) {
        reply.note = faults.zeros ? "-> nie dociera (linia w stanie BREAK)"
                                  : "-> nie dociera (szum na linii)";
        return reply;
    }
    if (!frame.checksumOk) {
        reply.bytes = {DialerWire::Nak};
        reply.note = "-> 34 (błędna suma ramki)";
    } else if (faults.nakFrames.count(number)) {
        reply.bytes = {DialerWire::Nak};
        reply.note = "-> 34 (usterka)";
    } else if (frame.kind == FrameKind::Read) {
        reply.obeyed = true;
        reply.bytes = DataBlock(frame, faults, image);
        reply.note = "-> blok " + std::to_string(reply.bytes.size()) + " B";
    } else {
        reply.obeyed = true;
        if (frame.kind == FrameKind::Write)
            reply.completedWrite = Store(frame, image);
        reply.bytes = {DialerWire::Ack};
        reply.note = "-> 27";
    }
    if (faults.cutAfter >= 0 && static_cast<int>(reply.bytes.size()) > faults.cutAfter) {
        reply.bytes.resize(static_cast<std::size_t>(faults.cutAfter));
        reply.note += ", ucięta po " + std::to_string(faults.cutAfter) + " B";
    }
    return reply;
}
