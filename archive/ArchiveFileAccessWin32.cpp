#include "archive/ArchiveFileAccess.h"

#include "archive/ArchiveSql.h"

#include "model/Win32Errno.h"
#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>
#include <windows.h>

// The user's profile folders are the user's alone by their access lists: there is no
// mode to tighten. What stays is never opening what is not a file.
namespace {

QString CannotOpen(const QString& path, DWORD error)
{
    return QStringLiteral("Nie można otworzyć archiwum: %1 (%2)")
        .arg(QDir::toNativeSeparators(path),
             QString::fromLocal8Bit(std::strerror(ErrnoFromWin32(error))));
}

// A folder, or a device name ("COM1", "NUL") in the file's place.
bool NotAFile(const QString& path)
{
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_DEVICE));
}

} // namespace

namespace ArchiveFileAccess {

// %LOCALAPPDATA%\zorvex: the archive stays on this machine, out of the roaming profile.
QString ProgramDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zorvex");
}

Outcome Prepare(const QString& path, QString& error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Nie można utworzyć folderu archiwum: %1")
                    .arg(QDir::toNativeSeparators(folder));
        return Outcome::Refused;
    }
    if (NotAFile(path)) {
        error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {path});
        return Outcome::NotRegular;
    }
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = CannotOpen(path, GetLastError());
        return Outcome::Refused;
    }
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    if (!disk) {
        error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {path});
        return Outcome::NotRegular;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const QString companion = path + QLatin1String(suffix);
        if (NotAFile(companion)) {
            error = ArchiveSql::Message(ConstsZVX::ArchiveFileNotRegular, {companion});
            return Outcome::NotRegular;
        }
    }
    return Outcome::Ready;
}

} // namespace ArchiveFileAccess
