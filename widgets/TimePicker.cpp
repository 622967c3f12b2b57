#include "widgets/TimePicker.h"

#include <QLocale>

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent)
{
    const QString sep = TimeSeparator();
    setDisplayFormat(QStringLiteral("HH") + sep + QStringLiteral("mm") + sep +
                     QStringLiteral("ss"));
    setWrapping(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCalendarPopup(false);
}

void TimePicker::SetTime(const QTime& value)
{
    setTime(value.isValid() ? QTime(value.hour(), value.minute(), value.second()) : QTime(0, 0));
}

QString TimePicker::TimeSeparator()
{
    // The first run of non-letters after the hours in the user's short time format
    // ("HH:mm" -> ":", "H.mm" -> ".").
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    const qsizetype h = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (h >= 0) {
        qsizetype i = h;
        while (i < format.size() && format[i].toLower() == u'h')
            ++i;
        QString sep;
        while (i < format.size() && !format[i].isLetter() && format[i] != u'\'') {
            sep += format[i];
            ++i;
        }
        sep = sep.trimmed();
        if (!sep.isEmpty())
            return sep;
    }
    return QStringLiteral(":");
}
