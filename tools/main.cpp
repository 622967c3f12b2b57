#include "tools/CommandLine.h"
#include "tools/PortNameLookup.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    InstallPortNameLookup(ProgramSettingsFile(), [](const QString& line) {
        QTextStream(stderr) << "zvx: " << line << '\n';
    });
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RunCommandLine(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
