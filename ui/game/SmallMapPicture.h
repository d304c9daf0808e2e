// The mini-map's picture: the scenario's terrain thumbnail with a player's fog image
// over it, both stretched to the map area. It is made again only when the fog image,
// the player or the area changes, so most frames only blit it.
#pragma once

#include "platform/display/DirectDrawSurface.h"

#include <cstdint>
#include <vector>

namespace Gfx {
class TSprite;
}
namespace GameData {
class TFog;
}

namespace Main {

class TSmallMapPicture {
public:
    // Brings the picture of thumbnail under fog, width x height pixels, up to date.
    // Null without a display.
    Win32::IDirectDrawSurface7* Update(Gfx::TSprite& thumbnail, const GameData::TFog& fog,
                                       int width, int height);
    // The surface goes; the next Update makes everything again.
    void Release();
    // How many times the picture has been made: the fog's marks and states show only
    // once it is made again.
    int Compositions() const { return FCompositions; }

    // The thumbnail's colours (0x00RRGGBB) sampled to width x height.
    static std::vector<uint32_t> SampleThumbnail(Gfx::TSprite& thumbnail, int width, int height);
    // Terrain (width x height, 0x00RRGGBB) under the fog image (its ARGB pixels over
    // fogWidth x fogHeight cells) stretched bilinearly over it.
    static void BlendFog(const std::vector<uint32_t>& terrain, int width, int height,
                         const uint8_t* fogPixels, int fogWidth, int fogHeight,
                         std::vector<uint32_t>& out);

private:
    bool MakeSurface(int width, int height);
    bool Store(const std::vector<uint32_t>& pixels);

    const Gfx::TSprite* FThumbnail = nullptr;
    const GameData::TFog* FFog = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    std::vector<uint32_t> FTerrain;
    std::vector<uint8_t> FFogPixels; // the fog image the picture shows
    std::vector<uint32_t> FComposed;
    Win32::TRefPtr<Win32::IDirectDrawSurface7> FSurface;
    int FCompositions = 0;
};

} // namespace Main
