#include "app/report/AppPrinter.h"

#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace {
PrinterDialogHandler& Handler()
{
    static PrinterDialogHandler handler;
    return handler;
}

bool Run(QPrinter& printer, QWidget* parent, const QString& title, bool allowCopies)
{
    if (Handler())
        return Handler()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (!allowCopies)
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    return dialog.exec() == QDialog::Accepted;
}
} // namespace

QPrinter& AppPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool RunPrinterSetup(QWidget* parent)
{
    return Run(AppPrinter(), parent, QStringLiteral("Konfiguracja drukarki"), false);
}

bool RunPrintDialog(QWidget* parent)
{
    return Run(AppPrinter(), parent, QStringLiteral("Drukuj"), true);
}

PrinterDialogHandler InstallPrinterDialogHandler(PrinterDialogHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
