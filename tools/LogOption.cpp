#include "tools/LogOption.h"

#include "device/FileNames.h"
#include "tools/CommandLine.h"

#include <QFile>

#include <unistd.h>

bool TakeLogOption(QStringList& args, QString& target)
{
    return TakeOption(args, {QStringLiteral("--log")}, target);
}

std::unique_ptr<TextTransferLog> OpenTransferLog(const QString& target, QString& problem)
{
    auto file = std::make_unique<QFile>();
    if (target == QLatin1String("-")) {
        if (!file->open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            problem = QStringLiteral("nie można pisać dziennika na standardowe wyjście błędów");
            return nullptr;
        }
    } else {
        file->setFileName(target);
        // Owner only from the first byte on: the permissions are set before anything is
        // written, and an existing file keeps nobody else's access through the rewrite.
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
            !file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            problem = QStringLiteral("nie można zapisać dziennika %1: %2")
                          .arg(PrintableText(target), file->errorString());
            return nullptr;
        }
    }
    return std::make_unique<TextTransferLog>(std::move(file));
}

bool OpenLogOption(const QString& target, std::unique_ptr<TextTransferLog>& log, QTextStream& err)
{
    if (target.isEmpty())
        return true;
    QString problem;
    log = OpenTransferLog(target, problem);
    if (!log)
        err << problem << "\n";
    return log != nullptr;
}
