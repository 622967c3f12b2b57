#include "app/ports/TransferLogRows.h"

#include "device/DialerFrames.h"

namespace {

using Kind = TransferLogEntry::Kind;

// The entries that say what the chunk just received was.
bool Explains(Kind kind)
{
    switch (kind) {
    case Kind::Ack:
    case Kind::Nak:
    case Kind::Partial:
    case Kind::BlockGood:
    case Kind::BlockBad:
    case Kind::Ignored:
    case Kind::Duplicate:
    case Kind::LineFault:
        return true;
    default:
        return false;
    }
}

bool IsReadFrame(const QByteArray& frame)
{
    return frame.size() >= DialerFrames::ReadFrameSize && quint8(frame[0]) == 0x6A &&
           quint8(frame[1]) == 0x50 && quint8(frame[2]) == 0xA1;
}

} // namespace

TransferLogRows::TransferLogRows(TransferLogText::HideByte hide) : m_hide(std::move(hide)) {}

QString TransferLogRows::ChunkHex(const QByteArray& chunk, const Reply& reply) const
{
    if (!m_hide || reply.offset < 0)
        return TransferLogText::HexHiding(chunk, {});
    bool anyHidden = false;
    for (int i = 0; i < reply.count; ++i)
        anyHidden = anyHidden || m_hide(reply.offset + i);
    return TransferLogText::HexHiding(chunk, [&](int i) {
        const int place = (reply.received + i) % DialerFrames::DataReplySize(reply.count);
        const int data = place - DialerFrames::DataReplyHeader;
        if (data >= 0 && data < reply.count)
            return m_hide(reply.offset + data);
        return anyHidden && data == reply.count; // the reply's checksum
    });
}

TransferLogRows::Row TransferLogRows::Add(const TransferLogEntry& entry)
{
    Reply& reply = m_replies[entry.port];
    if (entry.kind == Kind::Sent || entry.kind == Kind::Resent) {
        reply = Reply();
        if (IsReadFrame(entry.bytes)) {
            reply.count = quint8(entry.bytes[3]);
            reply.offset = quint8(entry.bytes[4]);
        }
    }
    const bool joins = m_chunkOpen && Explains(entry.kind) && entry.port == m_chunk.port;
    m_chunkOpen = false;
    if (joins)
        return {TransferLogText::Line(m_chunk, m_chunkHex, TransferLogText::Meaning(entry)), true};
    if (entry.kind == Kind::Received) {
        m_chunk = entry;
        m_chunkHex = ChunkHex(entry.bytes, reply);
        m_chunkOpen = true;
        // A whole reply may come again (the answer to a frame sent twice): until the next
        // frame the bytes are read as another copy of it.
        reply.received =
            (reply.received + int(entry.bytes.size())) % DialerFrames::DataReplySize(reply.count);
        return {TransferLogText::Line(entry, m_chunkHex, TransferLogText::Meaning(entry)), false};
    }
    return {TransferLogText::Line(entry, TransferLogText::Hex(entry.bytes, m_hide),
                                  TransferLogText::Meaning(entry)),
            false};
}
