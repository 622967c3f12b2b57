#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// The configuration files' open and save dialogs: "*.ZVX" proposed, asking before an
// existing file is overwritten. Each returns the chosen name, or an empty string for
// Cancel. Tests install a handler that answers without a dialog. UI thread only.
struct FileDialogRequest
{
    bool save = false;
    QString title;
};
QString AskConfigFileName(const FileDialogRequest& request, QWidget* parent);

// Qt's own file dialog (where the desktop offers none) opens with its list of places too
// narrow for "Komputer": widened to its longest name. Call before exec().
void FitPlaces(QFileDialog& dialog);

using FileDialogHandler = std::function<QString(const FileDialogRequest&)>;
// Returns the previous handler; an empty handler restores the real dialogs.
FileDialogHandler InstallFileDialogHandler(FileDialogHandler handler);
