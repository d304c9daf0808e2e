// The data gamewidgets-test draws with: its pictures made into sprites in the slots
// the widget set reads, the two interface fonts from DejaVu, and a main data set with
// the tooltip background written to a temporary folder and loaded as the game loads it.
#pragma once

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/Sprite.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace GameWidgetsData {

// Sprites the test screen's own controls use.
struct TControlSprites {
    Gfx::TSprite* GemNormal;
    Gfx::TSprite* GemHover; // animated
    Gfx::TSprite* GemPressed;
    Gfx::TSprite* GemDisabled;
    std::array<Gfx::TSprite*, 13> VerticalBar;
    std::array<Gfx::TSprite*, 13> HorizontalBar;
    Gfx::TSprite* Plank;
    Gfx::TSprite* Shield;
    std::array<Gfx::TSprite*, 6> CheckBox;
};

// Menu fonts in the ink of each state: normal, hover, pressed, disabled.
constexpr std::array<uint32_t, 4> MenuInks{0x3A2410, 0x8A1A08, 0xC04020, 0x5E5850};
constexpr uint32_t LightInk = 0xE8D8A8;

// Installs the global and main data while it lives; needs the display.
class TInstalledArt {
public:
    TInstalledArt();
    ~TInstalledArt();
    TInstalledArt(const TInstalledArt&) = delete;
    TInstalledArt& operator=(const TInstalledArt&) = delete;

    const TControlSprites& Controls() const { return FControls; }
    Gfx::TFont* MenuFont(int state) const { return FMenuFonts[size_t(state)].get(); }
    // For text on the dark desk.
    Gfx::TFont* LightFont() const { return FLightFont.get(); }

private:
    Gfx::TSprite* Keep(std::unique_ptr<Gfx::TSprite> sprite);
    void WriteMainData();

    std::vector<std::unique_ptr<Gfx::TSprite>> FSprites;
    std::unique_ptr<Gfx::TFont> FFirstFont;
    std::unique_ptr<Gfx::TFont> FSecondFont;
    std::array<std::unique_ptr<Gfx::TFont>, 4> FMenuFonts;
    std::unique_ptr<Gfx::TFont> FLightFont;
    TControlSprites FControls{};
    std::string FFolder;
    std::string FOldDataPath;
};

} // namespace GameWidgetsData
