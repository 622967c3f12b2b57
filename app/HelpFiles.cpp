#include "app/HelpFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HelpFiles {
namespace {
QUrl Page(const char* name)
{
    const QString base = QCoreApplication::applicationDirPath();
    const QString candidates[] = {base + QStringLiteral("/help"),
                                  base + QStringLiteral("/../share/zorvex/help")};
    for (const QString& folder : candidates) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        if (QFileInfo::exists(path))
            return QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath());
    }
    return QUrl::fromLocalFile(QDir(candidates[0]).filePath(QString::fromLatin1(name)));
}
} // namespace

QUrl Contents()
{
    return Page("index.html");
}

QUrl Index()
{
    return Page("keywords.html");
}

QUrl UsingHelp()
{
    return Page("using-help.html");
}
} // namespace HelpFiles
