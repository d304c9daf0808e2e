#include "tools/GameWidgetsData.h"

#include "engine/core/Archive.h"
#include "engine/graphics/GfxPixels.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "platform/classlib/Streams.h"
#include "tools/ArchiveWriter.h"
#include "tools/FontBuilder.h"
#include "tools/GameWidgetsArt.h"
#include "tools/TextDataFile.h"
#include "ui/widgets/WidgetArt.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace GameWidgetsData {

namespace {

using namespace GameWidgetsArt;
using Tools::TPicture;

constexpr const char* SerifFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

std::unique_ptr<Gfx::TSprite> LoadSprite(const Tools::TBytes& record) {
    ClassLib::TMemoryStream stream(record);
    auto sprite = std::make_unique<Gfx::TSprite>(Gfx::sfConvert);
    sprite->LoadFromStream(&stream);
    sprite->PrepareSurfaces(false);
    return sprite;
}

Tools::TBytes Encode(const std::vector<TPicture>& frames, uint32_t id = 0, int hotX = 0,
                     int hotY = 0, int blendMode = 0) {
    Tools::TSpriteOptions options;
    options.BlendMode = blendMode;
    options.ID = id;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    return Tools::EncodeSprite(frames, options);
}

std::unique_ptr<Gfx::TFont> MakeFont(const char* file, int size, uint32_t ink = 0) {
    auto font = std::make_unique<Gfx::TFont>();
    Tools::TFontBuildOptions options;
    options.PixelSize = size;
    options.Colour = ink;
    Tools::BuildFont(file, options, *font);
    font->ConvertToDisplayFormat(16, Gfx::IsDisplayRGB565);
    return font;
}

// The 13 sprites of a scroll bar, vertical or horizontal.
constexpr uint32_t Face = 0xC8A878;
constexpr uint32_t HoverFace = 0xE8D098;
constexpr uint32_t PressedFace = 0x9A7A50;
constexpr uint32_t DisabledFace = 0x8A8478;

} // namespace

Gfx::TSprite* TInstalledArt::Keep(std::unique_ptr<Gfx::TSprite> sprite) {
    return FSprites.emplace_back(std::move(sprite)).get();
}

TInstalledArt::TInstalledArt(const std::string& dataFolder) {
    if (dataFolder.empty()) {
        FOwnData = true;
        WriteMainData();
        MakeWidgetArt();
    } else {
        OpenData(dataFolder + "/");
    }
    MakeControlArt();
}

void TInstalledArt::OpenData(const std::string& folder) {
    FOldDataPath = Data::DataPath;
    Data::DataPath = folder;
    Data2::OpenDataArchives();
    Data2::CreateMainData();
    Data2::CreateGlobalData();
    Data2::GlobalData->PrepareSurfaces();
}

void TInstalledArt::MakeWidgetArt() {
    using Data2::GlobalData;
    GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    auto& common = GlobalData->CommonSprites;
    common[Main::cgVertParchment] = Keep(LoadSprite(Encode({Parchment(210, 330)})));
    common[Main::cgVertRoller] = Keep(LoadSprite(Encode(Roller(236, 22, true, 4))));
    // The horizontal scrolls' pictures and the book's, each ID its slot + 1.
    const std::vector<Tools::TBytes> pictures{
        Encode({Parchment(600, 130)}, Main::pgHorizParchment + 1),
        Encode(Roller(22, 150, false, 4), Main::pgHorizRoller + 1),
        Encode(Book(360, 260), Main::pgBook + 1)};
    for (const int slot : {Main::pgHorizParchment, Main::pgHorizRoller, Main::pgBook})
        GlobalData->PictureIDs[slot] = slot + 1;
    GlobalData->PictureLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(1, pictures)));
    FFirstFont = MakeFont(Tools::DefaultFontFile, 12);
    FSecondFont = MakeFont(SerifFontFile, 14);
    GlobalData->UIFonts[0] = FFirstFont.get();
    GlobalData->UIFonts[1] = FSecondFont.get();
}

