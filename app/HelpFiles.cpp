#include "app/HelpFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HelpFiles {

QUrl Locate(const QString& executableDir, const QString& page)
{
    const QString candidates[] = {executableDir + QStringLiteral("/help"),
                                  executableDir + QStringLiteral("/../share/zorvex/help")};
    for (const QString& folder : candidates) {
        const QString path = QDir(folder).filePath(page);
        if (QFileInfo::exists(path))
            return QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath());
    }
    return QUrl::fromLocalFile(QDir(candidates[0]).filePath(page));
}

namespace {
QUrl Page(const char* name)
{
    return Locate(QCoreApplication::applicationDirPath(), QString::fromLatin1(name));
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
