#pragma once

#include <QString>
#include <QTime>
#include <QTimeEdit>

// A time-of-day editor with up-down arrows and no calendar, showing hours, minutes and
// seconds (24-hour clock) with the user's time separator. The arrows wrap (23 -> 0).
// Digits are typed into the selected section, as in any QTimeEdit.
class TimePicker : public QTimeEdit
{
    Q_OBJECT
public:
    explicit TimePicker(QWidget* parent = nullptr);

    QTime Time() const { return time(); }
    // Seconds are kept; milliseconds are dropped.
    void SetTime(const QTime& value);

    // The separator between hours and minutes in the user's time format (":" when the
    // format has none).
    static QString TimeSeparator();
};
