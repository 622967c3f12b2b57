#include "app/archive/ArchiveEntryActions.h"

#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "device/ConfigFileMessage.h"
#include "device/MessageFormat.h"
#include "document/ConfigDocument.h"
#include "model/Exception.h"
#include "report/ConfigDiff.h"
#include "report/ConfigReport.h"
#include "report/ReportText.h"
#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"

#include <QFileInfo>

namespace {

QString ShortTime(const ArchiveEntry& entry)
{
    return entry.LocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

QString EntryColumnTitle(const ArchiveEntry& entry)
{
    return FormatMessage(ConstsZVX::ArchiveEntryColumn,
                         {QString::number(entry.id), ShortTime(entry)});
}

QStringList EntryReportLines(const ArchiveEntry& entry, bool masked)
{
    ReportOptions options;
    options.fileName = entry.fileName;
    options.entryAt = entry.LocalTime();
    options.masked = masked;
    return ReportTextLines(ConfigReport(entry.Settings(), options));
}

void CompareWithDocument(const ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent,
                         const DifferencesRunner& run)
{
    ShowDifferences(ConfigDifferences(document.Settings(), entry.Settings()),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    QStringLiteral("Różnice między konfiguracją w programie a wpisem %1 archiwum")
                        .arg(entry.id),
                    QString::fromUtf8(ConstsZVX::DiffColumnProgram), EntryColumnTitle(entry),
                    parent, run);
}

void CompareEntries(const ArchiveEntry& a, const ArchiveEntry& b, QWidget* parent,
                    const DifferencesRunner& run)
{
    ShowDifferences(ConfigDifferences(a.Settings(), b.Settings()),
                    QString::fromUtf8(ConstsZVX::DiffEqual),
                    QStringLiteral("Różnice między wpisami %1 i %2 archiwum").arg(a.id).arg(b.id),
                    EntryColumnTitle(a), EntryColumnTitle(b), parent, run);
}

void CompareEntryWithFile(const ArchiveEntry& entry, QWidget* parent, const DifferencesRunner& run)
{
    const QString name =
        AskConfigFileName({false, QString::fromUtf8(ConstsZVX::DiffFileTitle)}, parent);
    if (name.isEmpty())
        return;
    TZorvexSettings file;
    const FileResult read = ConfigDocument::ReadFile(name, file);
    if (read.outcome != FileOutcome::Done)
        throw Exception(read.message.toStdString());
    ShowDifferences(
        ConfigDifferences(entry.Settings(), file), QString::fromUtf8(ConstsZVX::DiffEqual),
        QStringLiteral("Różnice między wpisem %1 archiwum a plikiem %2").arg(entry.id).arg(name),
        EntryColumnTitle(entry), QFileInfo(name).fileName(), parent, run);
}

QString RestoreEntry(ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent)
{
    const QString number = QString::number(entry.id);
    if (document.Modified() &&
        MessageDlg(mkConfirmation, FormatMessage(ConstsZVX::ArchiveRestoreConfirm, {number}),
                   mbYes | mbCancel, parent) != mbYes)
        return {};
    document.Settings() = entry.Settings();
    emit document.changed();
    const QString what = entry.site.trimmed().isEmpty()
                             ? ShortTime(entry)
                             : entry.site.trimmed() + QStringLiteral(", ") + ShortTime(entry);
    return FormatMessage(ConstsZVX::ArchiveRestored, {number, what});
}

void SaveEntryAs(ConfigDocument& document, const ArchiveEntry& entry, QWidget* parent)
{
    const QString name =
        AskConfigFileName({true, QStringLiteral("Zapisz wpis archiwum jako")}, parent);
    if (name.isEmpty())
        return;
    const FileResult saved = document.SaveCopy(entry.Settings(), name);
    if (saved.outcome != FileOutcome::Done)
        throw Exception(
            ConfigFile::Message(saved.result, ConfigFile::Action::Save, name).toStdString());
    MessageDlg(mkInformation, FormatMessage(ConstsZVX::FileSaved, {name}), mbOk, parent);
}
