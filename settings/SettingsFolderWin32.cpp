#include "settings/SettingsFolder.h"

#include <QDir>

namespace SettingsFolder {

// Installed by the setup program: somewhere under Program Files (either of them), which
// ordinary users may not write.
bool Installed(const QString& executableDir)
{
    const QString dir = QDir::cleanPath(executableDir) + u'/';
    for (const char* variable : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        // Backslashes by hand: the rule reads the same wherever it is checked.
        const QString root = qEnvironmentVariable(variable).replace(u'\\', u'/');
        if (!root.isEmpty() && dir.startsWith(QDir::cleanPath(root) + u'/', Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// %APPDATA%\zorvex: the roaming profile, where Windows programs keep their settings.
QString UserFolder()
{
    return qEnvironmentVariable("APPDATA").replace(u'\\', u'/') + QStringLiteral("/zorvex");
}

} // namespace SettingsFolder
