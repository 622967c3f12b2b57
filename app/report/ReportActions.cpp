#include "app/report/ReportActions.h"

#include "app/report/AppPrinter.h"
#include "app/report/PdfReport.h"
#include "app/report/PrintFlow.h"
#include "app/report/PrintedReport.h"
#include "app/report/ReportOptionsDialog.h"
#include "device/MessageFormat.h"
#include "document/ConfigDocument.h"
#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"

#include <QPrinter>

std::optional<QStringList> PrintDocumentReport(const ConfigDocument& document, const QFont& font,
                                               QWidget* parent)
{
    const std::optional<bool> masked =
        AskCustomerCopy(QStringLiteral("Wydruk konfiguracji"), parent);
    if (!masked || !RunPrintDialog(parent))
        return std::nullopt;
    const QStringList lines = PrintedReportLines(document.Settings(), document.FileName(), *masked);
    QPrinter& printer = AppPrinter();
    PrintReport(lines, printer, font, printer.copyCount());
    return lines;
}

std::optional<QStringList> SaveDocumentReportPdf(const ConfigDocument& document, const QFont& font,
                                                 QWidget* parent)
{
    const std::optional<bool> masked =
        AskCustomerCopy(QStringLiteral("Zapisz raport do PDF"), parent);
    if (!masked)
        return std::nullopt;
    const QString name = AskPdfFileName(SuggestedPdfName(document.FileName(), *masked), parent);
    if (name.isEmpty())
        return std::nullopt;
    const QStringList lines = PrintedReportLines(document.Settings(), document.FileName(), *masked);
    SaveReportPdf(lines, name, font);
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::ReportPdfSaved, {name}), mbOk, parent);
    return lines;
}
