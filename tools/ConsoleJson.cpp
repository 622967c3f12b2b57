#include "tools/ConsoleJson.h"

QString ConsoleJson(const QJsonDocument& document)
{
    const QString text = QString::fromUtf8(document.toJson(QJsonDocument::Indented));
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0x7F && c.unicode() <= 0x9F)
            safe += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}
