#include "app/files/FileActions.h"

#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "device/EIOException.h"
#include "device/MessageFormat.h"
#include "document/ConfigDocument.h"
#include "resources/ConstsZVX.h"
#include "widgets/ErrorGuard.h"
#include "widgets/MessageBox.h"

namespace {

// A file that could not be read or written: the error box with the file's message.
void ThrowIfFailed(const FileResult& result)
{
    if (result.outcome == FileOutcome::Failed)
        throw EIOException(result.message.toStdString());
}

} // namespace

void SaveDocumentAs(ConfigDocument& document, QWidget* parent)
{
    const QString name =
        AskConfigFileName({true, QStringLiteral("Zapis konfiguracji do zbioru")}, parent);
    if (name.isEmpty())
        return;
    ThrowIfFailed(document.Save(name));
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::FileSaved, {name}), mbOk, parent);
}

bool SaveChangesBeforeClose(ConfigDocument& document, QWidget* parent)
{
    if (!document.Modified())
        return true;
    switch (MessageDlg(mkConfirmation, QString::fromUtf8(ConstsZVX::SaveChanges),
                       mbYes | mbNo | mbCancel, parent)) {
    case mbYes:
        ErrorGuard::RunGuarded([&] { SaveDocumentAs(document, parent); });
        return !document.Modified();
    case mbNo:
        return true;
    default:
        return false;
    }
}

void AskAndLoadDocument(ConfigDocument& document, QWidget* parent)
{
    const QString name =
        AskConfigFileName({false, QStringLiteral("Odczyt konfiguracji ze zbioru")}, parent);
    if (!name.isEmpty())
        LoadDocumentFile(document, name);
}

void LoadDocumentFile(ConfigDocument& document, const QString& name)
{
    ThrowIfFailed(document.Load(name)); // declined: nothing changed
}

void CompareDocumentWithFile(const ConfigDocument& document, QWidget* parent,
                             const std::function<void(DifferencesDialog& dialog)>& showDialog)
{
    const QString name =
        AskConfigFileName({false, QString::fromUtf8(ConstsZVX::DiffFileTitle)}, parent);
    if (name.isEmpty())
        return;
    TZorvexSettings file;
    ThrowIfFailed(ConfigDocument::ReadFile(name, file));
    ShowDifferences(ConfigDifferences(document.Settings(), file),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    FormatMessage(ConstsZVX::DiffFileHeading, {name}),
                    QString::fromUtf8(ConstsZVX::DiffColumnFile), parent, showDialog);
}
