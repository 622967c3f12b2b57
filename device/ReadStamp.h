#pragma once

#include <QDateTime>
#include <QString>

// The text that description record 3 gets after a good read: "Data: %s     Godz: %s"
// with the date in the short date format of the program's locale (QLocale(), which the
// programs set to Polish: "09.03.2024") and the time in its long time format. The time
// zone that Qt's long format adds is left out: the record is 50 bytes and the installer
// wants the wall-clock time.
QString ReadStampText(const QDateTime& when);
