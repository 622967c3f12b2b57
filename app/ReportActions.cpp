#include "app/ReportActions.h"

#include "app/AppPrinter.h"
#include "app/PdfReport.h"
#include "app/PrintFlow.h"
#include "app/UnitReportOptions.h"
#include "app/WindowReport.h"
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
    const QStringList lines = WindowReportLines(document.Settings(), document.FileName(), *masked);
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
    const QStringList lines = WindowReportLines(document.Settings(), document.FileName(), *masked);
    SaveReportPdf(lines, name, font);
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::ReportPdfSaved, {name}), mbOk, parent);
    return lines;
}
