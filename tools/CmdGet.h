#pragma once

#include "tools/CommandLine.h"

// zvx get FILE KEY...: prints the values of fields as their dialogs show them.
int RunGet(CommandContext& context);
