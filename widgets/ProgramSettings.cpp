#include "widgets/ProgramSettings.h"

#include "widgets/IniFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ProgramSettings {
namespace {

QString& Override()
{
    static QString path;
    return path;
}

} // namespace

QString Path()
{
    if (!Override().isEmpty())
        return Override();
    const QString exe = QCoreApplication::applicationFilePath();
    const QFileInfo info(exe);
    // Only the file name's own extension goes; a dot in a folder name stays.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    return info.path() + u'/' + stem + QStringLiteral(".ini");
}

void OverridePath(const QString& path)
{
    Override() = path;
}

QString LookupPortName(const QString& portName)
{
    return IniFile(Path()).ReadString(QString::fromLatin1(kPortNamesSection), portName, QString());
}

} // namespace ProgramSettings
