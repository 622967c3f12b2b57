#pragma once

#include "tools/CommandLine.h"

// zvx archive log|show|diff|restore|import|prune: the archive of configurations.
int RunArchive(CommandContext& context);
