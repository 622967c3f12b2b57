#pragma once

#include "tools/CommandLine.h"

// zvx apply FILE DOC.json [-o OUT]: sets every field a JSON document holds;
// zvx apply FILE --from TEMPLATE --areas A,B [-o OUT]: copies whole areas from a file.
int RunApply(CommandContext& context);
