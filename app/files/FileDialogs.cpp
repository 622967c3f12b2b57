#include "app/files/FileDialogs.h"

#include <QFileDialog>
#include <QListView>
#include <QSplitter>

#include <algorithm>
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
    FitPlaces(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void FitPlaces(QFileDialog& dialog)
{
    auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!places || !splitter || splitter->count() != 2)
        return;
    const int wanted = places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8;
    QList<int> sizes = splitter->sizes();
    if (sizes[0] >= wanted)
        return;
    sizes[1] = std::max(0, sizes[1] - (wanted - sizes[0]));
    sizes[0] = wanted;
    splitter->setSizes(sizes);
}

FileDialogHandler InstallFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
