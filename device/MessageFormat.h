#pragma once

#include <QString>
#include <QStringList>

// Fills a printf-style message of ConstsZVX ("%s", "%d") with its arguments in order,
// as the Windows tool's Format did. Surplus "%" directives stay as they are.
QString FormatMessage(const char* pattern, const QStringList& args = {});
