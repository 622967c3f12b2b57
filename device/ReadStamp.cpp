#include "device/ReadStamp.h"

#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"

#include <QLocale>

namespace {

// Drops the time-zone fields ("t" outside quoted text) from a time format.
QString WithoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

QString ReadStampText(const QDateTime& when)
{
    const QLocale locale;
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time =
        locale.toString(when.time(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return FormatMessage(ConstsZVX::ReadDateRecord, {date, time});
}
