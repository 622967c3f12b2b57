#pragma once

#include "device/TransferLog.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>

// Transfer log entries as text lines, one per entry, no line end:
//   "   412 ms  -> 6A 50 A1 40 00 9B 00          odczyt 64 B od 0x00"
//   "   930 ms  <- 27                             ACK"
// Write frames carry image bytes; hide(offset) true shows the byte at that image offset
// as "**" (the access codes, when the viewer did not ask to see them), and the frame's
// checksum after such bytes too: with the other bytes it would give away their sum.
namespace TransferLogText {

using HideByte = std::function<bool(int imageOffset)>;

QString Line(const TransferLogEntry& entry, const HideByte& hide = {});
// The same line with the bytes and what they mean given: ms and direction of entry,
// then hex, then meaning.
QString Line(const TransferLogEntry& entry, const QString& hex, const QString& meaning);
// What the link made of an entry: "ACK", "blok od 0x40, suma kontrolna dobra", ...
QString Meaning(const TransferLogEntry& entry);
// "6A 50 A1", with hidden image bytes of a write frame (and its checksum) as "**".
QString Hex(const QByteArray& bytes, const HideByte& hide = {});
// "6A 50 A1", with the bytes at the indices hideAt names as "**".
QString HexHiding(const QByteArray& bytes, const std::function<bool(int index)>& hideAt);
// What a frame to the dialer asks: "odczyt 64 B od 0x40", "zapis 4 B od 0x10",
// "restart 09:07", or "ramka nieznana".
QString FrameMeaning(const QByteArray& frame);

} // namespace TransferLogText

// A log written as text lines to a device (a file, standard error), flushed after every
// line so that a crash or a pulled plug loses nothing already seen.
class TextTransferLog : public TransferLog
{
public:
    explicit TextTransferLog(std::unique_ptr<QIODevice> device);
    void Entry(const TransferLogEntry& entry) noexcept override;
    // The system's reason when a line could not be written (a full disk), from the first
    // line lost on; empty while every line went out.
    const QString& Failure() const { return m_failure; }

private:
    std::unique_ptr<QIODevice> m_device;
    QString m_failure;
};
