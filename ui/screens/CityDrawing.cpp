// The town window's drawing: the backdrop, the caption, the merchant's frame, the
// portrait cells and the unit being dragged; the sprites it holds while a town is open.
#include "ui/screens/CityWindow.h"

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/display/DDrawTypes.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/game/UnitDrawing.h"
#include "ui/screens/CityArt.h"
#include "ui/screens/FaceControl.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

using namespace GameData;

namespace {

constexpr int CaptionCentreX = 400, BannerY = 15, CaptionY = 19;
constexpr int MerchantFrameX = 18, MerchantFrameY = 15;
constexpr int MerchantPictureX = 27, MerchantPictureY = 24;
constexpr int CaptionFont = 0;
// Light letters on the dark cloth of the banner.
constexpr uint32_t CaptionColour = 0xF4E6C0;
constexpr int NameFont = 2;
// Portrait frames: neutral, lit, and one per player index from the first.
constexpr int gsNeutralFrame = 1059;
constexpr int gsLitFrame = 1060;
constexpr int gsFirstOwnerFrame = 1136;
constexpr int OwnerFrameCount = 5;

void DrawAt(Gfx::TSprite* sprite, Win32::IDirectDrawSurface7* target, int x, int y,
            const Win32::RECT& clip) {
    if (sprite && sprite->DrawableFrameCount() > 0)
        Gfx::DrawSprite(sprite, target, 0, x, y, &clip);
}

bool Inside(const Win32::RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

void TCityWindow::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (!FCity) {
        TVRNWindow::Draw(target, bounds);
        return;
    }
    const TMapWindow* map = FGame.MapWindow();
    if (Win32::IDirectDrawSurface7* picture = map ? map->RenderSurface() : nullptr) {
        Win32::RECT whole{0, 0, 800, 600};
        Win32::RECT onScreen{bounds.left, bounds.top, bounds.left + 800, bounds.top + 600};
        target->Blt(&onScreen, picture, &whole, Win32::DDBLT_WAIT, nullptr);
    }
    if (Gfx::TSprite* banner = CommonSprite(csCaptionBanner))
        DrawAt(banner, target, bounds.left + CaptionCentreX - banner->Width / 2,
               bounds.top + BannerY, bounds);
    const TMerchant* merchant = OpenMerchant != omNone ? Building(OpenMerchant) : nullptr;
    if (Gfx::TFont* font = InterfaceFont(CaptionFont)) {
        const ClassLib::AnsiString caption =
            ClassLib::UpperCase(merchant ? merchant->Text1 : FCity->Caption);
        font->DrawString(target, bounds.left + CaptionCentreX - font->TextWidth(caption) / 2,
                         bounds.top + CaptionY, &bounds, Gfx::PackColor16(CaptionColour), caption);
    }
    if (merchant) {
        DrawAt(CommonSprite(csMerchantFrame), target, bounds.left + MerchantFrameX,
               bounds.top + MerchantFrameY, bounds);
        DrawAt(MerchantPicture, target, bounds.left + MerchantPictureX,
               bounds.top + MerchantPictureY, bounds);
    }
    if (const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr) {
        GoldDisplay->SetText(ClassLib::IntToStr(player->Gold));
        GoldDisplay->CenterTextHorizontally();
    }

    TVRNWindow::Draw(target, bounds);

    if (Dragging && PressedUnit) {
        const int left = bounds.left + MouseX - GrabX, top = bounds.top + MouseY - GrabY;
        const Win32::RECT rect{left, top,
                               left + TFaceControl::PortraitRight - TFaceControl::PortraitLeft,
                               top + TFaceControl::PortraitBottom - TFaceControl::PortraitTop};
        DrawUnitFace(CellFrame(cpnGateGroup, *PressedUnit), nullptr, PressedUnit,
                     InterfaceFont(NameFont), {}, ufPortrait | ufAvailable, rect, target);
    }
}

Gfx::TSprite* TCityWindow::CellFrame(int panel, const TUnit& unit) const {
    const TPlayer* player = FCity ? FCity->GetUnitPlayer(unit) : nullptr;
    // Another player's defenders look alike: the town's, not whose they are.
    if (panel == cpnDefenders && !(LocalPlayer() && OwnsTown()))
        player = nullptr;
    const int index = player && FScenario ? FScenario->IndexOfPlayer(player) : -1;
    return CommonSprite(index >= 0 && index < OwnerFrameCount ? gsFirstOwnerFrame + index
                                                              : gsNeutralFrame);
}

void TCityWindow::DrawCell(int panel, int row, int column, const Win32::RECT& rect,
                           Win32::IDirectDrawSurface7* target) {
    const TUnit* unit = UnitAt(panel, row, column);
    const TFaceControl* control = PanelControl(panel);
    const bool hovered = control && control->Hovered() && Inside(rect, MouseX, MouseY);
    if (!unit) {
        DrawAt(CommonSprite(csPortraitCell), target, rect.left, rect.top, rect);
        // An empty place lights up as a drop target.
        if (Dragging && hovered)
            DrawAt(CommonSprite(gsLitFrame), target, rect.left, rect.top, rect);
        return;
    }
    const bool selected = panel == cpnGateGroup && unit == SelectedUnit;
    uint32_t flags = ufPortrait;
    if (!(Dragging && unit == PressedUnit))
        flags |= ufAvailable;
    if (hovered || selected)
        flags |= ufOverlay;
    DrawUnitFace(CellFrame(panel, *unit), CommonSprite(gsLitFrame), unit, InterfaceFont(NameFont),
                 {}, flags, rect, target);
}

namespace {

Gfx::TSprite* TryAcquire(Gfx::TSpriteList& library, uint32_t id) {
    return id != 0 ? library.TryAcquireSprite(id) : nullptr;
}

} // namespace

void TCityWindow::AcquireSprites() {
    ReleaseSprites();
    if (!FCity || !FScenario)
        return;
    Gfx::TSpriteList& library = FScenario->SpriteLibrary;
    TownPicture = TryAcquire(library, FCity->LeadingValues[0]);
    for (int i = 0; i < CityBuildingCount; ++i)
        if (const TMerchant* merchant = Building(i); merchant && merchant->Enabled)
            ButtonPictures[size_t(i)] = TryAcquire(library, merchant->Value1);
}

void TCityWindow::ReleaseSprites() {
    // After the game has let its scenario go, the library went with the sprites.
    if (FScenario && FGame.Scenario.get() == FScenario) {
        Gfx::TSpriteList& library = FScenario->SpriteLibrary;
        library.ReleaseSpriteByPointer(TownPicture);
        library.ReleaseSpriteByPointer(BuildingPicture);
        library.ReleaseSpriteByPointer(MerchantPicture);
        for (Gfx::TSprite* picture : ButtonPictures)
            library.ReleaseSpriteByPointer(picture);
    }
    TownPicture = BuildingPicture = MerchantPicture = nullptr;
    ButtonPictures = {};
}

} // namespace Main
