#pragma once

#include <QStringList>

class ConfigReport;

// The report as plain text for a terminal or a text file: each section's caption
// underlined, then one line per field, the values in a column. Control characters that
// a description record may carry are shown as blanks.
QStringList ReportTextLines(const ConfigReport& report);

// The report as the print flow lays it out (PrintFlow.h): sections separated by an empty
// line, each headed by its caption; a field is its label and a colon, a tab, then its
// value (and the dialog's note beside it); a heading inside a section has no tab.
QStringList ReportPrintLines(const ConfigReport& report);
