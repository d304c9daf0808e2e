// Generates the game's data: the four archives and data.ini.
//   vrncontent <data folder> <program folder>
#include "platform/classlib/Exception.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vrncontent <data folder> <program folder>\n");
        return 2;
    }
    const Content::TCairoSession cairo;
    try {
        Content::WriteContent(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrncontent: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}
