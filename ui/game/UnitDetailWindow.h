// The full statistics sheet of one unit, shown modally over the whole screen: its
// picture, name, statistics compared with its own record, active spells and skills.
// Escape or any left or right click closes it. One sheet is made with the game and
// reused for every unit.
#pragma once

#include "game/world/units/UnitStats.h"
#include "platform/classlib/AnsiString.h"
#include "ui/widgets/VRNWindow.h"

#include <cstdint>
#include <vector>

namespace Gfx {
class TSprite;
}
namespace GameData {
class TUnit;
}

namespace Main {

// What a row of the statistics column shows.
enum class TSheetRowKind : uint8_t { Level, Experience, Statistic, Morale };

struct TSheetRow {
    const char* Label;
    TSheetRowKind Kind;
    GameData::TUnitStat Stat; // for Statistic rows
    bool Indented;
    int Offset; // pixels below the column's top
};

class TUnitDetailWindow : public TVRNWindow {
public:
    static constexpr int SheetWidth = 540;
    static constexpr int SheetHeight = 560;
    static constexpr int RowHeight = 16;
    static constexpr uint32_t Black = 0x000000, Red = 0xC00000, Blue = 0x0000C0;

    TUnitDetailWindow(DXWin::TDXWindowSystem* windowSystem, uint32_t options);
    ~TUnitDetailWindow() override;

    // Holds the unit's detail picture until CloseSheet or the next unit.
    void SetUnit(GameData::TUnit* unit);
    GameData::TUnit* Unit() const { return FUnit; }
    // Lets the picture go, modal result 1, closes.
    void CloseSheet();

    void Tick() override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    // Top-left corner of the sheet; set before showing.
    int SheetX = 0;
    int SheetY = 0;

    // Black when equal to the own number, red when lower, blue when higher; a higher
    // value of 0 stays black where zeroStaysBlack.
    static uint32_t CompareColour(int effective, int own, bool zeroStaysBlack);
    // The statistics column for the unit: regeneration rows only where its own record
    // regenerates, the rows below moving up.
    static std::vector<TSheetRow> StatisticRows(const GameData::TUnit& unit);
    // value/maximum[ + DELTA/EVERY] of a statistic in interface font 3 from x; the x
    // after the text.
    static int DrawStatValue(Win32::IDirectDrawSurface7* target, const GameData::TUnit& unit, int y,
                             int x, GameData::TUnitStat stat);

private:
    void DrawStatistics(Win32::IDirectDrawSurface7* target, int x, int y) const;
    void DrawActiveSpells(Win32::IDirectDrawSurface7* target, int x, int y) const;
    void DrawSkills(Win32::IDirectDrawSurface7* target, int x, int y) const;
    // The tooltip text for the screen point: a spell icon's or skill line's name and
    // description, empty elsewhere.
    ClassLib::AnsiString TooltipAt(int x, int y) const;

    GameData::TUnit* FUnit = nullptr;
    Gfx::TSprite* FBackground = nullptr;
};

} // namespace Main
