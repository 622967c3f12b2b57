#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QPushButton;

// Asked before the report is printed or saved as PDF: whether it is the customer's copy,
// with every access code masked. The check box starts as the user left it last time in
// this run. UI thread only.
class ReportOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // title: the action's name ("Wydruk konfiguracji", ...).
    ReportOptionsDialog(const QString& title, QWidget* parent = nullptr);

    QCheckBox* CheckBox1; // "Kopia dla klienta (bez kodów dostępu)"
    QPushButton* BitBtn1; // "&OK"
    QPushButton* BitBtn2; // "&Anuluj"
};

// Runs the dialog: true for the customer's copy, false for the installer's, nothing for
// Cancel. Tests install a handler that answers without a dialog.
std::optional<bool> AskCustomerCopy(const QString& title, QWidget* parent);
using CustomerCopyHandler = std::function<std::optional<bool>()>;
// Returns the previous handler; an empty handler restores the dialog.
CustomerCopyHandler InstallCustomerCopyHandler(CustomerCopyHandler handler);
