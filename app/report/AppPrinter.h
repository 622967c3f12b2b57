#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The application's current printer: chosen in the program options' printer set-up,
// used by the print action. Lives for the whole run. UI thread only.
QPrinter& AppPrinter();

// Runs the platform's printer set-up (or print) dialog on the current printer; true when
// the user confirmed. Tests install a handler that answers without a dialog.
using PrinterDialogHandler = std::function<bool(QPrinter&, QWidget* parent)>;
bool RunPrinterSetup(QWidget* parent);
bool RunPrintDialog(QWidget* parent);
PrinterDialogHandler InstallPrinterDialogHandler(PrinterDialogHandler handler);
