#pragma once

#include <QJsonDocument>

class ConfigReport;

// The configuration as JSON for scripts and version control; the keys are documented in
// docs/report-json.md and stay stable. Every field value is a string exactly as the
// report prints it. The date of printing is left out so that the same configuration
// always gives the same document; the customer's copy leaves out the raw image, which
// holds the access codes.
QJsonDocument ReportJson(const ConfigReport& report);

// Version of the document's layout, raised when a key changes meaning or goes away.
inline constexpr int ReportJsonVersion = 1;
