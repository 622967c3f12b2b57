#include "tools/ConfigFileArg.h"

#include "device/ConfigFileIO.h"
#include "device/ConfigFileMessage.h"
#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"
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
    ConfigFile::Bytes bytes;
    const ConfigFile::Result result = ConfigFile::Read(FileNameBytes(path), bytes);
    if (!result.Ok())
        return ConfigFile::Message(result, ConfigFile::Action::Load, path);
    ConfigFile::Apply(bytes, settings);
    return {};
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

int SaveConfigOutput(CommandContext& context, const TZorvexSettings& settings,
                     const QString& output)
{
    ConfigFile::Result result;
    if (IsStandardOutput(output)) {
        const ConfigFile::Bytes bytes = ConfigFile::Build(settings);
        context.out.flush();
        QIODevice* device = context.out.device();
        if (!device)
            result = ConfigFile::Result::System(EBADF);
        else if (device->write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) !=
                 qint64(bytes.size()))
            result = ConfigFile::Result::System(errno ? errno : EIO);
    } else {
        result = ConfigFile::Save(settings, FileNameBytes(output));
    }
    if (!result.Ok()) {
        context.err << ConfigFile::Message(result, ConfigFile::Action::Save, output) << '\n';
        return ExitStatus::FileError;
    }
    if (!IsStandardOutput(output))
        context.out << FormatMessage(ConstsZVX::FileSaved, {PrintableText(output)}) << '\n';
    return ExitStatus::Success;
}
