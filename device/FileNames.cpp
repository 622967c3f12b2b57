#include "device/FileNames.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + byte 0x80..0xFF

// Length of the valid UTF-8 sequence at data[i] (1..4), or 0 when it is not valid:
// a stray continuation byte, a cut sequence, an overlong form, a surrogate or a code
// point above U+10FFFF.
int ValidSequence(const unsigned char* data, qsizetype size, qsizetype i, char32_t& code)
{
    const unsigned char lead = data[i];
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (size - i < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = data[i + k];
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsEscapedByte(const QString& text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

QString FileNameFromBytes(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    QString name;
    name.reserve(size);
    for (qsizetype i = 0; i < size;) {
        char32_t code = 0;
        if (const int length = ValidSequence(data, size, i, code)) {
            name += QString::fromUcs4(&code, 1);
            i += length;
        } else {
            name += QChar(static_cast<char16_t>(kEscapeBase + data[i]));
            ++i;
        }
    }
    return name;
}

std::string FileNameBytes(const QString& name)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(name.size()));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (IsEscapedByte(name, i)) {
            bytes += static_cast<char>(c.unicode() - kEscapeBase);
        } else if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(c, name[i + 1]));
            ++i;
        } else if (c.isSurrogate()) {
            AppendUtf8(bytes, 0xFFFD); // as QString::toUtf8 writes a lone surrogate
        } else {
            AppendUtf8(bytes, c.unicode());
        }
    }
    return bytes;
}

QString PrintableText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20)
            shown += QChar(static_cast<char16_t>(0x2400 + c));
        else if (c == 0x7F)
            shown += QChar(0x2421);
        else if (c >= 0x80 && c <= 0x9F)
            shown += QChar(0xFFFD);
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            shown += text[i];
            shown += text[++i];
        } else if (QChar::isSurrogate(c))
            shown += QChar(0xFFFD);
        else
            shown += QChar(c);
    }
    return shown;
}
