#pragma once

#include <QLocale>

// The program speaks Polish whatever the machine's locale: every text of its own is
// Polish, so dates, times and numbers are written as on a Polish system too (the date of
// a read in description record 3, the calendar, Qt's file dialog). A machine set to C or
// English would otherwise write "Data: 8 Dec 2026" into the configuration.
namespace ProgramLocale {

// Polish as spoken in Poland.
QLocale Polish();

// Makes Polish the program's locale: QLocale() and every widget created afterwards, and
// what Qt asks of the system's locale (QLocale::system(): the file dialog's dates and
// sizes). Call first thing in main(), before the application object, in every program.
void Install();

} // namespace ProgramLocale
