#include "tools/ConsoleStreams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The C runtime would turn every "\n" into "\r\n" and stop reading at a ^Z byte; the
// console would show UTF-8 in the OEM code page.
void PrepareConsoleStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}
