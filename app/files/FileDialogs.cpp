#include "app/files/FileDialogs.h"

#include <QFileDialog>

#include <utility>

namespace {
FileDialogHandler& Handler()
{
    static FileDialogHandler handler;
    return handler;
}
} // namespace

QString AskConfigFileName(const FileDialogRequest& request, QWidget* parent)
{
    if (Handler())
        return Handler()(request);
    QFileDialog dialog(parent, request.title);
    dialog.setNameFilters({QStringLiteral("Pliki konfiguracji Zorvex (*.ZVX)"),
                           QStringLiteral("Wszystkie pliki (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("ZVX"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(QStringLiteral("*.ZVX"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

FileDialogHandler InstallFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
