#include "tools/PortNameLookup.h"

#include "serial/TCustomComPort.h"
#include "widgets/IniFile.h"
#include "widgets/ProgramSettings.h"

#include <QCoreApplication>

QString ProgramSettingsFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zorvex.ini");
}

void InstallPortNameLookup(const QString& iniFile)
{
    TCustomComPort::SetPortNameLookup([iniFile](const QString& comName) {
        return IniFile(iniFile).ReadString(QString::fromLatin1(ProgramSettings::kPortNamesSection),
                                           comName, QString());
    });
}
