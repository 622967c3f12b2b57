#include "app/WindowReport.h"

#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "report/ConfigIdentity.h"
#include "report/ConfigReport.h"
#include "report/ReportText.h"

namespace {
// Whether the file still holds this configuration (it may have been edited since, or
// saved over by another program).
bool FileHolds(const QString& fileName, const TZorvexSettings& settings)
{
    ConfigFile::Bytes bytes;
    if (!ConfigFile::Read(FileNameBytes(fileName), bytes).Ok())
        return false;
    TZorvexSettings fromFile;
    ConfigFile::Apply(bytes, fromFile);
    return SameConfiguration(fromFile, settings);
}
} // namespace

QStringList WindowReportLines(const TZorvexSettings& settings, const QString& fileName, bool masked)
{
    ReportOptions options;
    options.fileName = fileName;
    options.fileDiffers = !fileName.isEmpty() && !FileHolds(fileName, settings);
    options.printedAt = QDateTime::currentDateTime();
    options.masked = masked;
    return ReportPrintLines(ConfigReport(settings, options));
}
