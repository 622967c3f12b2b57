// Test helper for kill-during-save.sh: saves configurations through the program's own
// save, for ever, so that the script can kill it at random moments.
//
//   save_loop FILE once A|B   save configuration A or B once
//   save_loop FILE loop       print "ready", then save B, A, B, A, ... until killed

#include "device/ConfigFileIO.h"

#include <cstdio>
#include <cstring>

namespace {

TZorvexSettings Configuration(char which)
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Comment.SetText(0, which == 'A' ? "Sklep przy rynku" : "Apteka, ul. Polna 3");
    settings.Cfg.SetByte(100, which == 'A' ? 0x11 : 0x22);
    settings.Cfg.Fill(112, which == 'A' ? 0x12 : 0x98, 8);
    return settings;
}

int Save(const char* file, char which)
{
    const ConfigFile::Result result = ConfigFile::Save(Configuration(which), file);
    if (!result.Ok())
        std::fprintf(stderr, "save_loop: %s: %s\n", file, std::strerror(result.error));
    return result.Ok() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[2], "once") == 0)
        return Save(argv[1], argv[3][0]) ? 1 : 0;
    if (argc != 3 || std::strcmp(argv[2], "loop") != 0) {
        std::fprintf(stderr, "usage: save_loop FILE once A|B | save_loop FILE loop\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (char which = 'B';; which = which == 'A' ? 'B' : 'A')
        if (Save(argv[1], which))
            return 1;
}
