// Contact sheets of the generated sprite libraries, to judge the art at a glance.
//   vrnsheet <program folder> <out folder> [first ID [last ID [largest frame size]]]
#include "platform/classlib/Exception.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContactSheet.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 6) {
        std::fprintf(stderr, "usage: vrnsheet <program folder> <out folder> [first ID [last ID "
                             "[largest frame size]]]\n");
        return 2;
    }
    const Content::TCairoSession cairo;
    try {
        Content::TSheetOptions options;
        if (argc > 3)
            options.FirstID = uint32_t(ClassLib::StrToInt(argv[3]));
        if (argc > 4)
            options.LastID = uint32_t(ClassLib::StrToInt(argv[4]));
        if (argc > 5)
            options.MaxFrameSize = ClassLib::StrToInt(argv[5]);
        const int count = Content::WriteContactSheets(argv[1], argv[2], options);
        std::printf("vrnsheet: %d sheets written to %s\n", count, argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrnsheet: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}
