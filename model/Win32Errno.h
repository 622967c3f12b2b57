#pragma once

// The errno value that names a Windows error (GetLastError()) best, so that the code
// above the platform files tells the user the same words (strerror) on both systems.
// Unknown errors give EIO. Windows only; any thread.
int ErrnoFromWin32(unsigned long error);
