#pragma once

#include "tools/CommandLine.h"

// zvx show [--json] [--masked] FILE: prints the configuration report of a configuration
// file as text, or as JSON (docs/report-json.md); --masked gives the customer's copy
// without access codes. Exit 0, 2 for wrong arguments, 3 when the file cannot be read or
// is not a configuration file.
int RunShow(CommandContext& context);
