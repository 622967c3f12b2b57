#pragma once

#include "tools/CommandLine.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// Runs the tool in-process and keeps what it printed, for the command tests.
struct CliRun
{
    QString out;
    QString err;

    int operator()(const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return RunCommandLine(args, outStream, errStream);
    }
};
