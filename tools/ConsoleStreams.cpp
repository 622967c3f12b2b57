#include "tools/ConsoleStreams.h"

// Linux's streams are bytes already, and its terminals UTF-8.
void PrepareConsoleStreams() {}
