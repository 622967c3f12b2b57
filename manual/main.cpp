// Writes the manual's pages of the editor areas:
//
//     manualfacts PAGE-FOLDER OUTPUT-FOLDER
//
// scripts/manual runs it from manual/pages into resources/help.
#include "manual/ManualFacts.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: manualfacts PAGE-FOLDER OUTPUT-FOLDER\n");
        return 2;
    }
    const std::string problems = ManualFacts::WritePages(argv[1], argv[2]);
    if (!problems.empty()) {
        std::fprintf(stderr, "%s", problems.c_str());
        return 1;
    }
    return 0;
}
