#include "tools/LogFileOpen.h"

#include "device/FileNames.h"
#include "device/MessageFormat.h"
#include "model/Win32Errno.h"
#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h names its own FormatMessage (a macro); the program's is the one meant here.
#undef FormatMessage

namespace {

QString SystemReason(DWORD error)
{
    return QString::fromLocal8Bit(std::strerror(ErrnoFromWin32(error)));
}

// Whether name is one of files: the same path, letters' case aside as Windows compares.
bool IsOneOf(const QString& name, const QStringList& files)
{
    const QString path = QDir::cleanPath(QFileInfo(name).absoluteFilePath());
    for (const QString& file : files) {
        if (QDir::cleanPath(QFileInfo(file).absoluteFilePath())
                .compare(path, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

int OpenLogFile(const QString& target, const QStringList& files, QString& problem)
{
    const QString shown = PrintableText(target);
    if (IsOneOf(target, files)) {
        problem = FormatMessage(ConstsZVX::LogIsInput, {shown});
        return -1;
    }
    const std::wstring name = QDir::toNativeSeparators(target).toStdWString();
    // A folder, a device ("COM1", "NUL") or a link: never opened at all.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))) {
        problem = FormatMessage(ConstsZVX::LogNotOwnFile, {shown});
        return -1;
    }
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        problem = FormatMessage(ConstsZVX::LogOpenError, {shown, SystemReason(GetLastError())});
        return -1;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        problem = FormatMessage(ConstsZVX::LogNotOwnFile, {shown});
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        problem = FormatMessage(ConstsZVX::LogOpenError,
                                {shown, SystemReason(ERROR_TOO_MANY_OPEN_FILES)});
    }
    return fd;
}
