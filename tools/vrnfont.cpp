// Rasterises a TrueType font into a "FONT" file the game reads.
//   vrnfont <font.ttf> <pixel size> <out.font> [--bold] [--italic] [--colour RRGGBB] [--id N]
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/classlib/Streams.h"
#include "tools/FontBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: vrnfont <font.ttf> <pixel size> <out.font> [--bold] [--italic] "
                         "[--colour RRGGBB] [--id N]\n");
    return 2;
}

// Six hex digits, as in "FFD700".
uint32_t ParseColour(const char* text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 16);
    if (std::strlen(text) != 6 || *end != 0)
        throw ClassLib::EConvertError(
            ClassLib::Format("'%s' is not a colour of six hex digits", text));
    return uint32_t(value);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return Usage();
    try {
        Tools::TFontBuildOptions options;
        options.PixelSize = ClassLib::StrToInt(argv[2]);
        for (int i = 4; i < argc; ++i) {
            const bool hasValue = i + 1 < argc;
            if (std::strcmp(argv[i], "--bold") == 0)
                options.Bold = true;
            else if (std::strcmp(argv[i], "--italic") == 0)
                options.Italic = true;
            else if (std::strcmp(argv[i], "--colour") == 0 && hasValue)
                options.Colour = ParseColour(argv[++i]);
            else if (std::strcmp(argv[i], "--id") == 0 && hasValue)
                options.ID = uint32_t(ClassLib::StrToInt(argv[++i]));
            else
                return Usage();
        }
        Gfx::TFont font;
        Tools::BuildFont(argv[1], options, font);
        ClassLib::TMemoryStream stream;
        font.SaveToStream(&stream);
        ClassLib::WriteFileAtomically(argv[3], stream.Bytes().data(), stream.Bytes().size());
        std::printf("vrnfont: %s, cells %d x %d, written to %s\n", argv[1], font.CellWidth(),
                    font.CellHeight(), argv[3]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrnfont: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}
