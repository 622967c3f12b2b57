#pragma once

#include <QStringList>

class QFont;
class QPrinter;

// Prints the report's lines in font, as copies separate print jobs on printer (copies of
// 0 or less print nothing). Raises Exception "Błąd drukowania" when the printer cannot be
// opened or a page cannot be started. UI thread only.
//
// How the lines are laid out on the page:
// - an empty line ends a block; the first line of a block is its heading, printed bold,
//   and never stands at the foot of a page without the first rows that follow it;
// - a line with a tab is a label and a value: the labels form one column, the values a
//   second one that starts after the longest label (at most half the page width);
// - any other line stays on the page of the line after it (a heading within a block);
// - text wider than its column wraps, at a blank where there is one;
// - every page has "Strona N z M" centred at its foot.
void PrintReport(const QStringList& lines, QPrinter& printer, const QFont& font, int copies);
