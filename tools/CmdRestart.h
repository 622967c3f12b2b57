#pragma once

#include "tools/CommandLine.h"

// zvx restart --port PORT [--time HH:MM]: restarts the dialer with that time of day,
// or with the current time.
int RunRestart(CommandContext& context);
