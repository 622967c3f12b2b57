#include "device/FileSystemNames.h"

#include <QCoreApplication>

// Windows names are UTF-16 already: no bytes to keep.
std::filesystem::path PathFromFileName(const QString& name)
{
    return std::filesystem::path(name.toStdWString());
}

QString FileNameFromPath(const std::filesystem::path& path)
{
    return QString::fromStdWString(path.native());
}

QStringList ArgumentNames(int, char*[])
{
    return QCoreApplication::arguments().mid(1);
}
