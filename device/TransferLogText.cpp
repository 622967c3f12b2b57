#include "device/TransferLogText.h"

#include "resources/ConstsZVX.h"

#include "device/DialerFrames.h"
#include "device/FileNames.h"

#include <QFileDevice>

#include <algorithm>

namespace TransferLogText {

namespace {

using Kind = TransferLogEntry::Kind;

std::uint8_t At(const QByteArray& bytes, int i)
{
    return static_cast<std::uint8_t>(bytes[i]);
}

QString Hex2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

bool IsWriteFrame(const QByteArray& frame)
{
    return frame.size() > DialerFrames::WriteFrameHeader && At(frame, 0) == 0x6A &&
           At(frame, 1) == 0x50 && At(frame, 2) == 0xA2;
}

} // namespace

QString Meaning(const TransferLogEntry& e)
{
    switch (e.kind) {
    case Kind::Start:
        return QStringLiteral("początek: %1").arg(e.text);
    case Kind::Sent:
        return FrameMeaning(e.bytes);
    case Kind::Resent:
        return QStringLiteral("powtórzenie: %1").arg(FrameMeaning(e.bytes));
    case Kind::Received:
        return QStringLiteral("%1 B").arg(e.bytes.size());
    case Kind::Ack:
        return QStringLiteral("ACK");
    case Kind::Nak:
        return QStringLiteral("NAK");
    case Kind::Partial:
        return QStringLiteral("część odpowiedzi: %1 z %2 B").arg(e.count).arg(e.total);
    case Kind::BlockGood:
        return QStringLiteral("blok od 0x%1, suma kontrolna dobra").arg(Hex2(e.offset));
    case Kind::BlockBad:
        return QStringLiteral("blok od 0x%1, suma kontrolna błędna").arg(Hex2(e.offset));
    case Kind::Ignored:
        return QStringLiteral("pominięte");
    case Kind::Timeout:
        return QStringLiteral("minął czas odpowiedzi");
    case Kind::Duplicate:
        return QStringLiteral("powtórzona odpowiedź odrzucona");
    case Kind::LineFault:
        return e.text.isEmpty() ? QStringLiteral("odpowiedzi nie pasują do ramek")
                                : QStringLiteral("zakłócenia na linii: %1").arg(e.text);
    case Kind::Confirm:
        return QStringLiteral("potwierdzenie: %1").arg(e.text);
    case Kind::End:
        return e.ok ? QStringLiteral("koniec: sukces") : QStringLiteral("koniec: %1").arg(e.text);
    }
    return {};
}

QString HexHiding(const QByteArray& bytes, const std::function<bool(int index)>& hideAt)
{
    QString text;
    text.reserve(bytes.size() * 3);
    for (int i = 0; i < bytes.size(); ++i) {
        if (i)
            text += QLatin1Char(' ');
        text += hideAt && hideAt(i) ? QStringLiteral("**") : Hex2(At(bytes, i));
    }
    return text;
}

QString Hex(const QByteArray& bytes, const HideByte& hide)
{
    if (!hide || !IsWriteFrame(bytes))
        return HexHiding(bytes, {});
    const int header = DialerFrames::WriteFrameHeader;
    const int offset = At(bytes, 4);
    // The image bytes the frame carries, before its checksum.
    const int count = std::min<int>(At(bytes, 3), bytes.size() - header - 1);
    bool anyHidden = false;
    for (int i = 0; i < count; ++i)
        anyHidden = anyHidden || hide(offset + i);
    return HexHiding(bytes, [&](int i) {
        const int image = i - header;
        if (image >= 0 && image < count)
            return hide(offset + image);
        return anyHidden && image == count; // the checksum right after them
    });
}

QString FrameMeaning(const QByteArray& frame)
{
    if (frame.size() >= DialerFrames::RestartFrameSize && At(frame, 0) == 0x6A &&
        At(frame, 1) == 0x50) {
        switch (At(frame, 2)) {
        case 0xA0:
            return QStringLiteral("restart %1:%2")
                .arg(At(frame, 3), 2, 16, QLatin1Char('0'))
                .arg(At(frame, 4), 2, 16, QLatin1Char('0'));
        case 0xA1:
            return QStringLiteral("odczyt %1 B od 0x%2").arg(At(frame, 3)).arg(Hex2(At(frame, 4)));
        case 0xA2:
            return QStringLiteral("zapis %1 B od 0x%2").arg(At(frame, 3)).arg(Hex2(At(frame, 4)));
        default:
            break;
        }
    }
    return QStringLiteral("ramka nieznana");
}

QString Line(const TransferLogEntry& e, const HideByte& hide)
{
    return Line(e, Hex(e.bytes, hide), Meaning(e));
}

QString Line(const TransferLogEntry& e, const QString& hex, const QString& meaning)
{
    QString arrow = QStringLiteral("  ");
    if (e.kind == Kind::Sent || e.kind == Kind::Resent)
        arrow = QStringLiteral("->");
    else if (e.kind == Kind::Received)
        arrow = QStringLiteral("<-");
    QString line = QStringLiteral("%1 ms  %2 %3  %4")
                       .arg(e.ms, 6)
                       .arg(arrow, hex.leftJustified(29))
                       .arg(meaning);
    if (!e.port.isEmpty())
        line = PrintableText(e.port) + QStringLiteral(": ") + line;
    return line;
}

} // namespace TransferLogText

TextTransferLog::TextTransferLog(std::unique_ptr<QIODevice> device) : m_device(std::move(device)) {}

void TextTransferLog::Entry(const TransferLogEntry& entry) noexcept
{
    try {
        const QByteArray line = TransferLogText::Line(entry).toUtf8() + '\n';
        bool written = m_device->write(line) == line.size();
        if (auto* file = qobject_cast<QFileDevice*>(m_device.get()))
            written = file->flush() && written;
        if (!written && m_failure.isEmpty()) {
            m_failure = m_device->errorString();
            if (m_failure.isEmpty())
                m_failure = QString::fromUtf8(ConstsZVX::FileSaveError);
        }
    } catch (...) {
        // A log that cannot be written must not break the exchange it describes.
    }
}
