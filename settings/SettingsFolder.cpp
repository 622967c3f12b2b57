#include "settings/SettingsFolder.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace SettingsFolder {

// Installed under a prefix: prefix/bin beside prefix/share/zorvex, as the Debian package
// and "cmake --install" lay it out.
bool Installed(const QString& executableDir)
{
    return QFileInfo(executableDir).fileName() == QLatin1String("bin") &&
           QFileInfo(executableDir + QStringLiteral("/../share/zorvex")).isDir();
}

// $XDG_CONFIG_HOME/zorvex (~/.config/zorvex).
QString UserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zorvex");
}

} // namespace SettingsFolder
