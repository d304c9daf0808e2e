// One rectangle of the map drawn from scratch, and the layers the map window lays
// over the retained image: markers, overlays and a spell's visual.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

namespace {

constexpr int CellSize = 40;
constexpr int16_t LowerLayerLimit = 9; // scenery beneath the selection markers

// A city's map image is its animated pass.
void DrawOnMap(TMapObject& object, Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
               int viewY) {
    if (object.Kind == okCity)
        static_cast<TCity&>(object).DrawSecondPass(target, viewX, clip, viewY);
    else
        object.Draw(target, viewX, clip, viewY);
}

// Blended sprites draw through the device, so it renders into target meanwhile.
class TRenderTargetScope {
public:
    explicit TRenderTargetScope(Win32::IDirectDrawSurface7* target) {
        if (!D3DFrame::D3DFramework || !D3DFrame::D3DFramework->Device() ||
            target == D3DFrame::D3DFramework->BackBuffer())
            return;
        FDevice = D3DFrame::D3DFramework->Device();
        FDevice->SetRenderTarget(target, 0);
    }
    ~TRenderTargetScope() {
        if (FDevice)
            FDevice->SetRenderTarget(D3DFrame::D3DFramework->BackBuffer(), 0);
    }
    TRenderTargetScope(const TRenderTargetScope&) = delete;
    TRenderTargetScope& operator=(const TRenderTargetScope&) = delete;

private:
    Win32::IDirect3DDevice7* FDevice = nullptr;
};

} // namespace

bool TScenario::IsShownToCurrentPlayer(const TMapObject& object) const {
    return !CurrentPlayer || CurrentPlayer->IsObjectShown(object);
}

void TScenario::DrawArea(Win32::IDirectDrawSurface7* target, int viewX, int32_t options,
                         const RECT& clip, int viewY) {
    const TRenderTargetScope renderTarget(target);
    if (options & roBackground)
        Background.DrawTiles(target, viewX, clip, viewY);
    if (!(options & roObjects))
        return;
    const RECT area{viewX, viewY, viewX + (clip.right - clip.left),
                    viewY + (clip.bottom - clip.top)};
    const auto drawObjects = [&](bool lower) {
        for (int i = 0; i < Objects.Count(); ++i) {
            TMapObject* object = Objects[i];
            if (CurrentPlayer && (object->Layer <= LowerLayerLimit) != lower)
                continue;
            // A city's decorations may reach beyond its cells.
            if ((object->Kind == okCity || object->IntersectsRect(area)) &&
                IsShownToCurrentPlayer(*object))
                DrawOnMap(*object, target, viewX, clip, viewY);
        }
    };
    if (CurrentPlayer)
        drawObjects(true);
    DrawObjectMarkers(target, viewX, clip, viewY);
    drawObjects(false);
}

void TScenario::DrawObjectMarkers(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                                  int viewY) {
    for (int i = 0; i < Objects.Count(); ++i)
        if (IsShownToCurrentPlayer(*Objects[i]))
            Objects[i]->DrawMarker(target, viewX, clip, viewY);
}

void TScenario::DrawObjectOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                                   int viewY) {
    for (int i = 0; i < Objects.Count(); ++i)
        if (IsShownToCurrentPlayer(*Objects[i]))
            Objects[i]->DrawOverlays(target, viewX, clip, viewY);
}

void TScenario::DrawSpellEffect(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
                                const RECT& clip) {
    if (SpellEffect)
        SpellEffect->Draw(target, offsetX, offsetY, clip);
}

} // namespace GameData
