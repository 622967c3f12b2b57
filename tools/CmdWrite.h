#pragma once

#include "tools/CommandLine.h"

// zvx write --port PORT FILE: loads FILE (printing its record 0 text) and writes the
// configuration into the dialer.
int RunWrite(CommandContext& context);
