#include "app/report/PrintedReport.h"

#include "document/ConfigDocument.h"
#include "model/ConfigIdentity.h"
#include "report/ConfigReport.h"
#include "report/ReportText.h"

namespace {
// Whether the file still holds this configuration (it may have been edited since, or
// saved over by another program).
bool FileHolds(const QString& fileName, const TZorvexSettings& settings)
{
    TZorvexSettings fromFile;
    return ConfigDocument::ReadFile(fileName, fromFile).outcome == FileOutcome::Done &&
           SameConfiguration(fromFile, settings);
}
} // namespace

QStringList PrintedReportLines(const TZorvexSettings& settings, const QString& fileName,
                               bool masked)
{
    ReportOptions options;
    options.fileName = fileName;
    options.fileDiffers = !fileName.isEmpty() && !FileHolds(fileName, settings);
    options.printedAt = QDateTime::currentDateTime();
    options.masked = masked;
    return ReportPrintLines(ConfigReport(settings, options));
}
