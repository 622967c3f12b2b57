#pragma once

#include "device/TransferLog.h"
#include "device/TransferLogText.h"

#include <QHash>
#include <QString>

// The transfer log as "Dziennik transmisji" shows it, row by row. A row is one entry,
// except that a chunk received and what the link made of it (ACK, a part of a reply, a
// block and its checksum, ...) share one row: the chunk's time and bytes, then their
// meaning. With hide set, the access-code bytes show as "**": in write frames, and in
// the dialer's replies to read frames, whose place in the image is followed from the
// read frame they answer; the checksum after such bytes too. Keeps, per port, the read
// frame last sent and how much of its reply has come. UI thread only.
class TransferLogRows
{
public:
    explicit TransferLogRows(TransferLogText::HideByte hide = {});

    struct Row
    {
        QString text;
        bool replacesLast = false; // the meaning of the chunk on the last row: one row now
    };
    // The row for the next entry of the log.
    Row Add(const TransferLogEntry& entry);

private:
    // What is known of the reply a port is sending.
    struct Reply
    {
        int offset = -1; // image offset of the read frame answered; -1 for none
        int count = 0;   // image bytes asked for
        int received = 0;
    };
    QString ChunkHex(const QByteArray& chunk, const Reply& reply) const;

    TransferLogText::HideByte m_hide;
    QHash<QString, Reply> m_replies;
    // The chunk on the last row while its meaning has not come yet.
    bool m_chunkOpen = false;
    TransferLogEntry m_chunk;
    QString m_chunkHex;
};
