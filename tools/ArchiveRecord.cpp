#include "tools/ArchiveRecord.h"

#include "archive/ArchiveRecorder.h"
#include "device/FileNames.h"
#include "settings/ProgramSettings.h"
#include "tools/ExitStatus.h"

#include <QFileInfo>

void RecordCommandEvent(CommandContext& context, ConfigEvent event, const TZorvexSettings& settings,
                        int status, const QString& message, const QString& file,
                        const QString& port)
{
    ArchiveEntry entry = ArchiveEntry::Now(event, settings);
    entry.succeeded = status == ExitStatus::Success;
    entry.outcome = entry.succeeded ? QString() : message;
    if (!entry.succeeded && entry.outcome.isEmpty())
        entry.outcome = QStringLiteral("kod wyjścia %1").arg(status);
    entry.fileName = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    entry.port = file.isEmpty() ? port : QString();
    ArchiveRecorder recorder(ProgramSettings().Archive());
    if (!recorder.Record(entry))
        context.err << "zvx: " << PrintableText(recorder.Problem()) << '\n';
}
