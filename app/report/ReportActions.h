#pragma once

#include <QStringList>

#include <optional>

class ConfigDocument;
class QFont;
class QWidget;

// The print action: asks whether it is the customer's copy, runs the print dialog and
// prints the document's report in font, as many copies as asked for. Returns the lines
// printed, nothing when the user cancelled. UI thread only.
std::optional<QStringList> PrintDocumentReport(const ConfigDocument& document, const QFont& font,
                                               QWidget* parent);

// "Zapisz raport do PDF...": asks whether it is the customer's copy and for the PDF file,
// writes the report there and says so. Returns the lines written, nothing when the user
// cancelled; raises EIOException when the file cannot be written. UI thread only.
std::optional<QStringList> SaveDocumentReportPdf(const ConfigDocument& document, const QFont& font,
                                                 QWidget* parent);
