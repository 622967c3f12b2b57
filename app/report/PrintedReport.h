#pragma once

#include <QStringList>

class TZorvexSettings;

// The report of the window's configuration as the print flow prints it (ReportText.h):
// printed now, naming fileName (the file last loaded or saved; empty for none) and saying
// so when the configuration no longer matches what that file holds. masked: the
// customer's copy. UI thread only (it reads the file).
QStringList PrintedReportLines(const TZorvexSettings& settings, const QString& fileName,
                               bool masked);
