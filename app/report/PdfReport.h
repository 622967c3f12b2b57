#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFont;
class QWidget;

// The report as a PDF file: A4, laid out as the print flow lays it out on paper.
// UI thread only.

// The PDF name proposed for the report of configFile (the file last loaded or saved, empty
// for none): beside it with the extension ".pdf", "-klient" before it for the customer's
// copy; "raport.pdf" or "raport-klient.pdf" in the current folder without a file.
QString SuggestedPdfName(const QString& configFile, bool masked);

// Asks for the PDF file to write, proposing suggested; an empty string for Cancel.
// Tests install a handler that answers without a dialog.
QString AskPdfFileName(const QString& suggested, QWidget* parent);
using PdfFileDialogHandler = std::function<QString(const QString& suggested)>;
// Returns the previous handler; an empty handler restores the dialog.
PdfFileDialogHandler InstallPdfFileDialogHandler(PdfFileDialogHandler handler);

// Writes lines to fileName in font. Raises EIOException "Błąd zapisu pliku" when the file
// cannot be written.
void SaveReportPdf(const QStringList& lines, const QString& fileName, const QFont& font);
