#include "app/help/HelpFiles.h"

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

QUrl Page(const QString& name)
{
    return Locate(QCoreApplication::applicationDirPath(), name);
}

QUrl Contents()
{
    return Page(QStringLiteral("index.html"));
}

QUrl Index()
{
    return Page(QStringLiteral("keywords.html"));
}

QUrl UsingHelp()
{
    return Page(QStringLiteral("using-help.html"));
}
} // namespace HelpFiles
