#include "serial/Win32Errors.h"

namespace Win32Errors {

bool IsLineGone(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED: // usbser.sys, on a handle whose device went away
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return true;
    default:
        return false;
    }
}

bool IsNoModemLines(DWORD error)
{
    return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
}

QString OpenProblem(DWORD error)
{
    switch (error) {
    // A port is opened without sharing: another program holding it makes the open
    // fail with "access denied", whoever the user is.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return QStringLiteral("port zajęty przez inny program");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return QStringLiteral("brak urządzenia");
    default:
        return {};
    }
}

} // namespace Win32Errors
