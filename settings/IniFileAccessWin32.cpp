#include "settings/IniFileAccess.h"

#include "model/Win32Errno.h"

#include <windows.h>

namespace IniFileAccess {
namespace {

Contents Failed(State state, int error = 0)
{
    Contents contents;
    contents.state = state;
    contents.error = error;
    return contents;
}

State Missing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? State::Missing
                                                                          : State::Unreadable;
}

} // namespace

Contents Read(const QString& fileName)
{
    const std::wstring path = fileName.toStdWString();
    // Looked at before it is opened: a device name ("COM1", "NUL") opens the device.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return Failed(Missing(error), ErrnoFromWin32(error));
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Failed(State::NotRegular);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return Failed(Missing(error), ErrnoFromWin32(error));
    }
    Contents contents;
    LARGE_INTEGER size{};
    State state = State::Regular;
    if (GetFileType(file) != FILE_TYPE_DISK)
        state = State::NotRegular;
    else if (!GetFileSizeEx(file, &size))
        state = State::Unreadable;
    else if (size.QuadPart > MaxBytes)
        state = State::TooLarge;
    int error = 0;
    if (state == State::Regular) {
        // One byte more than allowed tells a file that grew too large meanwhile.
        contents.data.resize(MaxBytes + 1);
        qsizetype got = 0;
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(file, contents.data.data() + got, DWORD(contents.data.size() - got), &n,
                          nullptr)) {
                error = ErrnoFromWin32(GetLastError());
                state = State::Unreadable;
                break;
            }
            if (n == 0 || (got += n) == contents.data.size())
                break;
        }
        contents.data.truncate(got);
        if (state == State::Regular && got > MaxBytes)
            state = State::TooLarge;
    }
    CloseHandle(file);
    if (state != State::Regular)
        return Failed(state, error);
    contents.state = state;
    return contents;
}

} // namespace IniFileAccess
