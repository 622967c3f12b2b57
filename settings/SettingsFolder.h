#pragma once

#include <QString>

// Where an installed program keeps its users' settings, per platform (one file each).
// Any thread.
namespace SettingsFolder {

// Whether a program whose executable is in executableDir was installed (then its folder is
// no place for a user's settings) rather than run from a build tree or a copy of its own.
bool Installed(const QString& executableDir);
// The user's own folder for the settings of an installed program (not created here).
QString UserFolder();

} // namespace SettingsFolder
