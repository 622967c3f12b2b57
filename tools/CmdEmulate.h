#pragma once

#include "tools/CommandLine.h"

// zvx emulate [--link PATH] [--image FILE] [--save FILE] [--no-pacing] [--fault F]...
// Runs the emulated dialer on a pseudo-terminal until interrupted. The device path is
// the first line of standard output; each frame is logged to standard error.
int RunEmulate(CommandContext& context);
