#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// One thing that happened on the line during an exchange, as the link saw it.
struct TransferLogEntry
{
    enum class Kind : std::uint8_t
    {
        Start,     // an exchange begins; text names it
        Sent,      // a frame went out (bytes)
        Resent,    // the last frame went out again after a silence (bytes)
        Received,  // a chunk came in (bytes), before the link looked at it
        Ack,       // the chunk was the acknowledgement 0x27
        Nak,       // the chunk was the negative acknowledgement 0x34
        Partial,   // part of a data reply: count bytes of total so far
        BlockGood, // a data reply for offset with its checksum right
        BlockBad,  // a data reply for offset with its checksum wrong
        Ignored,   // the chunk meant nothing to the exchange running
        Timeout,   // the reply timer ran out
        Duplicate, // the dialer's answer to the second copy of a frame, dropped
        LineFault, // answers that cannot belong to the frames sent, or a line that is no
                   // quiet dialer; text says which, when known
        Confirm,   // an exchange that resent a frame is being confirmed; text: the step
        End,       // the exchange ended; ok and text give its outcome
    };

    Kind kind = Kind::Start;
    qint64 ms = 0;    // since the exchange began
    QByteArray bytes; // Sent, Resent, Received
    int offset = -1;  // image offset: BlockGood, BlockBad
    int count = 0;    // Partial: collected so far
    int total = 0;    // Partial: a whole reply
    bool ok = false;  // End
    QString text;     // Start: the exchange; End: the outcome; any: the port, when several
    QString port;     // the port, when one log follows several (the probe)
};

// Receives the entries of every exchange, on the thread that runs it. Calls must not
// throw; a log that cannot be written drops the entry. Set on a link, it must outlive
// the link or be taken away first; unset (the default) logging costs one pointer test.
class TransferLog
{
public:
    virtual ~TransferLog() = default;
    virtual void Entry(const TransferLogEntry& entry) noexcept = 0;
};
