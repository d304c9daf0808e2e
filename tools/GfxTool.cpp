#include "tools/GfxTool.h"

#include "platform/classlib/Exception.h"
#include "tools/PngFiles.h"

#include <cstdio>
#include <stdexcept>

namespace Tools {

using ClassLib::Exception;
using ClassLib::Format;

namespace {

constexpr const char* Usage =
    "usage: vrngfx sprite [--id N] [--kind 0-4] [--bits 16|24|32] [--blend ff|fe|N]\n"
    "                     [--submode 0-3] [--hotspot X,Y] [--frames N] [--no-key]\n"
    "                     [--shadow FILE] <out.gfx> <frame.png>...\n"
    "       vrngfx library [--id N] <out.gfxl> <sprite.gfx>...\n";

class EUsage : public Exception {
public:
    using Exception::Exception;
};

int Number(const std::string& text, int low, int high, const char* what) {
    try {
        size_t used = 0;
        const long value = std::stol(text, &used, 0);
        if (used == text.size() && value >= low && value <= high)
            return int(value);
    } catch (const std::logic_error&) {
    }
    throw EUsage(Format("%s must be a number from %d to %d, not '%s'.", what, low, high, text));
}

// Cuts the picture into count pictures side by side.
std::vector<TPicture> Split(const TPicture& picture, int count, const AnsiString& name) {
    if (picture.Width % count != 0)
        throw Exception(
            Format("'%s' is %d pixels wide: not %d frames.", name, picture.Width, count));
    const int width = picture.Width / count;
    std::vector<TPicture> frames;
    for (int i = 0; i < count; ++i) {
        TPicture frame{width, picture.Height, {}};
        for (int y = 0; y < picture.Height; ++y)
            for (int x = 0; x < width; ++x)
                frame.Pixels.push_back(
                    picture.Pixels[size_t(y) * size_t(picture.Width) + size_t(i * width + x)]);
        frames.push_back(std::move(frame));
    }
    return frames;
}

// Reads "--name value" options until the first argument that is not one.
struct TOptions {
    std::vector<std::pair<std::string, std::string>> Named;
    std::vector<std::string> Rest;

    TOptions(const std::vector<std::string>& args, size_t first) {
        size_t i = first;
        for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
            if (args[i] == "--no-key") {
                Named.emplace_back(args[i], "");
                continue;
            }
            if (i + 1 >= args.size())
                throw EUsage(Format("%s needs a value.", args[i]));
            Named.emplace_back(args[i], args[i + 1]);
            ++i;
        }
        Rest.assign(args.begin() + ptrdiff_t(i), args.end());
    }
};

void MakeSprite(const std::vector<std::string>& args) {
    const TOptions parsed(args, 1);
    TSpriteOptions options;
    int frameCount = 1;
    std::string shadowFile;
    for (const auto& [name, value] : parsed.Named) {
        if (name == "--id")
            options.ID = uint32_t(std::stoul(value, nullptr, 0));
        else if (name == "--kind")
            options.Kind = Number(value, 0, 4, "--kind");
        else if (name == "--bits")
            options.Bits = Number(value, 16, 32, "--bits");
        else if (name == "--blend")
            options.BlendMode = value == "ff"   ? 0xFF
                                : value == "fe" ? 0xFE
                                                : Number(value, 1, 253, "--blend");
        else if (name == "--submode")
            options.SubMode = Number(value, 0, 3, "--submode");
        else if (name == "--hotspot") {
            const size_t comma = value.find(',');
            if (comma == std::string::npos)
                throw EUsage("--hotspot needs X,Y.");
            options.HotSpotX = Number(value.substr(0, comma), -32768, 32767, "--hotspot X");
            options.HotSpotY = Number(value.substr(comma + 1), -32768, 32767, "--hotspot Y");
        } else if (name == "--frames")
            frameCount = Number(value, 1, 1024, "--frames");
        else if (name == "--no-key")
            options.Keyed = false;
        else if (name == "--shadow")
            shadowFile = value;
        else
            throw EUsage(Format("Unknown option %s.", name));
    }
    if (parsed.Rest.size() < 2)
        throw EUsage("vrngfx sprite needs an output file and at least one picture.");
    std::vector<TPicture> frames;
    for (size_t i = 1; i < parsed.Rest.size(); ++i)
        for (TPicture& frame : Split(LoadPng(parsed.Rest[i]), frameCount, parsed.Rest[i]))
            frames.push_back(std::move(frame));
    if (!shadowFile.empty())
        options.Shadows = Split(LoadPng(shadowFile), int(frames.size()), shadowFile);
    SaveLooseFile(parsed.Rest[0], EncodeSprite(frames, options));
}

void MakeLibrary(const std::vector<std::string>& args) {
    const TOptions parsed(args, 1);
    uint32_t id = 0;
    for (const auto& [name, value] : parsed.Named) {
        if (name != "--id")
            throw EUsage(Format("Unknown option %s.", name));
        id = uint32_t(std::stoul(value, nullptr, 0));
    }
    if (parsed.Rest.empty())
        throw EUsage("vrngfx library needs an output file.");
    std::vector<TBytes> sprites;
    for (size_t i = 1; i < parsed.Rest.size(); ++i)
        sprites.push_back(LoadLooseFile(parsed.Rest[i]));
    SaveLooseFile(parsed.Rest[0], EncodeSpriteLibrary(id, sprites));
}

} // namespace

int RunGfxTool(const std::vector<std::string>& args) {
    try {
        if (!args.empty() && args[0] == "sprite")
            MakeSprite(args);
        else if (!args.empty() && args[0] == "library")
            MakeLibrary(args);
        else
            throw EUsage("");
        return 0;
    } catch (const EUsage& e) {
        std::fprintf(stderr, "vrngfx: %s\n%s", e.Message.c_str(), Usage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrngfx: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}

} // namespace Tools
