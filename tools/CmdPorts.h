#pragma once

#include "tools/CommandLine.h"

// zvx ports [--json]: the serial ports of this machine, their stable names, the USB
// adapter behind each, the COMn names that open it, and why one cannot be opened.
// ZVX_SYS_ROOT and ZVX_DEV_ROOT stand in for /sys and /dev (tests lay out a tree there).
int RunPorts(CommandContext& context);

// zvx probe [--port P]... [--log FILE]: which ports the dialer answers on, all probed at
// once.
int RunProbe(CommandContext& context);
