// Where the widget set finds its sprites, fonts and sounds in the global and main
// data. Every look-up gives null (or plays nothing) while that data does not exist.
#pragma once

namespace Gfx {
class TFont;
class TSprite;
} // namespace Gfx

namespace Main {

// Slots of Data2::TGlobalData::CommonSprites.
constexpr int cgVertParchment = 1084;
constexpr int cgVertRoller = 1085;
// Slots of Data2::TGlobalData::PictureIDs.
constexpr int pgHorizParchment = 26;
constexpr int pgHorizRoller = 27;
constexpr int pgBook = 28;
constexpr int pgScenarioBookBackground = 29;
constexpr int pgScenarioBookBottomRoll = 30;
constexpr int pgScenarioBookTopRoll = 31;
// Slots of Data2::TMainData::Sprites.
constexpr int msNormalCursor = 1;
constexpr int msTooltipBackground = 21;
constexpr int msPageTurnCursor = 25;

// Entries of Data2::TGlobalData::InterfaceSounds.
enum class TWidgetSound { Click = 0, WindowOpen = 3, WindowClose = 4 };

// Null for a slot the global data does not have.
Gfx::TSprite* CommonSprite(int slot);

// A picture of the global data's picture library, loaded on first use and held for as
// long as this lives. Slot -1 holds nothing.
class TPictureHold {
public:
    explicit TPictureHold(int slot);
    ~TPictureHold();
    TPictureHold(const TPictureHold&) = delete;
    TPictureHold& operator=(const TPictureHold&) = delete;

    Gfx::TSprite* Get() const { return FSprite; }

private:
    Gfx::TSprite* FSprite = nullptr;
};

// A sprite of the main data; null while there is none.
Gfx::TSprite* MainDataSprite(int slot);
Gfx::TSprite* TooltipBackground();
// An interface font by its index in the global data's UI fonts.
Gfx::TFont* InterfaceFont(int index);
// At the interface effect volume.
void PlayWidgetSound(TWidgetSound sound);

} // namespace Main
