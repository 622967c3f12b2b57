#pragma once

#include "tools/CommandLine.h"

// zvx verify --port PORT FILE: reads the dialer's configuration and lists how it differs
// from FILE (image byte 0, the checksum, excepted; the dialer keeps no description
// records). Exit 0 when they agree, 1 when they differ or the exchange failed, 2 for
// wrong arguments, 3 when FILE cannot be read, 4 when the port cannot be used.
int RunVerify(CommandContext& context);
