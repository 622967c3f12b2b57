#include "device/FileNames.h"
#include "device/FileSystemNames.h"
#include "resources/ConstsZVX.h"
#include "settings/ProgramLocale.h"
#include "settings/ProgramSettings.h"
#include "tools/CommandLine.h"
#include "tools/ConsoleStreams.h"
#include "tools/ExitStatus.h"
#include "tools/PortNameLookup.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Whether everything printed on standard output reached it: a full disk, a closed
// descriptor, or a file system that reports its error only on close. The system's
// reason when it did not, an empty text when it did.
QString FinishOutput(QTextStream& out, QFile& file)
{
    out.flush();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError)
        return file.errorString();
    file.close();
    if (::close(STDOUT_FILENO) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    ProgramLocale::Install(); // before anything reads a locale
    PrepareConsoleStreams();
    QCoreApplication app(argc, argv);
    InstallPortNameLookup(ProgramSettings::Path(), [](const QString& line) {
        QTextStream(stderr) << "zvx: " << PrintableText(line) << '\n';
    });
    if (const QString notice = ProgramSettings::FormerFileNotice(app.applicationFilePath());
        !notice.isEmpty())
        QTextStream(stderr) << "zvx: " << PrintableText(notice) << '\n';
    const QStringList args = ArgumentNames(argc, argv);

    // Unbuffered, so a failed write shows in the stream's status at the next flush.
    QFile outFile;
    QFile errFile;
    outFile.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    errFile.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream out(&outFile);
    QTextStream err(&errFile);
    int status = RunCommandLine(args, out, err);
    if (const QString reason = FinishOutput(out, outFile); !reason.isEmpty()) {
        err << "zvx: " << QString::fromUtf8(ConstsZVX::OutputError) << " (" << reason << ")\n";
        // A result that did not reach its reader is a failure, also "files differ".
        if (status == ExitStatus::Success || status == ExitStatus::ExchangeFailed)
            status = ExitStatus::FileError;
    }
    err.flush();
    return status;
}
