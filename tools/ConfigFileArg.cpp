#include "tools/ConfigFileArg.h"

#include "device/ConfigFileIO.h"
#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "document/ConfigDocument.h"
#include "tools/ExitStatus.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace {

// The standard output's file, when the stream writes to one (not in the tests' own
// in-memory streams).
QFile* OutputFile(QTextStream& out)
{
    return qobject_cast<QFile*>(out.device());
}

} // namespace

QString ReadConfigFileArg(const QString& path, TZorvexSettings& settings)
{
    const FileResult read = ConfigDocument::ReadFile(path, settings);
    if (read.outcome == FileOutcome::Done)
        return {};
    return ConfigFile::Message(read.result, ConfigFile::Action::Load, path);
}

bool IsStandardOutput(const QString& output)
{
    return output == QLatin1String("-");
}

int CheckConfigOutput(CommandContext& context, const char* command, const QString& output)
{
    if (IsStandardOutput(output)) {
        const QFile* file = OutputFile(context.out);
        if (file && file->handle() >= 0 && isatty(file->handle()))
            return UsageError(context.err, command,
                              QStringLiteral("plik binarny nie trafi na terminal: przekieruj "
                                             "wyjście (-o - > PLIK)"));
        return ExitStatus::Success;
    }
    const ConfigFile::Result result = ConfigFile::CheckSave(FileNameBytes(output));
    if (result.Ok())
        return ExitStatus::Success;
    context.err << ConfigFile::Message(result, ConfigFile::Action::Save, output) << '\n';
    return ExitStatus::FileError;
}

int WriteConfigOutput(CommandContext& context, const TZorvexSettings& settings)
{
    ConfigFile::Result result;
    const ConfigFile::Bytes bytes = ConfigFile::Build(settings);
    context.out.flush();
    QIODevice* device = context.out.device();
    if (!device)
        result = ConfigFile::Result::System(EBADF);
    else if (device->write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) !=
             qint64(bytes.size()))
        result = ConfigFile::Result::System(errno ? errno : EIO);
    if (result.Ok())
        return ExitStatus::Success;
    context.err << ConfigFile::Message(result, ConfigFile::Action::Save, QStringLiteral("-"))
                << '\n';
    return ExitStatus::FileError;
}
