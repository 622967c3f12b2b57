#include "tools/LogOption.h"
#include "tools/LogFileOpen.h"

#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "resources/ConstsZVX.h"
#include "tools/CommandLine.h"

#include <QFile>

#include <unistd.h>

bool TakeLogOption(QStringList& args, QString& target)
{
    return TakeOption(args, {QStringLiteral("--log")}, target);
}

std::unique_ptr<TextTransferLog> OpenTransferLog(const QString& target, QString& problem,
                                                 const QStringList& files)
{
    auto file = std::make_unique<QFile>();
    if (target == QLatin1String("-")) {
        if (!file->open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            problem = QStringLiteral("nie można pisać dziennika na standardowe wyjście błędów");
            return nullptr;
        }
    } else {
        const int fd = OpenLogFile(target, files, problem);
        if (fd < 0)
            return nullptr;
        if (!file->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            problem = FormatMessage(ConstsZVX::LogOpenError,
                                    {PrintableText(target), file->errorString()});
            return nullptr;
        }
    }
    return std::make_unique<TextTransferLog>(std::move(file));
}

bool OpenLogOption(CommandContext& context, const QString& target, const QStringList& files)
{
    if (target.isEmpty())
        return true;
    QString problem;
    context.log = OpenTransferLog(target, problem, files);
    context.logName = target;
    if (!context.log)
        context.err << problem << "\n";
    return context.log != nullptr;
}
