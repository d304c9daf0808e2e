// Packs a folder into a ".dat" archive the game reads.
//   vrnpack [--plain] <folder> <archive.dat>
// The folder holds loose data files (scrambled, as the game reads a folder that
// stands in for an archive); with --plain it holds the files as they are.
#include "platform/classlib/Exception.h"
#include "tools/ArchiveWriter.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    bool plain = false;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--plain") == 0) {
        plain = true;
        first = 2;
    }
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: vrnpack [--plain] <folder> <archive.dat>\n");
        return 2;
    }
    try {
        const int count = Tools::PackFolder(argv[first], argv[first + 1], plain);
        std::printf("vrnpack: packed %d files into %s\n", count, argv[first + 1]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrnpack: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}
