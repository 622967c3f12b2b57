#pragma once

#include "tools/CommandLine.h"

// zvx diff A B: lists the differences between two configuration files field by field.
// Exit 0 when there are none, 1 when there are, 2 for wrong arguments, 3 when a file
// cannot be read or is not a configuration file.
int RunDiff(CommandContext& context);
