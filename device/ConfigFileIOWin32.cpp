#include "device/ConfigFileIO.h"

#include "device/FileNames.h"
#include "model/Win32Errno.h"

#include <QString>

#include <cerrno>
#include <windows.h>

namespace ConfigFile {
namespace {

// The wide name Windows wants for the bytes the caller carries (UTF-8).
std::wstring Wide(const std::string& fileName)
{
    return FileNameFromBytes(QByteArray::fromStdString(fileName)).toStdWString();
}

Result LastError()
{
    return Result::System(ErrnoFromWin32(GetLastError()));
}

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return L".";
    return path.substr(0, slash + 1);
}

// Whether a save to target may go ahead: an existing target must be a file the user may
// write (a read-only one is refused: the rename would replace it all the same), the
// folder must exist. Devices ("COM1", "NUL") are no files.
Result PrepareSave(const std::wstring& target)
{
    if (target.empty())
        return Result::System(ENOENT);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return Result::System(EISDIR);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return Result::System(EACCES);
        // Opened without any access: tells a device from a file without touching it.
        const HANDLE probe =
            CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            return LastError();
        const DWORD type = GetFileType(probe);
        CloseHandle(probe);
        if (type != FILE_TYPE_DISK)
            return NotRegular;
    } else if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        return Result::System(ErrnoFromWin32(error));
    }
    const DWORD folder = GetFileAttributesW(FolderOf(target).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES)
        return LastError();
    if (!(folder & FILE_ATTRIBUTE_DIRECTORY))
        return Result::System(ENOTDIR);
    return Success;
}

} // namespace

Result CheckSave(const std::string& fileName)
{
    return PrepareSave(Wide(fileName));
}

Result Save(const TZorvexSettings& settings, const std::string& fileName)
{
    const std::wstring target = Wide(fileName);
    if (const Result ready = PrepareSave(target); !ready.Ok())
        return ready;
    const Bytes bytes = Build(settings);
    // A name of our own beside the target, made exclusively (CREATE_NEW): never another file.
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount() + attempt) + L".tmp";
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return LastError();
    }
    if (file == INVALID_HANDLE_VALUE)
        return Result::System(EEXIST);
    DWORD error = 0;
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr))
        error = GetLastError();
    else if (written != bytes.size())
        error = ERROR_HANDLE_DISK_FULL;
    if (!error && !FlushFileBuffers(file))
        error = GetLastError();
    if (!CloseHandle(file) && !error)
        error = GetLastError();
    if (!error && !MoveFileExW(temp.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error) {
        DeleteFileW(temp.c_str());
        return Result::System(ErrnoFromWin32(error));
    }
    return Success;
}

Result Read(const std::string& fileName, Bytes& bytes)
{
    bytes.fill(0);
    const HANDLE file =
        CreateFileW(Wide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    DWORD error = 0;
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(file, bytes.data() + got, DWORD(bytes.size() - got), &n, nullptr)) {
            error = GetLastError();
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    CloseHandle(file);
    // The system's reason comes first: a file that cannot be read is not a short one.
    if (error)
        return Result::System(ErrnoFromWin32(error));
    if (got < bytes.size())
        return FileSizeError;
    return Check(bytes);
}

Result Load(TZorvexSettings& settings, const std::string& fileName, const ConfirmLoad& confirm)
{
    Bytes bytes;
    if (const Result status = Read(fileName, bytes); !status.Ok())
        return status;
    if (confirm && !confirm(Record0Text(bytes)))
        return Success;
    Apply(bytes, settings);
    return Success;
}

} // namespace ConfigFile
