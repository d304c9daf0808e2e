// The book of the creatures a player has met in the scenario: one page per unit type
// with its picture, name, description and attributes at level 1 with their growth,
// sorted into animals and creatures, humans and undead, each keeping its own page.
#pragma once

#include "engine/graphics/GfxColorText.h"
#include "ui/game/Hotkeys.h"
#include "ui/widgets/VRNWindow.h"

#include <vector>

namespace Data2 {
struct TUnitPrototype;
}
namespace DXWin {
class TDXButton;
}
namespace GameData {
class TPlayer;
}
namespace Gfx {
class TSprite;
}

namespace Main {

class TCreaturePediaWindow : public TVRNWindow {
public:
    struct TCategory {
        std::vector<const Data2::TUnitPrototype*> Prototypes;
        int Index = 0; // the page shown last
        int Count() const { return int(Prototypes.size()); }
    };

    // The creatures that player has met; no player gives an empty book.
    TCreaturePediaWindow(DXWin::TDXWindowSystem* windowSystem, const GameData::TPlayer* player,
                         const THotkeyTable& keys);
    ~TCreaturePediaWindow() override;

    void ShowPage(TCategory& category, int index);
    void UpdateButtons();
    void UpdateHint();

    void Tick() override;
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;

    TCategory Animals, Humans, Undead;
    const TCategory* Current() const { return FCurrent; }
    const Data2::TUnitPrototype* Shown() const;
    const Gfx::TColorText& Description() const { return FDescription; }
    const ClassLib::AnsiString& DescriptionRest() const { return FDescriptionRest; }
    DXWin::TDXButton* CloseButton;
    DXWin::TDXButton* NextButton;
    DXWin::TDXButton* PreviousButton;
    DXWin::TDXButton* AnimalsButton;
    DXWin::TDXButton* HumansButton;
    DXWin::TDXButton* UndeadButton;

    static constexpr Win32::RECT DescriptionRect{420, 65, 730, 475};

private:
    void BuildCategories(const GameData::TPlayer* player);
    void ReleasePicture();
    void CloseBook();
    void PreviousPage();
    void NextPage();
    void FirstPage();
    void LastPage();
    void ChooseCategory(TCategory& category, const DXWin::TDXButton* button);
    void KeyPressed(Win32::WPARAM& key, DXWin::TShiftState shift);
    void DrawAttributes(Win32::IDirectDrawSurface7* target, int x0, int y0) const;

    const THotkeyTable& FKeys;
    Gfx::TSprite* FPicture = nullptr;
    Gfx::TFont* FFont = nullptr;
    TCategory* FCurrent = nullptr;
    Gfx::TColorText FDescription;
    ClassLib::AnsiString FDescriptionRest;
};

} // namespace Main
