#pragma once

#include <QStringList>

class QFont;
class QPrinter;

// Prints the report's lines, one printed line each, in font, as copies separate print
// jobs on printer (copies of 0 or less print nothing). A long report goes on over as many
// pages as it needs. Raises Exception "Błąd drukowania" when the printer cannot be opened.
// UI thread only.
void PrintReport(const QStringList& lines, QPrinter& printer, const QFont& font, int copies);
