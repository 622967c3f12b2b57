#include "app/report/PdfReport.h"

#include "app/files/FileDialogs.h"
#include "app/report/PrintFlow.h"
#include "device/EIOException.h"
#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

#include <utility>

namespace {
PdfFileDialogHandler& Handler()
{
    static PdfFileDialogHandler handler;
    return handler;
}
} // namespace

QString SuggestedPdfName(const QString& configFile, bool masked)
{
    const QString suffix = masked ? QStringLiteral("-klient.pdf") : QStringLiteral(".pdf");
    if (configFile.isEmpty())
        return QStringLiteral("raport") + suffix;
    const QFileInfo info(configFile);
    return info.dir().filePath(info.completeBaseName() + suffix);
}

QString AskPdfFileName(const QString& suggested, QWidget* parent)
{
    if (Handler())
        return Handler()(suggested);
    QFileDialog dialog(parent, QString::fromUtf8(ConstsZVX::ReportPdfTitle));
    dialog.setNameFilters(
        {QStringLiteral("Dokumenty PDF (*.pdf)"), QStringLiteral("Wszystkie pliki (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggested);
    dialog.setSizeGripEnabled(true);
    FitPlaces(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

PdfFileDialogHandler InstallPdfFileDialogHandler(PdfFileDialogHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

void SaveReportPdf(const QStringList& lines, const QString& fileName, const QFont& font)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // Room for a binder's holes on the left, as on the installer's other paperwork.
    printer.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
    printer.setCreator(QString::fromUtf8(ConstsZVX::ProgramCaption));
    printer.setDocName(lines.value(0));
    try {
        PrintReport(lines, printer, font, 1);
    } catch (const Exception&) {
        // The PDF writer fails only when the file cannot be written; a half-written file
        // is no report.
        QFile::remove(fileName);
        throw EIOException(ConstsZVX::FileSaveError);
    }
}
