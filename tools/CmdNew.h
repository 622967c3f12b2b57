#pragma once

#include "tools/CommandLine.h"

// zvx new -o FILE: writes the factory configuration to FILE.
int RunNew(CommandContext& context);
