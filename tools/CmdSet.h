#pragma once

#include "tools/CommandLine.h"

// zvx set FILE KEY=VALUE... [-o OUT]: sets fields as their dialogs would on OK.
int RunSet(CommandContext& context);
