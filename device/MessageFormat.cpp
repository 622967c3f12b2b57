#include "device/MessageFormat.h"

QString FormatMessage(const char* pattern, const QStringList& args)
{
    const QString text = QString::fromUtf8(pattern);
    QString out;
    out.reserve(text.size() + 32);
    int next = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size() &&
            (text[i + 1] == QLatin1Char('s') || text[i + 1] == QLatin1Char('d')) &&
            next < args.size()) {
            out += args[next++];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
