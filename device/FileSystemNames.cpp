#include "device/FileSystemNames.h"

#include "device/FileNames.h"

std::filesystem::path PathFromFileName(const QString& name)
{
    return std::filesystem::path(FileNameBytes(name));
}

QString FileNameFromPath(const std::filesystem::path& path)
{
    return FileNameFromBytes(QByteArray::fromStdString(path.native()));
}

QStringList ArgumentNames(int argc, char* argv[])
{
    QStringList names;
    for (int i = 1; i < argc; ++i)
        names << FileNameFromBytes(argv[i]);
    return names;
}
