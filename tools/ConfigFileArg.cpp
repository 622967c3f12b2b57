#include "tools/ConfigFileArg.h"

#include "device/ConfigFileIO.h"
#include "resources/ConstsZVX.h"

#include <QFile>

#include <cstring>

QString ReadConfigFileArg(const QString& path, TZorvexSettings& settings)
{
    const QString where = QStringLiteral(": ") + path;
    // The loader reports a file it cannot open as one of the wrong size; on the command
    // line the user gets the real reason.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(ConstsZVX::FileReadError) + where + QStringLiteral(" (") +
               file.errorString() + u')';
    file.close();
    ConfigFile::Bytes bytes;
    const int status = ConfigFile::Read(QFile::encodeName(path).toStdString(), bytes);
    if (status == ConfigFile::FileSizeError)
        return QString::fromUtf8(ConstsZVX::FileSizeError) + where;
    if (status == ConfigFile::FileFormatError)
        return QString::fromUtf8(ConstsZVX::FileFormatError) + where;
    if (status != 0)
        return QString::fromUtf8(ConstsZVX::FileReadError) + where + QStringLiteral(" (") +
               QString::fromLocal8Bit(std::strerror(status)) + u')';
    ConfigFile::Apply(bytes, settings);
    return {};
}
