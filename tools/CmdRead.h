#pragma once

#include "tools/CommandLine.h"

// zvx read --port PORT -o FILE: reads the dialer's configuration and saves it to FILE.
// Nothing is written when the read fails.
int RunRead(CommandContext& context);
