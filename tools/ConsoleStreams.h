#pragma once

// Readies the standard streams for the command-line tool before anything is printed:
// bytes pass unchanged (a configuration written to "-" is the file's own 1024 bytes), and
// the console shows the Polish letters. One file per platform.
void PrepareConsoleStreams();
