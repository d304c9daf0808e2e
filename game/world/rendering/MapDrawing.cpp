// One rectangle of the map drawn from scratch, and the layers the map window lays
// over the retained image: markers, overlays and a spell's visual.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <vector>

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
    const RECT area = VisibleMapRect(viewX, clip, viewY);
    // A redraw draws its parts one after another; a part never draws another one.
    std::vector<TMapObject*> objects;
    CollectObjectsNear(area, objects);
    const auto drawObjects = [&](bool lower) {
        for (TMapObject* object : objects) {
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
    DrawMarkersOf(objects, target, viewX, clip, viewY);
    drawObjects(false);
}

void TScenario::DrawMarkersOf(const std::vector<TMapObject*>& objects,
                              Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                              int viewY) {
    for (TMapObject* object : objects)
        if (IsShownToCurrentPlayer(*object))
            object->DrawMarker(target, viewX, clip, viewY);
}

void TScenario::DrawObjectMarkers(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                                  int viewY) {
    std::vector<TMapObject*> objects;
    CollectObjectsNear(VisibleMapRect(viewX, clip, viewY), objects);
    DrawMarkersOf(objects, target, viewX, clip, viewY);
}

void TScenario::DrawObjectOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                                   int viewY) {
    std::vector<TMapObject*> objects;
    CollectObjectsNear(VisibleMapRect(viewX, clip, viewY), objects);
    for (TMapObject* object : objects)
        if (IsShownToCurrentPlayer(*object))
            object->DrawOverlays(target, viewX, clip, viewY);
}

void TScenario::DrawSpellEffect(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
                                const RECT& clip) {
    if (SpellEffect)
        SpellEffect->Draw(target, offsetX, offsetY, clip);
}

} // namespace GameData
