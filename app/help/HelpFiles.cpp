#include "app/help/HelpFiles.h"

#include "app/help/ShellOpen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HelpFiles {

QUrl Locate(const QString& executableDir, const QString& page)
{
    // The place in the page is no part of the file's name: a "#" in a file name would be
    // written as "%23", and no such file exists.
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    const QString file = hash < 0 ? page : page.left(hash);
    const QString candidates[] = {executableDir + QStringLiteral("/help"),
                                  executableDir + QStringLiteral("/../share/zorvex/help")};
    QUrl url = QUrl::fromLocalFile(QDir(candidates[0]).filePath(file));
    for (const QString& folder : candidates) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo::exists(path)) {
            url = QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath());
            break;
        }
    }
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    return url;
}

QUrl Page(const QString& name)
{
    return Locate(QCoreApplication::applicationDirPath(), name);
}

void Open(const QString& name)
{
    ShellOpen(Page(name));
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