void TInstalledArt::MakeControlArt() {
    for (size_t i = 0; i < FMenuFonts.size(); ++i)
        FMenuFonts[i] = MakeFont(SerifFontFile, 15, MenuInks[i]);
    FLightFont = MakeFont(SerifFontFile, 14, LightInk);

    constexpr uint32_t Gem = 0x2E9A3E;
    std::vector<TPicture> glow;
    for (const double g : {0.3, 0.6, 0.9, 0.6})
        glow.push_back(GemButton(44, Gem, g, 0, false));
    FControls.GemNormal = Keep(LoadSprite(Encode({GemButton(44, Gem, 0, 0, false)})));
    FControls.GemHover = Keep(LoadSprite(Encode(glow)));
    FControls.GemPressed = Keep(LoadSprite(Encode({GemButton(44, Gem, 0.1, 2, false)})));
    FControls.GemDisabled = Keep(LoadSprite(Encode({GemButton(44, Gem, 0, 0, true)})));

    for (const bool vertical : {true, false}) {
        auto& bar = vertical ? FControls.VerticalBar : FControls.HorizontalBar;
        const int up = vertical ? 0 : 2, down = vertical ? 1 : 3;
        size_t slot = 0;
        for (const int direction : {up, down})
            for (const uint32_t face : {Face, HoverFace, PressedFace, DisabledFace})
                bar[slot++] = Keep(LoadSprite(Encode({Arrow(16, direction, face)})));
        for (const uint32_t face : {Face, HoverFace, PressedFace})
            bar[slot++] =
                Keep(LoadSprite(Encode({vertical ? Thumb(16, 24, face) : Thumb(24, 16, face)})));
        bar[slot++] = nullptr; // spare
        bar[slot] = Keep(LoadSprite(Encode({vertical ? Track(16, 400) : Track(400, 16)})));
    }
    FControls.Plank = Keep(LoadSprite(Encode({Plank(150, 30)})));
    FControls.Shield = Keep(LoadSprite(Encode({Shield(20)}, 0, 10, 10)));
    size_t box = 0;
    for (const bool checked : {true, false})
        for (const uint32_t face : {0xF0E4C8u, 0xFFF4D8u, 0xC8B898u})
            FControls.CheckBox[box++] = Keep(LoadSprite(Encode({CheckBox(18, checked, face)})));
}

TInstalledArt::~TInstalledArt() {
    using Data2::GlobalData;
    if (GlobalData && FOwnData) {
        // The fonts are this object's, not the font descriptions'.
        for (Gfx::TFont*& font : GlobalData->UIFonts)
            font = nullptr;
    }
    Data2::FreeGlobalData();
    Data2::FreeMainData();
    Data2::CloseDataArchives();
    Data::DataPath = FOldDataPath;
    if (FOwnData) {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
}

void TInstalledArt::WriteMainData() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vrn-gamewidgets-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FFolder = pattern + "/";
    for (const char* archive : {"globals", "graphics", "scenario", "sounds"})
        std::filesystem::create_directories(FFolder + archive);
    const auto text = [](const std::string& s) { return Tools::TextDataFile(s); };
    Tools::SaveLooseFile(FFolder + "globals/default.txt",
                         text("interface.txt interface.gfxl videos.txt\n"));
    // Only the pointer cursor and the tooltip background among the interface sprites.
    std::string ids;
    for (int slot = 0; slot < Data2::MainSpriteCount; ++slot)
        ids += slot == Main::msTooltipBackground ? "21 "
               : slot == Data2::msPointerCursor  ? "1 "
                                                 : "0 ";
    Tools::SaveLooseFile(FFolder + "globals/interface.txt", text(ids + "\n"));
    Tools::SaveLooseFile(FFolder + "globals/videos.txt", text("- - - - - - - - -\n"));
    // Blended, so that the main data gives it the surfaces a stretched draw needs.
    Tools::SaveLooseFile(
        FFolder + "graphics/interface.gfxl",
        Tools::EncodeSpriteLibrary(1, {Encode({PointerCursor()}, 1, 1, 1),
                                       Encode({TooltipBackground()}, 21, 0, 0, 0xFF)}));
    FOldDataPath = Data::DataPath;
    Data::DataPath = FFolder;
    Data2::OpenDataArchives();
    Data2::CreateMainData();
}

} // namespace GameWidgetsData
